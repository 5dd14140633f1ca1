#!/usr/bin/env bash
# Builds Lotgrid and starts it. Installs the Debian packages it needs when they are missing.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target lotgrid -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: Lotgrid is a desktop program. Run it under a virtual display with: xvfb-run -a ./run.sh" >&2
    exit 1
fi
exec ./build/src/lotgrid "$@"
