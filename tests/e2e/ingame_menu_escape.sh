#!/usr/bin/env bash
# A player starts a free drive, presses Escape on the apron, sees the in-game
# menu, opens the options from it and goes back to the main menu with the
# menu's button. Expects an X display and the binary folder as the first
# argument; KB_E2E_LANGUAGE picks the language (default English).
set -u
bin_dir=${1:?binary folder}
source "$(dirname "$0")/lib/player.sh"

read -r exit_x exit_y < <(widget_centre main_menu.layout btn_exit full edge)
read -r free_x free_y < <(widget_centre main_menu.layout btn_free_game full)
read -r quit_x quit_y < <(widget_centre ingame_menu.layout btn_quit centre edge)
read -r continue_x continue_y < <(widget_centre ingame_menu.layout btn_continue centre edge)
read -r settings_x settings_y < <(widget_centre ingame_menu.layout btn_settings centre)
read -r reject_x reject_y < <(widget_centre settings_panel.layout btn_settings_reject centre edge)
read -r accept_x accept_y < <(widget_centre settings_panel.layout btn_settings_accept centre edge)
[ -n "${reject_y:-}" ] || fail "a widget is missing from the layouts"

menu_open() {
  shoot "$work/now.png"
  [ "$(pixel_kind "$work/now.png" "$quit_x" "$quit_y")" = grey ] &&
    [ "$(pixel_kind "$work/now.png" "$continue_x" "$continue_y")" = orange ]
}

write_config "${KB_E2E_LANGUAGE:-English}"
start_game
wait_for_grey "$exit_x" "$exit_y" || fail "the main menu did not appear"
click_at "$free_x" "$free_y" 2

# The apron loads (slowly on a software renderer); Escape is read by the
# driving state only, so it is pressed until the in-game menu shows.
opened=""
for _ in $(seq 1 60); do
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --window "$win" Escape
  sleep 3
  if menu_open; then opened=yes; break; fi
  kill -0 "$pid" 2>/dev/null || fail "the game ended during the free drive"
done
[ -n "$opened" ] || fail "Escape in the free drive did not open the in-game menu"
sleep 1
[ -n "${KB_E2E_SHOTS:-}" ] && shoot "$KB_E2E_SHOTS/ingame-menu-${KB_E2E_LANGUAGE:-English}.png"

# Options from the in-game menu, rejected again. The window slides in at the
# game's frame rate, which is low on a software renderer.
click_at "$settings_x" "$settings_y" 1
shown=""
for _ in $(seq 1 30); do
  shoot "$work/options.png"
  if [ "$(pixel_kind "$work/options.png" "$reject_x" "$reject_y")" = grey ] &&
     [ "$(pixel_kind "$work/options.png" "$accept_x" "$accept_y")" = orange ]; then shown=yes; break; fi
  sleep 1
done
[ -n "$shown" ] || fail "the options window did not open"
sleep 1
[ -n "${KB_E2E_SHOTS:-}" ] && shoot "$KB_E2E_SHOTS/options-${KB_E2E_LANGUAGE:-English}.png"
click_at "$reject_x" "$reject_y" 3

click_at "$quit_x" "$quit_y" 2
wait_for_grey "$exit_x" "$exit_y" || fail "the main-menu button did not return to the main menu"
menu_open && fail "the in-game menu is still shown over the main menu"
click_at "$exit_x" "$exit_y" 0
wait_for_end
echo "Escape in a free drive opened the in-game menu; its options opened and its main-menu button returned to the menu"
