#!/usr/bin/env bash
# The worked example of the author's guide, taken from the guide itself so that the two cannot drift
# apart: its files written into a fresh game folder with the shipped pictures, checked clean by
# gorum-check, and won by gorum-plan with the result the guide promises.
# Usage: authoring_example_test.sh SOURCE-DIR GORUM-CHECK GORUM-PLAN
set -u
source_dir=$1
check=$2
plan=$3
guide=$source_dir/docs/authoring.md

fail() { echo "FAIL: $*"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
game=$scratch/example
mkdir -p "$game"
ln -s "$source_dir/media" "$game/media"

# Every fenced block right after a line **`content/...`** is that file of the example.
awk -v root="$game" '
  /^\*\*`content\/[^`]*`\*\*$/ { name = substr($0, 4, length($0) - 6); next }
  name != "" && /^```/ && !inside { inside = 1; path = root "/" name; system("mkdir -p \"$(dirname \"" path "\")\""); printf "" > path; next }
  inside && /^```$/ { inside = 0; close(path); print name; name = ""; next }
  inside { print >> path }
' "$guide" >"$scratch/files"
count=$(wc -l <"$scratch/files")
((count >= 8)) || fail "the guide's example gave only $count files: $(cat "$scratch/files")"
for kind in items actions stations levels html tut; do
    grep -q "^content/$kind/" "$scratch/files" || fail "the guide's example has no file under content/$kind"
done

output=$("$check" "$game" 2>&1)
status=$?
[[ $status == 0 && -z $output ]] || fail "gorum-check on the example: status $status
$output"

level=$(sed -n 's/^NAME="\(..\)"$/\1/p' "$game"/content/levels/*.txt | head -1)
[[ -n $level ]] || fail "no two-character level name in the example"
output=$("$plan" "$game" "$level" 2>&1)
status=$?
[[ $status == 0 ]] || fail "gorum-plan $level on the example: status $status
$output"
promised=$(grep '^Won at the end of week' "$guide")
[[ -n $promised ]] || fail "the guide promises no result of gorum-plan"
while IFS= read -r line; do
    grep -qxF "$line" <<<"$output" || fail "gorum-plan did not print the guide's \"$line\":
$output"
done <<<"$promised"
echo "PASS: $count files, level $level"
