#!/usr/bin/env bash
# Opens the HTML index in a real browser (Debian's chromium, headless) and checks that its letter
# links work: framed, every link of the alphabet page targets the lower frame and loads its letter
# page there; single page, every letter link lands on its anchor where the letter has entries.
#   tests/browser/check_pages.sh [--screenshot FILE.png [--screenshot-letter L] [--window-size W,H]]
#                                FOLDER framed|single
# FOLDER is the output folder ("Stambrix" beside the GEDCOM file). The pages are served from
# 127.0.0.1 on a free port while a check page, copied into FOLDER under a fresh name and removed
# afterwards, follows the links in an iframe and writes its verdict into its own DOM.
# --screenshot saves the index as a window of 1000x700 (or --window-size) shows it; framed,
# --screenshot-letter L shows it after a click on letter L of the alphabet page (the lower frame
# starts on the page of "a").
# Exit status: 0 passed, 1 failed, 2 wrong call.
# CHROMIUM may name the browser program (default: chromium, else chromium-browser).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
started=$SECONDS

usage() {
    echo "usage: $0 [--screenshot FILE.png [--screenshot-letter L] [--window-size W,H]]" \
        "FOLDER framed|single" >&2
    exit 2
}

screenshot=""
screenshot_letter=""
window_size=1000,700
while [ $# -gt 0 ]; do
    case "$1" in
        --screenshot)
            [ $# -ge 2 ] || usage
            screenshot="$2"
            shift 2
            ;;
        --screenshot-letter)
            [ $# -ge 2 ] || usage
            screenshot_letter="$2"
            shift 2
            ;;
        --window-size)
            if [ $# -lt 2 ] || ! [[ "$2" =~ ^[0-9]+,[0-9]+$ ]]; then usage; fi
            window_size="$2"
            shift 2
            ;;
        -*) usage ;;
        *) break ;;
    esac
done
[ $# -eq 2 ] || usage
folder="$1"
layout="$2"
case "$layout" in framed | single) ;; *) usage ;; esac
if [ -n "$screenshot_letter" ]; then
    if [ "$layout" != framed ] || [ -z "$screenshot" ]; then usage; fi
    [[ "$screenshot_letter" =~ ^[A-Za-z]$ ]] || usage
fi

fail() {
    echo "check_pages: FAIL ($layout): $*" >&2
    exit 1
}

browser="${CHROMIUM:-}"
if [ -z "$browser" ]; then
    browser="$(command -v chromium || command -v chromium-browser || true)"
fi
if [ -z "$browser" ] || ! command -v "$browser" >/dev/null; then
    fail "no chromium found to open the pages with: install Debian's package \"chromium\"" \
        "(scripts/install-deps.sh does), or name the program in CHROMIUM"
fi
command -v python3 >/dev/null || fail "python3 is needed to serve the pages"

[ -d "$folder" ] || fail "folder \"$folder\" does not exist"
folder="$(cd "$folder" && pwd)"
pages=(index.htm genealogie.css)
if [ "$layout" = framed ]; then
    pages+=(alfabet.htm)
    for letter in {a..z}; do pages+=("index$letter.htm"); done
fi
missing=()
for page in "${pages[@]}"; do
    [ -f "$folder/$page" ] || missing+=("$page")
