#!/usr/bin/env bash
# Takes PNG screenshots of the desktop program under a virtual X server at 96 dpi (Xvfb) with a small
# window manager (openbox): the main window after a run over the example tree (the text index), with its
# title bar and the program's icon, its context menu, and the options (F9), the whole help (F1) and the
# information (F12) window, the last at the end of its animation, these without title bars.
# docs/main-window.png, the README's picture, is a copy of main-window.png.
#   tools/screenshots.sh                 builds build/release and writes build/release/screenshots/*.png
#   STAMBRIX_BUILD_DIR=DIR tools/screenshots.sh     the same in another build folder
# The program runs with a fresh registry file in a temporary folder, so the user's settings stay untouched,
# on a copy of the example tree at /home/gebruiker/Stamboom/voorbeeld.ged, the path a user would see: a
# folder of its own over /home (a mount namespace, unshare) holds it, where the system allows one;
# elsewhere the copy stands in the temporary folder, whose name then shows in the path field.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${STAMBRIX_BUILD_DIR:-$root/build/release}
shots=$build/screenshots
timeout_seconds=15

fail() {
    echo "screenshots.sh: $*" >&2
    exit 1
}

# Waits until the command after the first three arguments holds: the program NAME with process PID, whose
# output goes to LOG, has started. Fails when it ends first or the time runs out.
wait_for_start() {
    local name=$1 pid=$2 log=$3
    shift 3
    for _ in $(seq $((timeout_seconds * 10))); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || fail "$name start niet: $(cat "$log")"
        sleep 0.1
    done
    fail "$name start niet binnen $timeout_seconds s"
}

# --- Packages: the project's own, then the X server, the window manager, xdotool and ImageMagick -------
scripts/install-deps.sh
missing=()
for package in xvfb xauth openbox xdotool imagemagick; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installeren: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# ImageMagick's own "import" by full path: another program of that name may come first on the PATH.
import=/usr/bin/import
[ -x "$import" ] || fail "ImageMagick's import niet gevonden in /usr/bin"

# --- Build ---------------------------------------------------------------------------------------------
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DSTAMBRIX_BUILD_TESTS=OFF -DSTAMBRIX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target stambrix
program=$build/bin/stambrix
[ -x "$program" ] || fail "$program is niet gebouwd"

