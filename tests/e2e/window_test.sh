#!/usr/bin/env bash
# End to end: the real game under the current X display, driven with xdotool.
# Usage: window_test.sh GORUM SEND-CLOSE CASE, run from the project root; CASE is opens, escape, closebox,
# level or cycles (fifty starts, each ended by Escape).
set -u
gorum=$1
send_close=$2
case_name=$3

fail() { echo "FAIL: $*"; exit 1; }
now_ms() { date +%s%3N; }

export WEBKIT_DISABLE_COMPOSITING_MODE=1
pid=""
# The game's temporary, cache, data and configuration folders, which it must leave empty. The GL
# driver's shader cache is the driver's own business.
export MESA_SHADER_CACHE_DISABLE=true
scratch=$(mktemp -d)
cleanup() {
  [[ -n $pid ]] && pkill -KILL -s "$pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# Starts the game and waits for its window, left in $window.
start_game() {
  start=$(now_ms)
  # A session of its own, so that every process the game starts can be found afterwards.
  TMPDIR=$scratch XDG_CACHE_HOME=$scratch XDG_DATA_HOME=$scratch XDG_CONFIG_HOME=$scratch setsid "$gorum" &
  pid=$!
  window=""
  while (($(now_ms) - start < 5000)); do
    # By pid: a window of the previous run may still be on the screen for a moment.
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^Gorum$' 2>/dev/null | head -1)
    [[ -n $window ]] && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended before its window appeared"
    sleep 0.05
  done
  [[ -n $window ]] || fail "no visible window titled Gorum within 5 s"
  echo "window $window after $(($(now_ms) - start)) ms"

  geometry=$(xwininfo -id "$window")
  width=$(awk '/Width:/ {print $2}' <<<"$geometry")
  height=$(awk '/Height:/ {print $2}' <<<"$geometry")
  # The client area is 800 x 600; the status bar below it adds a strip of its own height.
  [[ $width == 800 && $height -ge 600 && $height -le 640 ]] || fail "window is ${width}x${height}, not 800 x 600 plus a status bar"
}

# Waits up to $1 ms for the game to end and leaves its exit code in $code. Runs in this shell, not
# in a command substitution, because only the shell that started the game can collect its exit code.
code=""
wait_exit() {
  local limit=$1 begin
  begin=$(now_ms)
  while [[ $(ps -o stat= -p "$pid" 2>/dev/null) != Z* ]] && kill -0 "$pid" 2>/dev/null; do
    (($(now_ms) - begin > limit)) && return 1
    sleep 0.02
  done
  wait "$pid"
  code=$?
}

# The colour of the window's pixel (x, y), left in $red $green $blue.
red="" green="" blue=""
read_pixel() {
  local text
  text=$(import -window "$window" -crop "1x1+$1+$2" txt:- 2>/dev/null | grep -o 'srgb([0-9,]*)' | head -1)
  IFS=',' read -r red green blue <<<"${text//[^0-9,]/}"
}

# Whether the pixel (x, y) is within a few steps of the colour r g b.
pixel_is() {
  read_pixel "$1" "$2"
  [[ -n $red ]] || return 1
  local want=("$3" "$4" "$5") have=("$red" "$green" "$blue") i
  for i in 0 1 2; do
    ((${have[i]} - ${want[i]} <= 8 && ${want[i]} - ${have[i]} <= 8)) || return 1
  done
}

# Polls a check until it holds; fails after $1 ms with the message $2. A loaded machine can take many
# seconds to lay out and paint a page, so the limits are generous and nothing waits a fixed time.
wait_until() {
  local limit=$1 message=$2 begin
  shift 2
  begin=$(now_ms)
  until "$@"; do
    (($(now_ms) - begin > limit)) && fail "$message (last pixel read: $red,$green,$blue)"
    kill -0 "$pid" 2>/dev/null || fail "the game ended while waiting: $message"
    sleep 0.1
  done
}

# The menu page's colours: its buttons are cream inside a brown border.
cream=(255 248 230)
brown=(90 61 30)
play_painted() { pixel_is 269 242 "${brown[@]}" && pixel_is 290 242 "${cream[@]}"; }
# The first level's card, with its brown number disc at the left (left of the digit, which is cream).
level_list_painted() { pixel_is 36 151 "${brown[@]}" && pixel_is 200 120 "${cream[@]}"; }
# The world's time bar is wood brown where the menu's sky was blue.
world_shown() { read_pixel 650 31 && [[ -n $red && $red -gt $((blue + 40)) ]]; }

# Input sent before the page is painted can land on a view that is still loading.
wait_for_menu() { wait_until 30000 "the main menu's Play button was not painted within 30 s" play_painted; }

# Nothing the game started may still run once it has ended.
check_no_leftovers() {
  sleep 0.3
  local left
  left=$(pgrep -s "$pid" -a 2>/dev/null)
  [[ -z $left ]] || fail "processes outlived the game: $left"
  left=$(ls -A "$scratch")
  [[ -z $left ]] || fail "files outlived the game: $left"
}

# Escape, then the game must be gone within 1 s with exit code 0 and nothing left behind.
escape_and_check() {
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  local sent
  sent=$(now_ms)
  xdotool key Escape
  wait_exit 1000 || fail "still running 1 s after Escape"
  echo "ended $(($(now_ms) - sent)) ms after Escape"
  [[ $code == 0 ]] || fail "exit code $code after Escape"
  check_no_leftovers
}

start_game
case $case_name in
opens)
  wait_for_menu
  kill -0 "$pid" 2>/dev/null || fail "the game did not keep running"
  ;;
escape)
  wait_for_menu
  escape_and_check
  ;;
cycles)
  # Escape at varied moments once the menu shows, with the engine's helpers at work.
  for cycle in $(seq 50); do
    ((cycle > 1)) && start_game
    wait_for_menu
    sleep "0.$((cycle % 5))"
    escape_and_check
    echo "cycle $cycle done"
  done
  ;;
closebox)
  wait_for_menu
  "$send_close" "$window" || fail "could not send the close request"
  wait_exit 2000 || fail "still running 2 s after the close box"
  [[ $code == 0 ]] || fail "exit code $code after the close box"
  check_no_leftovers
  ;;
level)
  # Play, then the first level's number disc: the menu page gives way to the world.
  wait_for_menu
  xdotool mousemove --window "$window" 400 242 click 1
  wait_until 30000 "the level list was not painted within 30 s of Play" level_list_painted
  xdotool mousemove --window "$window" 48 156 click 1
  wait_until 30000 "the first level did not start within 30 s of its link" world_shown
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "PASS: $case_name"
