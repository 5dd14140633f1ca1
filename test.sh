#!/usr/bin/env bash
# Builds Lotgrid with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test on that build, where any report fails the run. Installs the Debian
# packages it needs when they are missing.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

jobs="$(nproc)"
# The compiler cache, shared by every clone: paths under this folder are taken
# relative to it, so a clone in another folder finds what this one compiled.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
# The tests' precompiled Qt headers are cached only when ccache may trust their
# definitions and time stamps.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
# Ninja for a new build folder; one made before keeps its generator.
generator=()
[ -f build-asan/CMakeCache.txt ] || generator=(-GNinja)
# Optimised a little (-O1) with line tables only (-g1): the reports name the lines,
# and the build fits the time a test run may take on two cores. Warnings are errors.
cmake -S . -B build-asan "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DLOTGRID_SANITIZE=ON -DLOTGRID_WERROR=ON \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build build-asan -j"$jobs"
# Many tests wait on timers rather than on the processor, so four run at once
# even on two cores. The randomized test plays sessions for a minute here.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 LOTGRID_RANDOM_SECONDS=60 \
    ctest --test-dir build-asan --output-on-failure -j4
