#!/usr/bin/env bash
# A player starts the game, waits for the main menu and leaves with the exit
# button. Expects an X display (ctest runs it through tools/with-display.sh)
# and the binary folder as the first argument.
set -u
bin_dir=${1:?binary folder}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/kb_e2e_XXXXXX)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
source "$source_dir/tests/e2e/lib/main_menu.bash"

e2e_prepare_user_folder
e2e_find_exit_button
e2e_start_game "$bin_dir" ./kestrelby
e2e_wait_main_menu
[ -n "${KB_E2E_SHOTS:-}" ] && cp "$work/menu.png" "$KB_E2E_SHOTS/main-menu.png"
e2e_exit_through_menu

config="$home/config.xml"
for expected in 'fullscreen="false"' 'width="1024"' 'height="768"' 'sfx="0.200000"' 'voice="1.000000"' \
                'music="1.000000"' 'mute="false"' 'language="Deutsch"'; do
  grep -q "$expected" "$config" || fail "config.xml lacks $expected: $(cat "$config")"
done
[ -f "$home/user_data.xml" ] || fail "no user_data.xml"
[ -f "$home/kb_o.log" ] || fail "no kb_o.log"
echo "main menu shown, exit button ended the game with code 0, settings hold their defaults"
