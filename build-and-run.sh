#!/usr/bin/env bash
# Builds the panel and starts it. With no port open it drives the virtual display only.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-packages.sh run
cmake -S . -B build >/dev/null
cmake --build build --target lcd-test -j"$(nproc)"
exec build/panel/lcd-test "$@"
