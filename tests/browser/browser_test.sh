#!/usr/bin/env bash
# Writes the HTML index of a GEDCOM file in both layouts and checks each in a real browser.
#   tests/browser/browser_test.sh STAMBRIX_CLI FILE.ged SCREENSHOT_FOLDER
# The file is copied into a temporary folder first, so its own "Stambrix" folder is left alone.
# The screenshots are saved as index-framed.png and index-single.png in SCREENSHOT_FOLDER.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 STAMBRIX_CLI FILE.ged SCREENSHOT_FOLDER" >&2
    exit 2
fi
cli="$1"
gedcom="$2"
shots="$3"
here="$(cd "$(dirname "$0")" && pwd)"
started=$SECONDS

work="$(mktemp -d "${TMPDIR:-/tmp}/stambrix-browser-test.XXXXXX")"
trap 'rm -rf -- "$work"' EXIT
trap 'exit 130' INT TERM
# A fixed date makes the pages, and so the screenshots, the same on every run.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-1733616000}"

failed=0
for layout in framed single; do
    mkdir "$work/$layout"
    cp "$gedcom" "$work/$layout/"
    copy="$work/$layout/$(basename "$gedcom")"
    options=(--quiet --uitvoer html)
    [ "$layout" = framed ] && options+=(--in-frame)
    status=0
    "$cli" "${options[@]}" "$copy" || status=$?
    if [ $status -ne 0 ]; then
        echo "browser_test: FAIL ($layout): stambrix-cli ${options[*]} ended with status $status" >&2
        failed=1
        continue
    fi
    bash "$here/check_pages.sh" --screenshot "$shots/index-$layout.png" "$work/$layout/Stambrix" "$layout" ||
        failed=1
done
echo "browser_test: both layouts took $((SECONDS - started)) s"
exit $failed
