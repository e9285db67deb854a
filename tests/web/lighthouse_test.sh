#!/usr/bin/env bash
# Writes the website of a GEDCOM file and runs tests/web/lighthouse.sh on it.
#   tests/web/lighthouse_test.sh STAMBRIX_CLI FILE.ged WORK_FOLDER
# The file is copied into WORK_FOLDER (emptied first), so its own "Stambrix" folder is left alone;
# the Lighthouse reports stay in WORK_FOLDER/Stambrix/lighthouse.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 STAMBRIX_CLI FILE.ged WORK_FOLDER" >&2
    exit 2
fi
cli="$1"
gedcom="$2"
work="$3"
here="$(cd "$(dirname "$0")" && pwd)"
rm -rf -- "$work"
mkdir -p "$work"
cp "$gedcom" "$work/"
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-1733616000}"
"$cli" --quiet --uitvoer web "$work/$(basename "$gedcom")"
exec bash "$here/lighthouse.sh" "$work/Stambrix/web"
