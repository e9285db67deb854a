#!/usr/bin/env bash
# The website at a million persons: the time and peak memory of the name index as text and as a
# website, the size of the search data, then the search in headless Chromium (bench/web_search.mjs):
# the time from the last keystroke to the hits for one letter, a common given name and a family name
# with a given name, and the bytes the first keystroke loads.
#   bench/web-search.sh
#   PERSONS=200000 STAMBRIX_CLI=build/dev/bin/stambrix-cli STAMBRIX_SHARED=/path/to/shared bench/web-search.sh [QUERY ...]
# The generated file and the site are written to a temporary folder, removed at the end.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo"
source bench/shared-folder.sh

cli="${STAMBRIX_CLI:-build/dev/bin/stambrix-cli}"
persons="${PERSONS:-1000000}"
if [ ! -x "$cli" ]; then
    echo "web-search: $cli not found (build with cmake --build --preset dev, or set STAMBRIX_CLI)" >&2
    exit 1
fi
if [ ! -d tests/web/node_modules/puppeteer-core ]; then
    echo "web-search: puppeteer-core is missing in tests/web (scripts/install-deps.sh --tests)" >&2
    exit 1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/stambrix-web-search.XXXXXX")"
trap 'rm -rf -- "$work"' EXIT
"$shared/tools/gedcom-gen" --persons "$persons" --seed 7 -o "$work/bench.ged"

echo "stambrix-cli, $persons persons, $(nproc) cores:"
/usr/bin/time -f "  tekst:   %e s, %M KB" "$cli" --quiet "$work/bench.ged"
/usr/bin/time -f "  website: %e s, %M KB" "$cli" --quiet --uitvoer web "$work/bench.ged"
web="$work/Stambrix/web"
echo "  search data: $(cat "$web"/zoek*.js | wc -c) bytes in $(ls "$web"/zoek*.js | wc -l) files," \
    "the largest $(ls -S "$web"/zoek*.js | head -1 | xargs wc -c | cut -d' ' -f1) bytes"
node bench/web_search.mjs "$web" "$@"
