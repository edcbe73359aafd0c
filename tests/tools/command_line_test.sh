#!/usr/bin/env bash
# The three programs' command-line manners, run as built: --help and --version on stdout with status 0
# and without any display; mistakes on stderr only, with status 2; and the tools' default game folder,
# the working directory or else the installed game found from the program's own place.
# Usage: command_line_test.sh SOURCE-DIR GORUM GORUM-CHECK GORUM-PLAN
set -u
source_dir=$1
declare -A program=([gorum]=$2 [gorum-check]=$3 [gorum-plan]=$4)

fail() { echo "FAIL: $*"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
version=$(sed -n '1s/^gorum (\([^)]*\)).*/\1/p' "$source_dir/dist/changelog")
[[ -n $version ]] || fail "no version in dist/changelog"

# Runs a program from the scratch folder, which is no game folder, with no display at all.
status="" out="" err=""
run() {
    local path=$1
    shift
    (cd "$scratch/nowhere" && env -u DISPLAY -u WAYLAND_DISPLAY "$path" "$@" >"$scratch/out" 2>"$scratch/err")
    status=$?
    out=$(cat "$scratch/out")
    err=$(cat "$scratch/err")
}
mkdir -p "$scratch/nowhere"

for name in gorum gorum-check gorum-plan; do
    run "${program[$name]}" --help
    [[ $status == 0 && $out == "Usage: $name"* && -z $err ]] ||
        fail "$name --help: status $status, stdout '${out:0:60}', stderr '$err'"
    run "${program[$name]}" --version
    [[ $status == 0 && $out == "$name (Gorum) $version"$'\n'* && -z $err ]] ||
        fail "$name --version: status $status, stdout '${out:0:60}', stderr '$err'"
    run "${program[$name]}" --bogus
    [[ $status == 2 && -z $out && $err == "$name: unknown option --bogus"$'\n'* ]] ||
        fail "$name --bogus: status $status, stdout '$out', stderr '$err'"
    run "${program[$name]}" a b c
    [[ $status == 2 && -z $out && $err == "$name: too many arguments"$'\n'* ]] ||
        fail "$name a b c: status $status, stdout '$out', stderr '$err'"
done
run "${program[gorum-plan]}"
[[ $status == 2 && -z $out && $err == "gorum-plan: too few arguments"$'\n'* ]] ||
    fail "gorum-plan without LEVEL: status $status, stdout '$out', stderr '$err'"

# Without DIR, outside a game folder and with no game installed beside them, the tools say so.
run "${program[gorum-check]}"
[[ $status == 2 && -z $out && $err == *"no game folder"* ]] ||
    fail "gorum-check outside a game folder: status $status, stdout '$out', stderr '$err'"
run "${program[gorum-plan]}" 01
[[ $status == 2 && -z $out && $err == *"no game folder"* ]] ||
    fail "gorum-plan outside a game folder: status $status, stdout '$out', stderr '$err'"

# A folder named relative to the working directory is entered as such.
mkdir -p "$scratch/nowhere/sub/content"
run "${program[gorum-plan]}" sub 01
[[ $status == 2 && $err == 'gorum-plan: no level is named "01"'* ]] ||
    fail "gorum-plan sub: status $status, stdout '$out', stderr '$err'"
rm -r "$scratch/nowhere/sub"

# Installed as the package lays them out: PREFIX/games beside the data folder PREFIX/share/gorum.
prefix=$scratch/prefix
mkdir -p "$prefix/games" "$prefix/share"
cp "${program[gorum-check]}" "${program[gorum-plan]}" "$prefix/games/"
ln -s "$source_dir" "$prefix/share/gorum"
run "$prefix/games/gorum-check"
[[ $status == 0 && -z $out && -z $err ]] ||
    fail "installed gorum-check without DIR: status $status, stdout '${out:0:200}', stderr '$err'"
# A level name no level has proves the planner reached the installed content.
run "$prefix/games/gorum-plan" ZZ
[[ $status == 2 && $err == 'gorum-plan: no level is named "ZZ"'* ]] ||
    fail "installed gorum-plan without DIR: status $status, stdout '$out', stderr '$err'"
# The working directory wins when it is a game folder.
mkdir -p "$scratch/nowhere/content"
run "$prefix/games/gorum-plan" 01
[[ $status == 2 && $err == 'gorum-plan: no level is named "01"'* ]] ||
    fail "gorum-plan in an empty game folder: status $status, stdout '$out', stderr '$err'"
echo "PASS"