done
if [ ${#missing[@]} -gt 0 ]; then
    fail "not in $folder: ${missing[*]} (the pages refer to these lower-case names)"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/stambrix-browser.XXXXXX")"
server_pid=""
check_page=""
check_script=""
view_page=""
cleanup() {
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -f -- "$check_page" "$check_script" "$view_page"
    rm -rf -- "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# mktemp creates the names, so they cannot replace anything already in the folder.
check_page="$(mktemp --suffix=.html "$folder/.stambrix-check-XXXXXX")"
check_script="$(mktemp --suffix=.js "$folder/.stambrix-check-XXXXXX")"
sed "s|SCRIPT_NAME|$(basename "$check_script")|" "$here/browser_check.html" >"$check_page"
cp "$here/browser_check.js" "$check_script"
view_page="$(mktemp --suffix=.html "$folder/.stambrix-check-XXXXXX")"
cp "$here/screenshot_view.html" "$view_page"

python3 "$here/serve.py" "$folder" "$work/port" "$work/requests.log" 2>"$work/server.log" &
server_pid=$!
for _ in $(seq 100); do
    [ -s "$work/port" ] && break
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
done
[ -s "$work/port" ] || fail "the local web server did not start: $(cat "$work/server.log")"
base="http://127.0.0.1:$(cat "$work/port")"

# Runs chromium headless with a fresh profile of the given name and the extra arguments.
run_browser() {
    local profile="$1"
    shift
    timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-background-networking \
        --no-first-run --disable-component-update --disable-sync --disable-quic \
        --user-data-dir="$work/$profile" "$@" 2>>"$work/chromium.log"
}

status=0
run_browser profile-check --window-size=1000,700 --virtual-time-budget=10000 --dump-dom \
    "$base/$(basename "$check_page")?layout=$layout" >"$work/dom.html" || status=$?
if [ $status -ne 0 ]; then
    grep -v 'dbus' "$work/chromium.log" | tail -n 20 >&2
    fail "chromium ended with status $status while checking the pages"
fi

# The verdict of the check page, then the requests the server saw: a page or the stylesheet that
# did not answer 200 fails the check (the script and background image are referred to but not
# written, so their absence is only noted).
verdict="$(python3 - "$work/dom.html" "$work/requests.log" "$layout" <<'PYTHON'
import html, re, sys
dom_path, log_path, layout = sys.argv[1:]
dom = open(dom_path, encoding="utf-8", errors="replace").read()
match = re.search(r'<pre id="verdict">(.*?)</pre>', dom, re.S)
lines = html.unescape(match.group(1)).split("\n") if match else [
    "FAIL", "problem: the check page wrote no verdict (did it run out of time?)"]
try:
    requests = [line.split(" ", 1) for line in open(log_path, encoding="utf-8").read().splitlines()]
except FileNotFoundError:
    requests = []
answered = {}
for status, path in requests:
    name = path.split("?")[0].split("#")[0].lstrip("/")
    answered.setdefault(name, set()).add(status)
expected = ["index.htm", "genealogie.css"]
if layout == "framed":
    expected += ["alfabet.htm"] + [f"index{chr(c)}.htm" for c in range(ord("a"), ord("z") + 1)]
for name in expected:
    if name not in answered:
        lines.append(f"problem: the browser never asked for {name}")
for name, statuses in sorted(answered.items()):
    bad = sorted(s for s in statuses if s not in ("200", "304"))
    if not bad:
        continue
    if name.endswith((".htm", ".css")):
        lines.append(f"problem: {name} answered HTTP {', '.join(bad)}")
    elif not name.startswith(".stambrix-check-") and name != "favicon.ico":
        lines.append(f"note: {name} answered HTTP {', '.join(bad)} (referred to by the pages, not written by Stambrix)")
if any(line.startswith("problem:") for line in lines):
    lines[0] = "FAIL"
print("\n".join(lines))
PYTHON
)"

if [ -n "$screenshot" ]; then
    shown="$base/index.htm"
    if [ -n "$screenshot_letter" ]; then
        shown="$base/$(basename "$view_page")?letter=$screenshot_letter"
    fi
    # Taken into the work folder first, so a failed shot leaves an earlier one in place.
    run_browser profile-screenshot --window-size="$window_size" --virtual-time-budget=5000 --hide-scrollbars \
        --screenshot="$work/screenshot.png" "$shown" >/dev/null || true
    if [ -s "$work/screenshot.png" ] && mkdir -p "$(dirname "$screenshot")" &&
        mv -f -- "$work/screenshot.png" "$screenshot"; then
        verdict+=$'\n'"note: screenshot $screenshot"
    else
        verdict+=$'\n'"problem: no screenshot was written to $screenshot"
        verdict="FAIL${verdict#PASS}"
    fi
fi

echo "check_pages ($layout, $folder):"
sed 's/^/  /' <<<"$verdict"
echo "  took $((SECONDS - started)) s"
if [ "$(head -n 1 <<<"$verdict")" != PASS ]; then
    echo "check_pages: FAIL ($layout)" >&2
    exit 1
fi
echo "check_pages: PASS ($layout)"
