#!/usr/bin/env bash
# Builds Stambrix for 64-bit Windows on this Debian machine, with nothing but Debian's packages:
# installs what it needs (scripts/install-deps.sh --windows: mingw-w64, NSIS, wine and the source
# packages' entry), cross-builds ICU once into build/windows-deps (reused when present), then builds
# with the CMake preset windows into build/windows: bin/stambrix-cli.exe, statically linked. Last it
# makes the wine prefix build/windows/wine, in which the tests run the Windows programs.
#   scripts/build-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --windows
deps=build/windows-deps
echo "== ICU voor Windows (eenmalig, in $deps)"
scripts/build-windows-icu.sh "$deps"

echo "== Stambrix voor Windows"
cmake --preset windows
cmake --build --preset windows

if [ ! -f build/windows/wine/system.reg ]; then
    echo "== wine-omgeving in build/windows/wine"
    WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all wineboot -i >/dev/null 2>&1
fi
echo "Klaar: build/windows/bin/stambrix-cli.exe"
