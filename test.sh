#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest: the Windows build of
# stambrix-cli (scripts/build-windows.sh), which the Release build's tests run under wine and compare
# with this one, then the Release build, then the
# static checks of .clang-tidy over the core and the front ends, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the Debian package of the release build with
# packaging/check-package.sh. Last, the fuzz targets replay their seeds and fuzz for FUZZ_SECONDS in
# all (180 by default).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh --tests

# Formatting is part of the build's checks.
git ls-files -- '*.cpp' '*.h' | xargs -r clang-format --dry-run -Werror

scripts/build-windows.sh

# The comparison with the Windows build runs under one wine server, kept for as long as the tests run:
# one that stops between two tests drops the next test's connection.
# Its services start with the first program: started here, they hold no test's output open.
export WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all
wineserver -p
trap 'wineserver -k || true' EXIT
wine cmd /c exit >/dev/null 2>&1 </dev/null
cmake --workflow --preset dev

# The checks of .clang-tidy over the core and the front ends, with the dev build's compile commands
# (which may hold GCC's own warning options, unknown to clang-tidy); the files are a regular expression
# over their paths there: this checkout's, escaped, and the folders.
root=$(pwd -P | sed 's/[^[:alnum:]/]/\\&/g')
run-clang-tidy -quiet -p build/dev -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option \
    "^$root/(text|progress|names|charsets|gedcom|index|scan|output|run|cli|app)/[^/]*\.cpp\$"

cmake --workflow --preset asan

# The Debian package of the release build: its files, its dependencies and lintian's verdict.
cmake --preset release
cmake --build --preset release
(cd build/release && rm -f stambrix_*.deb && cpack -G DEB)
packaging/check-package.sh build/release/stambrix_*.deb

bash fuzz/run-fuzz.sh
