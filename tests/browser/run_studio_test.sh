#!/usr/bin/env bash
# The studio's browser test: installs playwright-core into the build tree (once), then drives
# the system's Chromium, headless, against `plurion studio`.
# Usage: run_studio_test.sh PLURION SOURCE_DIR WORK_DIR [SCREENSHOT]
set -euo pipefail
plurion=$1
source_dir=$2
work=$3
screenshot=${4:-$work/studio.png}

node_dir="$work/node"
if [[ ! -f "$node_dir/node_modules/playwright-core/package.json" ]]; then
    mkdir -p "$node_dir"
    cp "$source_dir/tests/browser/package.json" "$node_dir/"
    npm install --prefix "$node_dir" --no-audit --no-fund --loglevel=error \
        --cache "$work/npm-cache" >/dev/null
fi
browser=$(command -v chromium || true)
if [[ -z "$browser" ]]; then
    echo "chromium is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi
NODE_PATH="$node_dir/node_modules" exec node "$source_dir/tests/browser/studio_test.js" \
    "$plurion" "$source_dir" "$work" "$browser" "$screenshot"
