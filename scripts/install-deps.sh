#!/usr/bin/env bash
# Installs the Debian packages that building and testing Plurion need, skipping those present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libopenimageio-dev openimageio-tools libpng-dev libgif-dev nlohmann-json3-dev libcli11-dev
    libgtest-dev libbenchmark-dev libpixman-1-dev
    clang libclang-rt-dev
    libcpp-httplib-dev zlib1g-dev chromium
    python3 python3-jsonschema
    fonts-dejavu-core
)
# The studio's browser test runs playwright-core under Node.js; a Node.js installed apart from
# Debian's (with its own npm) is used as it is.
if ! command -v npm >/dev/null; then
    packages+=(nodejs npm)
fi
if [[ "${1:-}" == "--with-windows" ]]; then
    packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
