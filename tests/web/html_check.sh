#!/usr/bin/env bash
# Writes the website of some trees with stambrix-cli and checks every page with the Nu HTML Checker:
# no error is allowed. The trees: the example tree, a small windows-1252 tree whose names hold markup,
# characters without a letter and no family name, and royal92.ged when the corpus folder has it
# (STAMBRIX_CORPUS when set, else CORPUS_FOLDER).
#   tests/web/html_check.sh STAMBRIX_CLI SOURCE_FOLDER CORPUS_FOLDER
# Each tree is copied into a temporary folder first, so its own "Stambrix" folder is left alone.
# Without java or the checker (scripts/install-deps.sh --tests installs both) it says so and ends
# with 77, which CTest reports as skipped.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 STAMBRIX_CLI SOURCE_FOLDER CORPUS_FOLDER" >&2
    exit 2
fi
cli="$1"
source="$2"
corpus="${STAMBRIX_CORPUS:-$3}"
vnu="$source/tests/web/node_modules/vnu-jar/build/dist/vnu.jar"
if ! command -v java >/dev/null || [ ! -f "$vnu" ]; then
    echo "html_check: SKIP: java or $vnu is missing; run scripts/install-deps.sh --tests" >&2
    exit 77
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/stambrix-html-check.XXXXXX")"
trap 'rm -rf -- "$work"' EXIT
trap 'exit 130' INT TERM

trees=("$source/examples/voorbeeld.ged" "$source/tests/data/html/odd_initials.ged")
if [ -f "$corpus/royal92.ged" ]; then
    trees+=("$corpus/royal92.ged")
else
    echo "html_check: royal92.ged is not in the corpus folder \"$corpus\"; checked without it"
fi

pages=()
for tree in "${trees[@]}"; do
    name="$(basename "$tree" .ged)"
    mkdir "$work/$name"
    cp "$tree" "$work/$name/"
    status=0
    "$cli" --quiet --uitvoer web "$work/$name/$(basename "$tree")" || status=$?
    if [ $status -ne 0 ]; then
        echo "html_check: FAIL: stambrix-cli --uitvoer web $name ended with status $status" >&2
        exit 1
    fi
    pages+=("$work/$name/Stambrix/web/"*.html)
done

# One run of the checker for every page: starting java costs more than checking.
if ! java -jar "$vnu" --errors-only "${pages[@]}"; then
    echo "html_check: FAIL: the Nu HTML Checker found errors in the pages above" >&2
    exit 1
fi
echo "html_check: ${#pages[@]} pages of ${#trees[@]} trees without errors"
