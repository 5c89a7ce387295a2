#!/usr/bin/env bash
# Installs the Debian packages a build needs when any is missing: as root with apt-get, otherwise by
# printing the line to run. Usage: ensure-packages.sh run|test
set -euo pipefail

run_packages=(cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
              qt6-base-dev qt6-qpa-plugins libgl-dev fonts-liberation)
test_packages=("${run_packages[@]}" python3 clang libclang-rt-14-dev clang-format xvfb xauth x11-utils
               imagemagick gtkwave)

case "${1:-}" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${test_packages[@]}") ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Some packages this build needs are missing. Install them with:" >&2
    echo "    sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
