#!/usr/bin/env bash
# Installs the Debian packages Stambrix needs, only those missing.
#   scripts/install-deps.sh            what building and running the programs takes (Qt 6 for the desktop one)
#   scripts/install-deps.sh --tests    also what the tests and the benchmarks take: chromium opens the
#                                      HTML index in the browser test; clang and its sanitizer and
#                                      libFuzzer runtimes build the fuzz target; clang-tidy checks the code;
#                                      dpkg-dev and lintian build and check the Debian package; the
#                                      checks of the website need java (default-jre-headless) and node
#                                      with npm (nodejs npm), each installed only when its command is
#                                      missing, and the npm packages of tests/web (npm ci, when
#                                      node_modules is missing or older than package-lock.json)
#   scripts/install-deps.sh --windows  what the Windows build takes (scripts/build-windows.sh): mingw-w64
#                                      with the posix thread model, NSIS, wine (Debian's wine64), and
#                                      dpkg-dev with an entry for Debian's source packages, from which
#                                      ICU is built
# fonts-liberation has the metrics of Arial: the pages' stylesheet asks for Arial, and the windows are
# laid out for fonts of that width; fonts-comic-neue stands in for Comic Sans MS in the information
# window. qt6-translations-l10n holds Qt's own Dutch texts (file dialog, buttons), libc-l10n the
# system's reasons for a failure in the user's language, libqt6svg6 Qt's SVG plugins, which draw the
# program's icon (an SVG) on its windows. The tests also need the Dutch locale nl_NL.UTF-8 (locales),
# which is made when it is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libicu-dev libcli11-dev qt6-base-dev fonts-liberation fonts-comic-neue
    qt6-translations-l10n libc-l10n libqt6svg6
)
if [ "${1:-}" = "--tests" ]; then
    packages+=(
        libgtest-dev libgmock-dev libbenchmark-dev
        clang-format clang-tidy python3 time
        chromium
        clang libclang-rt-14-dev
        locales dpkg-dev lintian
    )
    # Another java or node (with its own npm) may be installed already; Debian's is not put over it.
    command -v java >/dev/null || packages+=(default-jre-headless)
    command -v node >/dev/null || packages+=(nodejs)
    command -v npm >/dev/null || packages+=(npm)
fi

if [ "${1:-}" = "--windows" ]; then
    packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools nsis wine wine64 dpkg-dev)
fi

if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
else
    sudo=
fi
install_web_checks() {
    local web
    web="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/web"
    if [ "${1:-}" = "--tests" ] && { [ ! -d "$web/node_modules" ] || [ "$web/package-lock.json" -nt "$web/node_modules" ]; }; then
        echo "npm ci in $web"
        (cd "$web" && npm ci --ignore-scripts --no-audit --no-fund)
    fi
}
make_dutch_locale() {
    if [ "${1:-}" = "--tests" ] && ! locale -a 2>/dev/null | grep -qix 'nl_NL\.utf-\?8'; then
        echo "Locale maken: nl_NL.UTF-8"
        $sudo localedef -i nl_NL -c -f UTF-8 nl_NL.UTF-8
    fi
}

# apt-get source needs an entry for the source packages of the release this machine runs.
add_source_packages() {
    if [ "${1:-}" != "--windows" ] || grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return
    fi
    # shellcheck source=/dev/null
    . /etc/os-release
    echo "Bronpakketten van Debian $VERSION_CODENAME toevoegen aan apt"
    $sudo tee /etc/apt/sources.list.d/stambrix-debian-src.sources >/dev/null <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    $sudo apt-get update -qq
}

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installeren: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
add_source_packages "${1:-}"
make_dutch_locale "${1:-}"
install_web_checks "${1:-}"
