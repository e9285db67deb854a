#!/usr/bin/env bash
# Checks a Debian package of Stambrix: it holds exactly the expected files, with the prefix list a
# configuration file and nothing but programs in /usr/bin, opens .ged files under the one MIME type that
# shared-mime-info gives them, depends on the packages the programs load at run time, and lintian finds
# no error, warning or information in it.
#   packaging/check-package.sh build/release/stambrix_1.00_amd64.deb
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "Gebruik: $0 PAKKET.deb" >&2
    exit 2
fi
package=$1
fail() {
    echo "check-package.sh: $package $*" >&2
    exit 1
}

expected="/etc/stambrix/Voorzetsels.txt
/usr/bin/stambrix
/usr/bin/stambrix-cli
/usr/share/applications/stambrix.desktop
/usr/share/doc/stambrix/changelog.gz
/usr/share/doc/stambrix/copyright
/usr/share/icons/hicolor/scalable/apps/stambrix.svg
/usr/share/lintian/overrides/stambrix
/usr/share/man/man1/stambrix-cli.1.gz
/usr/share/man/man1/stambrix.1.gz
/usr/share/mime/packages/stambrix-gedcom.xml"

# Files only (folders come with them), without the leading ".".
actual=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    echo "check-package.sh: $package heeft andere bestanden dan verwacht:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
fi

conffiles=$(dpkg-deb --info "$package" conffiles 2>/dev/null || true)
[ "$conffiles" = "/etc/stambrix/Voorzetsels.txt" ] ||
    fail "heeft niet /etc/stambrix/Voorzetsels.txt als enig configuratiebestand (conffiles: $conffiles)"

# The desktop entry and the package's MIME file name one type, the one shared-mime-info defines for GEDCOM,
# so a file manager finds a single type for a .ged file; an alias is never a type of its own there.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
desktop_types=$(sed -n 's/^MimeType=//p' "$unpacked/usr/share/applications/stambrix.desktop")
mime_file="$unpacked/usr/share/mime/packages/stambrix-gedcom.xml"
defined_types=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1;/p' "$mime_file" | tr -d '\n')
type=${desktop_types%;}
if [ -z "$type" ] || [ "$type" != "${defined_types%;}" ] || [[ $type == *";"* ]]; then
    fail "noemt niet één en hetzelfde MIME-type in de snelkoppeling (MimeType=$desktop_types) en in stambrix-gedcom.xml ($defined_types)"
fi
for pattern in '*.ged' '*.gedcom'; do
    grep -qF "<glob pattern=\"$pattern\"/>" "$mime_file" || fail "geeft $pattern niet het MIME-type $type"
done
shared_types=/usr/share/mime/packages/freedesktop.org.xml
if [ -f "$shared_types" ]; then
    grep -qF "<mime-type type=\"$type\">" "$shared_types" || fail "gebruikt het MIME-type $type, dat shared-mime-info niet kent"
    while read -r alias; do
        if grep -qF "<mime-type type=\"$alias\">" "$shared_types"; then
            fail "maakt $alias, een eigen MIME-type van shared-mime-info, tot alias van $type"
        fi
    done < <(sed -n 's/.*<alias type="\([^"]*\)".*/\1/p' "$mime_file")
fi

depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6widgets6 libicu qt6-qpa-plugins libqt6svg6 fonts-liberation fonts-comic-neue \
    qt6-translations-l10n libc-l10n; do
    case ", $depends" in
        *", $needed"*) ;;
        *) fail "hangt niet af van $needed (Depends: $depends)" ;;
    esac
done

lintian --fail-on error,warning,info --tag-display-limit 0 "$package"
echo "check-package.sh: $package in orde"
