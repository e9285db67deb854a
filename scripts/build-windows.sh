#!/usr/bin/env bash
# Builds Stambrix for 64-bit Windows on this Debian machine, with nothing but Debian's packages:
# installs what it needs (scripts/install-deps.sh --windows: mingw-w64, NSIS, wine and the source
# packages' entry), cross-builds ICU once into build/windows-deps (reused when present), then builds
# with the CMake preset windows into build/windows: bin/stambrix-cli.exe, statically linked, and the
# unit tests of the core's layers below the output files, which it runs under wine (ctest --preset
# windows) in the wine prefix build/windows/wine, where the Linux build's tests run the Windows program
# too.
#   scripts/build-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --windows
deps=build/windows-deps
echo "== ICU voor Windows (eenmalig, in $deps)"
scripts/build-windows-icu.sh "$deps"

echo "== Stambrix voor Windows"
cmake --preset windows
# The tests run under wine already while they are built, to list their cases.
if [ ! -f build/windows/wine/system.reg ]; then
    echo "== wine-omgeving in build/windows/wine"
    WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all wineboot -i >/dev/null 2>&1
fi
cmake --build --preset windows
echo "== Tests van de kern onder wine"
# One wine server for all the tests: one that stops between two tests drops the next test's connection.
# Its services start with the first program and stay with it: started here, they hold no test's
# output open, which ctest would wait for.
export WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all
wineserver -p
trap 'wineserver -k || true' EXIT
wine cmd /c exit >/dev/null 2>&1 </dev/null
ctest --preset windows
echo "Klaar: build/windows/bin/stambrix-cli.exe"
