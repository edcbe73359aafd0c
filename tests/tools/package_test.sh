#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack from the build tree, clean to lintian, unpacked
# into a scratch root, holding the files a desktop and a distribution need, and its launcher starting
# the game from anywhere under X.
# Usage: package_test.sh BUILD-DIR
set -u
build=$1

fail() { echo "FAIL: $*"; exit 1; }
now_ms() { date +%s%3N; }

scratch=$(mktemp -d)
pid=""
cleanup() {
  [[ -n $pid ]] && pkill -KILL -s "$pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb=$(ls "$scratch"/package/gorum_*.deb 2>/dev/null | head -1)
[[ -f $deb ]] || fail "no gorum_*.deb made"

# The libraries the game links must be dependencies, so that apt brings them.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libgtk-3-0 libwebkit2gtk-4.1-0 libpng16-16 libfreetype6 libepoxy0 libc6; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
dpkg-deb -c "$deb" | grep -i -E 'test|gtest|bench' && fail "the package carries test files"
# What a distribution asks first: lintian finds no error and no warning, and, among its informative
# tags, no missing hardening and no leftover compiler sections.
lintian --fail-on error,warning -I --pedantic "$deb" >"$scratch/lintian.log" 2>&1
lintian_status=$?
grep -v 'running with root privileges' "$scratch/lintian.log"
((lintian_status == 0)) || fail "lintian found errors or warnings (status $lintian_status)"
grep -E 'hardening|unneeded-section|unstripped' "$scratch/lintian.log" && fail "lintian finds the programs unhardened or unstripped"
# What apt would do on this machine: every dependency must resolve from the archive.
apt-get install -s -q "$deb" >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; fail "apt cannot install it"; }

root=$scratch/root
dpkg -x "$deb" "$root"
usr=$root/usr
for file in games/gorum games/gorum-check lib/gorum/gorum; do
  [[ -x $usr/$file ]] || fail "$file missing or not executable"
done
[[ ! -x $build/gorum-plan || -x $usr/games/gorum-plan ]] || fail "gorum-plan was built but is not packaged"
for file in share/gorum/content/html/MainMenu.html share/gorum/media/SetGoal.png \
  share/applications/org.gorum.Gorum.desktop share/metainfo/org.gorum.Gorum.metainfo.xml \
  share/man/man6/gorum.6.gz share/man/man1/gorum-check.1.gz share/man/man1/gorum-plan.1.gz \
  share/doc/gorum/copyright share/doc/gorum/changelog.gz; do
  [[ -f $usr/$file ]] || fail "$file missing"
done
for size in 16 32 48 64 128 256; do
  icon=$usr/share/icons/hicolor/${size}x${size}/apps/org.gorum.Gorum.png
  [[ $(identify -format '%wx%h' "$icon" 2>/dev/null) == "${size}x${size}" ]] || fail "no ${size}x${size} icon"
done
desktop-file-validate "$usr/share/applications/org.gorum.Gorum.desktop" || fail "desktop entry is not valid"
appstreamcli validate --no-net "$usr/share/metainfo/org.gorum.Gorum.metainfo.xml" >/dev/null ||
  fail "metainfo is not valid"
# The manual pages are whole and name their program.
for page in man6/gorum.6 man1/gorum-check.1 man1/gorum-plan.1; do
  name=$(basename "$page" | sed 's/\.[0-9]$//')
  MANWIDTH=80 man -l "$usr/share/man/$page.gz" 2>/dev/null | grep -q "^ *$name - " || fail "$page names no $name"
done
# The installed content is whole: the packaged checker, started outside any game folder and given no
# folder, finds the packaged data folder beside it and passes it.
(cd / && "$usr/games/gorum-check") || fail "gorum-check finds problems in the packaged data folder"
# Its launcher answers --help with no display at all.
(cd / && env -u DISPLAY -u WAYLAND_DISPLAY "$usr/games/gorum" --help) | grep -q '^Usage: gorum$' ||
  fail "gorum --help did not answer without a display"

# The launcher finds its data folder from its own place, whatever the working directory.
export WEBKIT_DISABLE_COMPOSITING_MODE=1
cd /
start=$(now_ms)
setsid "$usr/games/gorum" >"$scratch/game.log" 2>&1 &
pid=$!
window=""
while (($(now_ms) - start < 10000)); do
  window=$(xdotool search --onlyvisible --pid "$pid" --name '^Gorum$' 2>/dev/null | head -1)
  [[ -n $window ]] && break
  kill -0 "$pid" 2>/dev/null || { cat "$scratch/game.log"; fail "the game ended before its window appeared"; }
  sleep 0.05
done
[[ -n $window ]] || fail "no visible window titled Gorum within 10 s"
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key Escape
ended() { [[ $(ps -o stat= -p "$pid" 2>/dev/null) == Z* ]] || ! kill -0 "$pid" 2>/dev/null; }
for _ in $(seq 100); do
  ended && break
  sleep 0.02
done
ended || fail "still running 2 s after Escape"
wait "$pid"
code=$?
pid=""
[[ $code == 0 ]] || fail "exit code $code after Escape"
echo "PASS: package $(basename "$deb")"
