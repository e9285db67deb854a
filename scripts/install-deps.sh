#!/usr/bin/env bash
# Installs the Debian packages Stambrix needs, only those missing.
#   scripts/install-deps.sh            what building and running the programs takes (Qt 6 for the desktop one)
#   scripts/install-deps.sh --tests    also what the tests and the benchmarks take: chromium opens the
#                                      HTML index in the browser test; clang and its sanitizer and
#                                      libFuzzer runtimes build the fuzz target; clang-tidy checks the code
# fonts-liberation has the metrics of Arial: the pages' stylesheet asks for Arial, and the windows are
# laid out for fonts of that width.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libicu-dev libcli11-dev qt6-base-dev fonts-liberation
)
if [ "${1:-}" = "--tests" ]; then
    packages+=(
        libgtest-dev libgmock-dev libbenchmark-dev
        clang-format clang-tidy python3 time
        chromium
        clang libclang-rt-14-dev
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
else
    sudo=
fi
echo "Installeren: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
