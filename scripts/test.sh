#!/usr/bin/env bash
# Builds and runs every test: the unit tests and the corpus natively, the same again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows DLLs end to end under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
scripts/install_deps.sh all

echo "== native"
cmake --preset native > /dev/null
cmake --build --preset native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFUNCPLUG_SANITIZE=ON > /dev/null
cmake --build build/sanitize -j"$jobs"
# The host and the tests handle SIGFPE and SIGSEGV themselves: they are the faults under test.
ASAN_OPTIONS=handle_sigfpe=0:handle_segv=0:handle_sigbus=0:detect_leaks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

echo "== Windows DLLs under Wine"
NATIVE_HOST=$PWD/build/native/funcplug scripts/test_windows.sh
