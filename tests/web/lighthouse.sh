#!/usr/bin/env bash
# Serves a website folder on 127.0.0.1 and runs Lighthouse (mobile) in Debian's chromium, headless,
# on its index.html and on a letter page (LETTER_PAGE, else the first); prints the four scores of each.
# Ends with 1 when accessibility, best practices or SEO is below 100; performance is measured, not judged.
#   tests/web/lighthouse.sh SITE_FOLDER [LETTER_PAGE]
# Needs chromium and tests/web/node_modules (scripts/install-deps.sh --tests); without them it says
# so and ends with 77, which CTest reports as skipped. The reports are left in SITE_FOLDER/../lighthouse.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 SITE_FOLDER [LETTER_PAGE]" >&2
    exit 2
fi
site="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
lighthouse="$here/node_modules/.bin/lighthouse"
chromium=/usr/bin/chromium
if [ ! -x "$chromium" ] || [ ! -x "$lighthouse" ] || ! command -v node >/dev/null; then
    echo "lighthouse: SKIP: chromium, node or $lighthouse is missing; run scripts/install-deps.sh --tests" >&2
    exit 77
fi
letterPage="${2:-}"
for page in "$site"/*.html; do
    if [ -z "$letterPage" ] && [ "$(basename "$page")" != index.html ]; then
        letterPage="$(basename "$page")"
        break
    fi
done
if [ ! -f "$site/index.html" ] || [ -z "$letterPage" ] || [ ! -f "$site/$letterPage" ]; then
    echo "lighthouse: FAIL: $site holds no index.html and letter page" >&2
    exit 1
fi
reports="$(dirname "$site")/lighthouse"
mkdir -p "$reports"

work="$(mktemp -d "${TMPDIR:-/tmp}/stambrix-lighthouse.XXXXXX")"
server=""
# shellcheck disable=SC2317 # called by the trap
cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf -- "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

python3 "$here/../browser/serve.py" "$site" "$work/port" "$work/requests.log" &
server=$!
for _ in $(seq 100); do
    [ -s "$work/port" ] && break
    sleep 0.1
done
port="$(cat "$work/port")"

failed=0
for page in index.html "$letterPage"; do
    report="$reports/${page%.html}.json"
    CHROME_PATH="$chromium" "$lighthouse" "http://127.0.0.1:$port/$page" --quiet \
        --only-categories=performance,accessibility,best-practices,seo \
        --chrome-flags="--headless=new --no-sandbox --disable-gpu --disable-background-networking --disable-component-update --disable-sync" \
        --output=json --output-path="$report"
    node - "$report" "$page" <<'SCORES' || failed=1
const [report, page] = process.argv.slice(2);
const result = JSON.parse(require("fs").readFileSync(report, "utf8"));
const scoreOf = (id) => Math.round(result.categories[id].score * 100);
const judged = ["accessibility", "best-practices", "seo"];
const line = ["performance", ...judged].map((id) => `${id} ${scoreOf(id)}`).join(", ");
console.log(`lighthouse: ${page}: ${line}`);
let low = false;
for (const id of judged) {
    if (scoreOf(id) >= 100)
        continue;
    low = true;
    for (const ref of result.categories[id].auditRefs) {
        const audit = result.audits[ref.id];
        if (ref.weight > 0 && audit.score !== null && audit.score < 1)
            console.log(`lighthouse: ${page}: ${id}: ${audit.id}: ${audit.title}`);
    }
}
process.exit(low ? 1 : 0);
SCORES
done
exit $failed
