#!/usr/bin/env bash
# Starts the real program on a virtual X display and waits for its window; fails when none appears.
# With a file name as $1 it also saves a screenshot of the screen there.
set -euo pipefail
cd "$(dirname "$0")/.."
program="$PWD/build/panel/lcd-test"
shot="${1:-}"
[ -n "$shot" ] && shot="$(realpath -m "$shot")"
xvfb-run -a -s "-screen 0 960x720x24" bash -c '
    program="$1"; shot="$2"
    start=$(date +%s%N)
    "$program" & pid=$!
    for _ in $(seq 1 200); do
        if xwininfo -root -tree 2>/dev/null | grep -q "LCD Test for KS0108 / HD61202"; then
            echo "window shown after $(( ($(date +%s%N) - start) / 1000000 )) ms"
            if [ -n "$shot" ]; then sleep 1; import -window root "$shot"; fi
            kill "$pid"; wait "$pid" 2>/dev/null || true
            exit 0
        fi
        kill -0 "$pid" 2>/dev/null || { echo "the program ended before showing its window" >&2; exit 1; }
        sleep 0.05
    done
    echo "no window within 10 s" >&2; kill "$pid"; exit 1' check "$program" "$shot"
