#!/usr/bin/env bash
# Builds the bitmap import fuzzer with clang (AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer)
# in the build directory given as $1 (default build-fuzz, relative to where this is run), runs it for
# about 60 seconds from a seed corpus, and prints how many inputs it ran. Exits non-zero on any fault.
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build_dir="${1:-build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"

cmake -S "$source_dir" -B "$build_dir" \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLCD_BUILD_FUZZERS=ON \
    -DLCD_SANITIZE=ON \
    -DLCD_BUILD_PANEL=OFF \
    -DLCD_BUILD_BENCHMARKS=OFF \
    -DLCD_WARNINGS_AS_ERRORS=ON
cmake --build "$build_dir" --target bitmap_import_fuzzer -j2

# Seeds: a bitmap written by ImageMagick (kept with the tests) and an all-black one made here, both the
# full 1086 bytes with the 62-byte header, so the fuzzer starts from files the import is meant for.
corpus="$build_dir/fuzz/bitmap_import_corpus"
artifacts="$build_dir/fuzz/artifacts/"
mkdir -p "$corpus" "$artifacts"
cp "$source_dir/tests/drawing/fixtures/corner-marks.bmp" "$corpus/seed-corner-marks.bmp"
python3 - "$corpus/seed-all-black.bmp" <<'PY'
import struct, sys
header = b"BM" + struct.pack("<IHHI", 1086, 0, 0, 62)
header += struct.pack("<IiiHHIIiiII", 40, 128, 64, 1, 1, 0, 1024, 2835, 2835, 2, 2)
header += bytes([0, 0, 0, 0, 255, 255, 255, 0])
with open(sys.argv[1], "wb") as out:
    out.write(header + bytes(1024))
PY

log="$build_dir/fuzz/bitmap_import.log"
QT_QPA_PLATFORM=offscreen "$build_dir/tests/fuzz/bitmap_import_fuzzer" \
    -max_total_time="$seconds" -max_len=1200 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" >"$log" 2>&1 || {
    status=$?
    tail -n 60 "$log"
    echo "bitmap_import_fuzzer: FAULT (exit $status); the input is in $artifacts"
    exit "$status"
}
runs="$(awk '/stat::number_of_executed_units:/ {print $2}' "$log")"
tail -n 12 "$log"
echo "bitmap_import_fuzzer: ${runs:-?} inputs run without a fault in ${seconds} s"
