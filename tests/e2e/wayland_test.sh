#!/usr/bin/env bash
# End to end on Wayland: the real game as a Wayland client (no X display in its environment) of a weston
# that this test starts nested in the current X display. weston's x11 backend turns the X pointer and
# keys on its window into Wayland input, so xdotool drives the game through the compositor: the menu
# shows, Play and the first level's card start a level, and Escape ends the game with status 0.
# Usage: wayland_test.sh GORUM, run from the project root.
set -u
gorum=$1

fail() { echo "FAIL: $*"; exit 1; }
now_ms() { date +%s%3N; }

# The output is larger than the window: weston's kiosk shell centres each window on black, so the
# window's place is where the picture is not black.
output_w=1000 output_h=800
scratch=$(mktemp -d)
runtime=$scratch/runtime
mkdir -m 700 "$runtime"
weston_pid="" pid=""
cleanup() {
    [[ -n $pid ]] && pkill -KILL -s "$pid" 2>/dev/null
    [[ -n $weston_pid ]] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

XDG_RUNTIME_DIR=$runtime weston --backend=x11-backend.so --shell=kiosk-shell.so --socket=gorum-test \
    --width=$output_w --height=$output_h --use-pixman --no-config --idle-time=0 >"$scratch/weston.log" 2>&1 &
weston_pid=$!
start=$(now_ms)
screen=""
until [[ -n $screen && -S $runtime/gorum-test ]]; do
    (($(now_ms) - start > 10000)) && { cat "$scratch/weston.log"; fail "weston did not start within 10 s"; }
    kill -0 "$weston_pid" 2>/dev/null || { cat "$scratch/weston.log"; fail "weston ended"; }
    screen=$(sed -n 's/.*x11 output .*window id \([0-9]*\).*/\1/p' "$scratch/weston.log")
    sleep 0.1
done

# weston moves its pointer by the X pointer's relative motion, clamped to the output: from the far
# corner to the near one it lands on (0, 0) whatever it was, and from there it follows the X pointer.
xdotool mousemove --window "$screen" $((output_w - 1)) $((output_h - 1)) mousemove --window "$screen" 0 0 \
    mousemove --window "$screen" $((output_w / 2)) $((output_h / 2))

env -u DISPLAY XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=gorum-test GDK_BACKEND=wayland \
    WEBKIT_DISABLE_COMPOSITING_MODE=1 MESA_SHADER_CACHE_DISABLE=true setsid "$gorum" >"$scratch/game.log" 2>&1 &
pid=$!

# What weston shows: the box of the window on top, and the colour of pixels within that window.
box_w="" box_h="" box_x="" box_y=""
shoot() {
    import -window "$screen" "$scratch/shot.png" 2>/dev/null || return 1
    IFS='x+' read -r box_w box_h box_x box_y < <(convert "$scratch/shot.png" -format '%@' info: 2>/dev/null)
    [[ -n $box_y ]]
}
red="" green="" blue=""
read_pixel() {
    local text
    text=$(convert "$scratch/shot.png" -crop "1x1+$((box_x + $1))+$((box_y + $2))" txt:- 2>/dev/null |
        grep -o 'srgb([0-9,]*)' | head -1)
    IFS=',' read -r red green blue <<<"${text//[^0-9,]/}"
}
pixel_is() {
    read_pixel "$1" "$2"
    [[ -n $red ]] || return 1
    local want=("$3" "$4" "$5") have=("$red" "$green" "$blue") i
    for i in 0 1 2; do
        ((${have[i]} - ${want[i]} <= 8 && ${want[i]} - ${have[i]} <= 8)) || return 1
    done
}
wait_until() {
    local limit=$1 message=$2 begin
    shift 2
    begin=$(now_ms)
    until shoot && "$@"; do
        (($(now_ms) - begin > limit)) && fail "$message (window ${box_w}x$box_h+$box_x+$box_y)"
        kill -0 "$pid" 2>/dev/null || { cat "$scratch/game.log"; fail "the game ended while waiting: $message"; }
        sleep 0.2
    done
}
# Clicks the point (x, y) of the window on top, then rests the pointer on the output's centre, where every
# window of the game lies, so that the cursor never widens the window's box.
click() {
    xdotool mousemove --window "$screen" $((box_x + $1)) $((box_y + $2)) click 1 \
        mousemove --window "$screen" $((output_w / 2)) $((output_h / 2))
}

# The menu page's Play button, cream inside a brown border, in the game's 800-pixel-wide window.
cream=(255 248 230)
brown=(90 61 30)
menu_shown() { ((box_w == 800)) && pixel_is 269 242 "${brown[@]}" && pixel_is 290 242 "${cream[@]}"; }
# The level list: the left edge of the first card's brown number disc (its middle is the white digit).
level_list_shown() { ((box_w == 800)) && pixel_is 38 150 "${brown[@]}" && pixel_is 200 120 "${cream[@]}"; }
# A level has started: its tutorial window came up on top, or, without a tutorial, the world's time bar
# is wood brown where the menu's sky was blue.
level_started() { ((box_w != 800)) || { read_pixel 650 31 && [[ -n $red && $red -gt $((blue + 40)) ]]; }; }

wait_until 30000 "the main menu was not shown within 30 s" menu_shown
echo "menu shown after $(($(now_ms) - start)) ms"
click 400 242
wait_until 30000 "the level list was not shown within 30 s of Play" level_list_shown
click 48 156
wait_until 30000 "the first level did not start within 30 s of its card" level_started
echo "level started after $(($(now_ms) - start)) ms"

# weston takes the keys of its X window once that window has the X focus.
xdotool windowfocus --sync "$screen" 2>/dev/null || xdotool windowfocus "$screen"
xdotool key Escape
begin=$(now_ms)
while [[ $(ps -o stat= -p "$pid" 2>/dev/null) != Z* ]] && kill -0 "$pid" 2>/dev/null; do
    (($(now_ms) - begin > 3000)) && fail "still running 3 s after Escape"
    sleep 0.05
done
wait "$pid"
code=$?
pid=""
[[ $code == 0 ]] || { cat "$scratch/game.log"; fail "exit code $code after Escape"; }
grep -q 'Protocol error' "$scratch/game.log" && fail "the game hit a Wayland protocol error"
echo "PASS: wayland, $(($(now_ms) - start)) ms"
