#!/usr/bin/env bash
# Installs what is missing, builds Plurion and its host, and renders the built-in demo scene
# into out/ (out/demo_linear_0000.png to out/demo_path_0023.png), and the composition window's
# view of the grid part with the effect's overlay (out/demo_grid_view.png).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target Plurion plurion
build/plurion render "$@"
build/plurion view
