#!/bin/bash
# The window chrome on a real run: panel colours and the see-through gaps, hover colours,
# scale mode under Ctrl, the flip by double-click, Ctrl+wheel scaling, dragging the window
# by its title bar and the own close button.
set -u
BIN=${BRISVALE_BIN:?set BRISVALE_BIN to the Windows build directory}
SRC=${BRISVALE_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}
source "$SRC/scripts/wine-env.sh"
ensure_display 97
wine_prefix_init "${BRISVALE_WINEPREFIX:-$BIN/wineprefix-chrome}"

WORK=$(mktemp -d /tmp/chrome-e2e.XXXXXX)
SHOT=$WORK/shot.png
failures=0
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wineserver -k 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Colour of one screen pixel as r,g,b.
shoot() { import -window root "$SHOT"; }
pixel() { convert "$SHOT" -format "%[fx:int(255*u.p{$1,$2}.r+0.5)],%[fx:int(255*u.p{$1,$2}.g+0.5)],%[fx:int(255*u.p{$1,$2}.b+0.5)]" info:; }
# A pixel of the window at client coordinates (the window has no frame).
cpixel() { pixel $((WX + $1)) $((WY + $2)); }
expect_colour() {  # description x y r,g,b  (client coordinates)
    local got; got=$(cpixel "$2" "$3")
    if [ "$got" = "$4" ]; then pass "$1 ($got)"; else fail "$1: pixel ($2,$3) is $got, expected $4"; fi
}
expect_not_colour() {
    local got; got=$(cpixel "$2" "$3")
    if [ "$got" != "$4" ]; then pass "$1 ($got)"; else fail "$1: pixel ($2,$3) is $got"; fi
}
region_sum() { convert "$SHOT" -crop "$3x$4+$((WX + $1))+$((WY + $2))" +repage rgb:- | md5sum | cut -d' ' -f1; }
move() { xdotool mousemove $((WX + $1)) $((WY + $2)); sleep 0.4; }

# The dialog's top-level X window and its geometry.
find_window_once() {
    local id
    id=$(xwininfo -root -tree 2>/dev/null | awk '/"brisvale.exe"/ && $0 !~ /IME/ {print $1, $0}' |
             awk '{ if (match($0, /[0-9]+x[0-9]+\+/)) { split(substr($0, RSTART, RLENGTH - 1), s, "x"); if (s[1] >= 800) { print $1; exit } } }')
    [ -n "$id" ] && WIN=$id
}
find_window() {
    for _ in $(seq 100); do
        find_window_once && return 0
        sleep 0.2
    done
    return 1
}
geometry() {
    local info; info=$(xwininfo -id "$WIN")
    WX=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    WY=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    WW=$(awk '/Width:/ {print $NF}' <<<"$info")
    WH=$(awk '/Height:/ {print $NF}' <<<"$info")
}

# A first start in an empty folder writes the default configuration file and says so in a
# box; press its OK button (centred near the bottom of the box).
dismiss_start_boxes() {
    local id info bx by bw bh
    for _ in $(seq 40); do
        id=$(xdotool search --onlyvisible --name 'QEL Configuration File' 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            sleep 0.3
            info=$(xwininfo -id "$id" 2>/dev/null) || continue
            bx=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
            by=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
            bw=$(awk '/Width:/ {print $NF}' <<<"$info")
            bh=$(awk '/Height:/ {print $NF}' <<<"$info")
            xdotool mousemove $((bx + bw / 2 + 8)) $((by + bh - 20)) click 1
        elif find_window_once; then
            return 0
        fi
        sleep 0.25
    done
}

SCREEN_W=$(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1]}')
cd "$WORK" || exit 1
wine "$BIN/brisvale.exe" >"$WORK/run.log" 2>&1 &
pid=$!
dismiss_start_boxes
find_window || { echo "FAIL: the dialog did not appear"; exit 1; }
sleep 2
geometry
[ "$WW" = 850 ] && [ "$WH" = 550 ] && pass "window 850x550" || fail "window is ${WW}x$WH"
[ "$WX" = $((SCREEN_W - 850 - 10)) ] && [ "$WY" = 10 ] && pass "placed 10 px from the top-right corner" ||
    fail "window at $WX,$WY"

