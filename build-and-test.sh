#!/usr/bin/env bash
# Builds everything and runs every test (the window's tests on Qt's offscreen platform).
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-packages.sh test
strict=OFF
[ -n "${CI:-}" ] && strict=ON
cmake -S . -B build -DLCD_WARNINGS_AS_ERRORS="$strict" >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
