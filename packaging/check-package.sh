#!/usr/bin/env bash
# Checks a Debian package of Stambrix: it holds exactly the expected files, depends on the packages the
# programs load at run time, and lintian finds no error in it.
#   packaging/check-package.sh build/release/stambrix_0.1.0_amd64.deb
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "Gebruik: $0 PAKKET.deb" >&2
    exit 2
fi
package=$1

expected="/usr/bin/Voorzetsels.txt
/usr/bin/stambrix
/usr/bin/stambrix-cli
/usr/share/applications/stambrix.desktop
/usr/share/doc/stambrix/changelog.gz
/usr/share/doc/stambrix/copyright
/usr/share/icons/hicolor/scalable/apps/stambrix.svg
/usr/share/mime/packages/stambrix-gedcom.xml"

# Files only (folders come with them), without the leading ".".
actual=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    echo "check-package.sh: $package heeft andere bestanden dan verwacht:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
fi

depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6widgets6 libicu qt6-qpa-plugins fonts-liberation fonts-comic-neue qt6-translations-l10n libc-l10n; do
    case ", $depends" in
        *", $needed"*) ;;
        *)
            echo "check-package.sh: $package hangt niet af van $needed (Depends: $depends)" >&2
            exit 1
            ;;
    esac
done

lintian --fail-on error --tag-display-limit 0 "$package"
echo "check-package.sh: $package in orde"
