#!/usr/bin/env bash
# The game finds its data from any working folder: started from the source
# root and from /tmp it reaches its main menu; pointed at a folder without
# data it says so on one line and fails. Expects an X display and the binary
# folder as the first argument.
set -u
bin_dir=$(cd "${1:?binary folder}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/kb_e2e_XXXXXX)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
source "$source_dir/tests/e2e/lib/main_menu.bash"

e2e_prepare_user_folder
e2e_find_exit_button
unset KB_DATA_DIR

for start in "$source_dir" /tmp; do
  e2e_start_game "$start" "$bin_dir/kestrelby"
  e2e_wait_main_menu
  e2e_exit_through_menu
  echo "started from $start: main menu shown, ended with code 0"
done

# An override names the only folder tried: an empty one is an error, not a
# silent fall-back to the build's data.
mkdir -p "$work/empty"
code=0
(cd / && KB_DATA_DIR="$work/empty" "$bin_dir/kestrelby") > "$work/out.txt" 2> "$work/err.txt" || code=$?
[ "$code" -ne 0 ] || fail "KB_DATA_DIR=$work/empty: exit code 0"
[ "$(wc -l < "$work/err.txt")" -eq 1 ] || fail "expected one error line, got: $(cat "$work/err.txt")"
grep -q "^kestrelby: no game data .*KB_DATA_DIR=$work/empty" "$work/err.txt" ||
  fail "the error does not name the folder tried: $(cat "$work/err.txt")"
grep -q "cmake --build" "$work/err.txt" || fail "the error does not say how to build the data: $(cat "$work/err.txt")"
[ -z "$(xdotool search --onlyvisible --name '^Main$' 2>/dev/null)" ] || fail "a window opened without data"
echo "KB_DATA_DIR at an empty folder: exit code $code, $(cat "$work/err.txt")"

# Without a display the start fails, says why in one line of its own, and
# takes down what it had started: code 255, never a crash.
code=0
(cd / && env -u DISPLAY "$bin_dir/kestrelby") > "$work/out.txt" 2> "$work/err.txt" || code=$?
[ "$code" -eq 255 ] || fail "without a display: exit code $code (a crash is 134 or 139): $(tail -3 "$work/err.txt")"
grep -q "^kestrelby: cannot start: the render window could not be opened" "$work/err.txt" ||
  fail "without a display: no reason given: $(cat "$work/err.txt")"
echo "without a display: exit code $code, $(grep '^kestrelby:' "$work/err.txt")"
