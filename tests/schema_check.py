#!/usr/bin/env python3
"""Checks `plurion schema` with an independent validator: every example scene passes, and scenes
the loader refuses (an unknown key, a value out of range, a choice that does not exist, keys on
a parameter that cannot vary over time, an edit of two parameters) fail.

Usage: schema_check.py PLURION SCENE...
"""
import json
import subprocess
import sys

import jsonschema

plurion, scenes = sys.argv[1], sys.argv[2:]
schema = json.loads(subprocess.run([plurion, "schema"], check=True, capture_output=True).stdout)
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)

failures = []
for path in scenes:
    with open(path) as file:
        errors = list(validator.iter_errors(json.load(file)))
    if errors:
        failures.append(f"{path}: {errors[0].message}")

base = {"composition": {"width": 64, "height": 48, "fps": 24, "frames": 4, "bpc": 8}}
refused = {
    "unknown effect key": {"effect": {"Linear Mode/Cuont": 3}},
    "count above its range": {"effect": {"Linear Mode/Count": 20000}},
    "unknown choice": {"effect": {"Clone Type": "Spiral"}},
    "keys on a fixed popup": {"effect": {"Clone Type": {"keys": [[0, "Linear"]]}}},
    "point of three numbers": {"effect": {"Radial Mode/Transform/Local/Position": [1, 2, 3]}},
    "bpc 12": {"composition": dict(base["composition"], bpc=12)},
    "colour above 1": {"composition": dict(base["composition"], background=[2, 0, 0, 1])},
    "unknown source kind": {"layers": [{"name": "A", "source": {"kind": "spiral"}}]},
    "unknown top-level key": {"camera": {}},
    "unknown ease": {"effect": {"Linear Mode/Count": {"keys": [
        {"frame": 0, "value": 3, "ease": "bounce"}]}}},
    "edit of two parameters": {"edits": [{"Clone Type": "Grid", "Linear Mode/Count": 3}]},
    "edit with keys": {"edits": [{"Linear Mode/Count": {"keys": [[0, 3]]}}]},
    "edit of an unknown parameter": {"edits": [{"Clone Typ": "Grid"}]},
}
for name, change in refused.items():
    scene = dict(base, **change)
    if validator.is_valid(scene):
        failures.append(f"accepted a scene with an {name}" if name[0] in "aeiou" else
                        f"accepted a scene with a {name}")
accepted = dict(base, effect={"Clone Type": 2, "Linear Mode/Count": {"keys": [[0, 3], [3, 9]]},
                              "Layers/Selection/Layer 1": None,
                              "Linear Mode/Transform/Local/Scale": {"keys": [
                                  {"frame": 0, "value": 10, "ease": "ease"}, [4, 20]]},
                              "Radial Mode/Offset/Offset Position": [10, 0]},
                edits=[{"Clone Type": "Grid"}, {"Grid Mode/Offset/Clone Offset Mode": "Step"}])
if not validator.is_valid(accepted):
    failures.append("refused a valid scene: " + next(validator.iter_errors(accepted)).message)

print(f"{len(scenes)} example scenes checked against the schema")
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