PANEL=153,176,208 DRAGBAR=255,170,85
move 400 480
shoot
expect_colour "title bar" 400 12 $PANEL
expect_colour "body" 400 500 $PANEL
expect_colour "drag bar" 15 300 $DRAGBAR
expect_not_colour "gap beside the drag bar is not painted" 32 300 $PANEL
expect_not_colour "gap beside the drag bar shows the desktop" 32 300 $DRAGBAR
expect_not_colour "gap under the title bar shows the desktop" 400 27 $PANEL
BUTTON_BEFORE=$(region_sum 40 373 210 22)
HINT_BEFORE=$(region_sum 40 520 560 25)

move 840 12
shoot
expect_colour "close button turns red under the mouse" 827 2 232,17,35
move 15 300
shoot
expect_colour "close button back to the panel colour" 827 2 $PANEL
expect_colour "drag bar darkens under the mouse" 2 12 255,138,21

move 400 480
xdotool keydown ctrl
sleep 0.6
shoot
expect_colour "minimize button turns yellow while Ctrl is held" 800 2 255,255,0
[ "$(region_sum 40 373 210 22)" != "$BUTTON_BEFORE" ] && pass "button 1003 relabelled while Ctrl is held" ||
    fail "button 1003 unchanged while Ctrl is held"
[ "$(region_sum 40 520 560 25)" != "$HINT_BEFORE" ] && pass "hint line shows a scaling hint" || fail "hint line empty while Ctrl is held"
xdotool keyup ctrl
sleep 0.6
shoot
expect_colour "minimize button back to the panel colour" 800 2 $PANEL
[ "$(region_sum 40 373 210 22)" = "$BUTTON_BEFORE" ] && pass "button 1003 label restored" ||
    fail "button 1003 label not restored"
[ "$(region_sum 40 520 560 25)" = "$HINT_BEFORE" ] && pass "hint line emptied" || fail "hint line not emptied"

RIGHT=$((WX + WW)) TOP=$WY
move 15 300
xdotool click --repeat 2 --delay 80 1
sleep 1
geometry
[ $((WX + WW)) = "$RIGHT" ] && [ "$WY" = "$TOP" ] && pass "flip keeps the top-right corner" ||
    fail "flip moved the corner to $((WX + WW)),$WY"
move 400 480
shoot
expect_colour "drag bar now on the right" 835 300 $DRAGBAR
expect_colour "body now on the left" 2 300 $PANEL
move 835 300
xdotool click --repeat 2 --delay 80 1
sleep 1
move 400 480
shoot
expect_colour "second flip puts the drag bar back on the left" 15 300 $DRAGBAR

move 400 500
xdotool keydown ctrl
sleep 0.3
for _ in 1 2 3 4; do xdotool click 4; sleep 0.2; done
sleep 0.8
geometry
[ "$WW" = 935 ] && [ "$WH" = 605 ] && pass "four wheel notches up: 935x605" || fail "after four notches up: ${WW}x$WH"
[ $((WX + WW)) = "$RIGHT" ] && pass "scaling keeps the right edge" || fail "right edge moved to $((WX + WW))"
for _ in 1 2 3 4 5 6; do xdotool click 5; sleep 0.2; done
sleep 0.8
xdotool keyup ctrl
sleep 0.3
geometry
[ "$WW" = 850 ] && [ "$WH" = 550 ] && pass "wheel down stops at scale 1.0" || fail "after notches down: ${WW}x$WH"
for _ in 1 2; do xdotool click 4; sleep 0.2; done
sleep 0.5
geometry
[ "$WW" = 850 ] && pass "the wheel without Ctrl does not scale" || fail "wheel without Ctrl scaled to ${WW}"

X0=$WX Y0=$WY
move 400 12
xdotool mousedown 1
sleep 0.3
xdotool mousemove $((WX + 350)) $((WY + 80))
sleep 0.3
xdotool mousemove $((WX + 300)) $((WY + 150))
sleep 0.3
xdotool mouseup 1
sleep 0.6
geometry
[ $((WX - X0)) = -100 ] && [ $((WY - Y0)) = 138 ] && pass "dragging the title bar moves the window" ||
    fail "drag moved the window by $((WX - X0)),$((WY - Y0))"

move 840 12
xdotool click 1
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$pid" 2>/dev/null; then fail "the close button did not end the program"; else pass "the close button ends the program"; pid=; fi

echo "$failures failure(s)"
[ "$failures" = 0 ]
