#!/usr/bin/env bash
# Installs what is missing, builds Plurion and its host, and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target Plurion plurion
build/plurion info
build/plurion params
