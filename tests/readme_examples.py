#!/usr/bin/env python3
"""Runs the README's examples as a reader would: every command of its fenced `sh` blocks that
calls build/plurion, with the build's plurion, in a scratch folder holding a copy of scenes/,
and the example scene of "Scene files" saved in scenes/ and rendered. Commands that build,
install or run other scripts are listed below with the reason they are left out; any other
command is an error, so that a new example is either run here or given a reason.

Usage: readme_examples.py PLURION REPOSITORY SCRATCH
"""
import json
import os
import re
import shlex
import shutil
import subprocess
import sys

# Commands left out, by how they begin, and why.
SKIPPED = {
    "scripts/demo.sh": "installs packages and builds the project",
    "scripts/test.sh": "runs this test among all the others",
    "scripts/install-deps.sh": "installs Debian packages",
    "scripts/windows-check.sh": "the test windows_module runs it",
    "cmake ": "configures or builds the project, which this test runs inside of",
    "ctest ": "runs the tests, this one among them",
}


def blocks(text, language):
    """The fenced blocks of a language, each as (line number, lines)."""
    found, fence, current, start = [], None, [], 0
    for number, line in enumerate(text.splitlines(), 1):
        stripped = line.strip()
        if not stripped.startswith("```"):
            if fence is not None:
                current.append(line)
            continue
        if fence is None:
            fence, current, start = stripped[3:].strip(), [], number
        else:
            if fence == language:
                found.append((start, current))
            fence = None
    return found


def commands(lines):
    """Whole commands: continued lines joined, comments after a command removed."""
    joined, pending = [], ""
    for line in lines:
        line = re.sub(r"\s+#\s.*$", "", line.strip())
        if line.endswith("\\"):
            pending += line[:-1].strip() + " "
            continue
        line = (pending + line).strip()
        pending = ""
        if line and not line.startswith("#"):
            joined.append(line)
    return joined


def run(command, plurion, folder):
    shell = command.replace("build/plurion", shlex.quote(plurion), 1)
    result = subprocess.run(shell, shell=True, cwd=folder, capture_output=True, text=True,
                            timeout=600)
    return result.returncode, result.stdout + result.stderr


def main():
    plurion, repository, scratch = (os.path.abspath(a) for a in sys.argv[1:4])
    with open(os.path.join(repository, "README.md"), encoding="utf-8") as readme:
        text = readme.read()
    shutil.rmtree(scratch, ignore_errors=True)
    shutil.copytree(os.path.join(repository, "scenes"), os.path.join(scratch, "scenes"))
    os.makedirs(os.path.join(scratch, "docs"))
    failures, ran = [], 0
    for start, lines in blocks(text, "sh"):
        for command in commands(lines):
            if command.startswith("build/plurion "):
                status, output = run(command, plurion, scratch)
                ran += 1
                print(f"README.md:{start}: {command}: exit {status}")
                if status != 0:
                    failures.append(f"README.md:{start}: {command}: exit {status}\n{output}")
                continue
            reason = next((why for begin, why in SKIPPED.items() if command.startswith(begin)),
                          None)
            if reason is None:
                failures.append(f"README.md:{start}: {command}: neither run nor skipped")
            else:
                print(f"README.md:{start}: {command}: not run: {reason}")

    # The example scene: the first JSON block of "Scene files", a whole document.
    section = text[text.index("\n## Scene files"):]
    start, lines = blocks(section, "json")[0]
    scene = os.path.join(scratch, "scenes", "readme_scene.json")
    with open(scene, "w", encoding="utf-8") as out:
        out.write("\n".join(lines))
    json.loads("\n".join(lines))  # a whole document, not a fragment
    command = "build/plurion render scenes/readme_scene.json --frames 0,47 " \
              "-o out/readme_scene_#.png --quiet"
    status, output = run(command, plurion, scratch)
    ran += 1
    print(f"scene-format example: {command}: exit {status}")
    if status != 0:
        failures.append(f"the example of \"Scene files\": exit {status}\n{output}")

    for failure in failures:
        print("FAILED: " + failure)
    print(f"{ran} examples run, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
