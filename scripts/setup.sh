#!/usr/bin/env bash
# The main job on a fresh Debian machine: installs what is missing, builds the native plug-in and
# its command-line host and the two Windows DLLs, and asks the plug-in for 2 to the power 10.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_deps.sh all
cmake --preset native > /dev/null && cmake --build --preset native -j"$(nproc)"
cmake --preset win32 > /dev/null && cmake --build --preset win32 -j"$(nproc)"
cmake --preset win64 > /dev/null && cmake --build --preset win64 -j"$(nproc)"
echo "built: build/native/libfuncplug.so build/native/funcplug build/win32/funcplug.dll build/win64/funcplug64.dll"
echo -n "funcplug call getPower '2|10' -> "
build/native/funcplug call getPower '2|10'