# --- Virtual X server, window manager and the program; everything started here is stopped at exit -------
work=$(mktemp -d)
xvfb_pid=
wm_pid=
program_pid=
cleanup() {
    set +e
    for pid in "$program_pid" "$wm_pid" "$xvfb_pid"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
        fi
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number to the descriptor given with -displayfd.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -br 3>"$work/display" >/dev/null \
    2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for_start Xvfb "$xvfb_pid" "$work/xvfb.log" test -s "$work/display"
DISPLAY=:$(head -n1 "$work/display")
export DISPLAY
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI
export QT_QPA_PLATFORM=xcb

# openbox's own theme, whatever the user's settings; the title bar shows the icon, the title, and the
# buttons the main window has (no maximise: its size is fixed).
cat >"$work/openbox.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <theme><name>Clearlooks</name><titleLayout>NLIC</titleLayout></theme>
</openbox_config>
XML
openbox --config-file "$work/openbox.xml" --startup "touch $work/wm-ready" >"$work/wm.log" 2>&1 &
wm_pid=$!
wait_for_start openbox "$wm_pid" "$work/wm.log" test -e "$work/wm-ready"

mkdir -p "$shots"
rm -f "$shots"/*.png

export STAMBRIX_REGISTRY_FILE=$work/registry/stambrix.ini
tree=/home/gebruiker/Stamboom
# Inside the namespace: an empty /home of its own, the example tree copied in, then the program.
start_in_own_home='mount -t tmpfs tmpfs /home && mkdir -p "$1" && cp "$2" "$1/" && exec "$3" "$1/voorbeeld.ged"'
if unshare --user --map-root-user --mount true 2>/dev/null; then
    unshare --user --map-root-user --mount sh -c "$start_in_own_home" sh "$tree" "$root/examples/voorbeeld.ged" \
        "$program" >"$work/program.log" 2>&1 </dev/null &
    program_pid=$!
    # The program's files, as seen from here.
    tree_here=/proc/$program_pid/root$tree
else
    echo "screenshots.sh: geen eigen /home mogelijk (unshare); het pad in het venster is dat van $work" >&2
    tree=$work/Stamboom
    mkdir -p "$tree"
    cp "$root/examples/voorbeeld.ged" "$tree/"
    "$program" "$tree/voorbeeld.ged" >"$work/program.log" 2>&1 </dev/null &
    program_pid=$!
    tree_here=$tree
fi

# Waits for a visible window of the program whose title matches $1; prints its id.
wait_window() {
    local id
    id=$(timeout "$timeout_seconds" xdotool search --all --sync --onlyvisible --pid "$program_pid" --name "$1" 2>/dev/null |
        head -n1) || true
    [ -n "$id" ] || fail "venster \"$1\" verschijnt niet binnen $timeout_seconds s (log: $(cat "$work/program.log"))"
    echo "$id"
}

# Waits until window $1 is no longer visible.
wait_gone() {
    for _ in $(seq $((timeout_seconds * 10))); do
        xdotool search --all --onlyvisible --pid "$program_pid" --name '' 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    fail "venster $1 sluit niet binnen $timeout_seconds s"
}

# Gives window $1 the keyboard: pointer over it and the window manager told to activate it.
focus() {
    xdotool mousemove --window "$1" 5 5
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.2
}

# Saves window $1 as $shots/$2.png; further arguments go to import (-frame: with title bar and border).
shoot() {
    "$import" -window "$1" "${@:3}" "$shots/$2.png"
    echo "$shots/$2.png"
}

# Shows a dialog with key $1, waits for the window titled $2, waits $3 seconds (painting, animations),
# saves it as $4.png and closes it with Escape.
shoot_dialog() {
    local dialog
    focus "$main"
    xdotool key --clearmodifiers "$1"
    dialog=$(wait_window "$2")
    sleep "$3"
    shoot "$dialog" "$4"
    focus "$dialog"
    xdotool key --clearmodifiers Escape
    wait_gone "$dialog"
}

main=$(wait_window '^Stambrix$')
sleep 1 # the first activation fills the panels and the path edit
focus "$main"
# " Uitvoeren " in the button bar; the panels then show the records read, the time and the lines written.
index=$tree_here/Stambrix/Namen.txt
xdotool mousemove --window "$main" 230 14 click 1
for _ in $(seq $((timeout_seconds * 10))); do
    [ -s "$index" ] && break
    sleep 0.1
done
[ -s "$index" ] ||
    fail "de run schrijft $tree/Stambrix/Namen.txt niet binnen $timeout_seconds s (log: $(cat "$work/program.log"))"
sleep 0.5
xdotool mousemove --window "$main" 180 240
shoot "$main" main-window -frame

# The context menu: a right click in the window; the picture covers the window and the menu.
before=$(xdotool search --all --onlyvisible --pid "$program_pid" --name '' 2>/dev/null | sort)
eval "$(xdotool getwindowgeometry --shell "$main")"
main_w=$WIDTH main_h=$HEIGHT
# Where the window's inside stands on the screen: the pointer put at its corner tells, where the position
# xdotool gives for a window in a frame counts the frame twice.
xdotool mousemove --window "$main" 0 0
eval "$(xdotool getmouselocation --shell)"
main_x=$X main_y=$Y
xdotool mousemove --window "$main" 120 90 click 3
menu=
for _ in $(seq $((timeout_seconds * 10))); do
    menu=$(comm -13 <(echo "$before") \
        <(xdotool search --all --onlyvisible --pid "$program_pid" --name '' 2>/dev/null | sort) | head -n1)
    [ -n "$menu" ] && break
    sleep 0.1
done
[ -n "$menu" ] || fail "het snelmenu verschijnt niet binnen $timeout_seconds s"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$menu")"
left=$((main_x < X ? main_x : X))
top=$((main_y < Y ? main_y : Y))
right=$((main_x + main_w > X + WIDTH ? main_x + main_w : X + WIDTH))
bottom=$((main_y + main_h > Y + HEIGHT ? main_y + main_h : Y + HEIGHT))
"$import" -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shots/context-menu.png"
echo "$shots/context-menu.png"
xdotool key --clearmodifiers Escape
wait_gone "$menu"

shoot_dialog F9 '^Opties' 0.5 options
shoot_dialog F1 '^Help' 0.5 help
shoot_dialog F12 '^Informatie' 1.5 information

# The program ends through the main window's close; the trap stops it otherwise.
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=
echo "Schermafdrukken in $shots"
