#!/usr/bin/env bash
# Builds Lotgrid and runs every test, then builds and runs them all again under
# AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails the run.
# Installs the Debian packages it needs when they are missing.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

jobs="$(nproc)"
# Line tables only (-g1): sanitizer reports and debuggers still name the lines, and the
# two builds fit the time a test run may take on two cores.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== The same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
    -DLOTGRID_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 LOTGRID_RANDOM_SESSIONS=100 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" --exclude-regex '^(source_format|install_layout|debian_package|windows_chart)$'
