#!/usr/bin/env bash
# A player switches the language in the options, accepts, leaves and starts
# again: the menu now speaks the other language. Expects an X display and the
# binary folder as the first argument.
set -u
bin_dir=${1:?binary folder}
source "$(dirname "$0")/lib/player.sh"

read -r exit_x exit_y < <(widget_centre main_menu.layout btn_exit full edge)
read -r options_x options_y < <(widget_centre main_menu.layout btn_options full)
read -r start_x start_y < <(widget_centre main_menu.layout btn_start_game full)
read -r right_x right_y < <(widget_centre settings_panel.layout btn_lang_right centre)
read -r accept_x accept_y < <(widget_centre settings_panel.layout btn_settings_accept centre)
read -r hint_x hint_y < <(widget_centre switchhint_panel.layout btn_switchhint centre)
[ -n "${hint_y:-}" ] || fail "a widget is missing from the layouts"

# The caption of the first menu button, as drawn.
caption() { convert "$1" -crop "300x40+$((start_x - 150))+$((start_y - 20))" +repage "$2"; }

write_config Deutsch
start_game
wait_for_grey "$exit_x" "$exit_y" || fail "the main menu did not appear"
shoot "$work/deutsch.png"
caption "$work/deutsch.png" "$work/deutsch_caption.png"

click_at "$options_x" "$options_y" 2
[ -n "${KB_E2E_SHOTS:-}" ] && shoot "$KB_E2E_SHOTS/options-deutsch.png"
click_at "$right_x" "$right_y"
click_at "$accept_x" "$accept_y" 2
grep -q 'language="English"' "$config" || fail "the accepted language is not stored: $(cat "$config")"
# The hint says it takes effect at the next start.
click_at "$hint_x" "$hint_y" 2
click_at "$exit_x" "$exit_y" 0
wait_for_end
grep -q 'language="English"' "$config" || fail "the language was lost on exit: $(cat "$config")"

start_game
wait_for_grey "$exit_x" "$exit_y" || fail "the main menu did not appear after the restart"
shoot "$work/english.png"
caption "$work/english.png" "$work/english_caption.png"
[ -n "${KB_E2E_SHOTS:-}" ] && cp "$work/english.png" "$KB_E2E_SHOTS/main-menu-english.png"
difference=$(compare -metric AE "$work/deutsch_caption.png" "$work/english_caption.png" null: 2>&1)
[ "${difference%% *}" -gt 200 ] 2>/dev/null || fail "the menu's caption did not change ($difference pixels differ)"
click_at "$exit_x" "$exit_y" 0
wait_for_end
echo "language switched to English in the options; after a restart the menu reads differently ($difference pixels)"
