#!/usr/bin/env bash
# A player without a mouse: Enter on the main menu's first button opens the
# missions, Enter picks the highest unlocked mission (1 on a first start) and
# moves on to Start, Enter starts it; the HUD shows. Escape opens the in-game
# menu, Up and Enter choose its main-menu button, and Up and Enter on the main
# menu's first button reach Exit. Keys only; the pointer is never moved.
# Expects an X display and the binary folder as the first argument.
set -u
bin_dir=${1:?binary folder}
source "$(dirname "$0")/lib/player.sh"
source "$(dirname "$0")/lib/regions.sh"

read -r exit_x exit_y < <(widget_centre main_menu.layout btn_exit full)
read -r quit_x quit_y < <(widget_centre ingame_menu.layout btn_quit centre edge)
read -r continue_x continue_y < <(widget_centre ingame_menu.layout btn_continue centre edge)
read -r w h < <(layout_size missionselect_panel.layout)
[ -n "${continue_y:-}" ] && [ -n "${h:-}" ] || fail "a widget is missing from the layouts"
x=$(( 512 - w / 2 + 20 )); y=$(( 384 - h / 2 + 60 )); rw=$(( w - 40 )); rh=$(( h - 120 ))

# dark_at IMAGE X Y: the pixel is one of the HUD boxes' dark faces.
dark_at() {
  local pixel r g b
  pixel=$(convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info: 2>/dev/null)
  read -r r g b <<<"${pixel:-255 255 255}"
  [ "$r" -lt 80 ] && [ "$g" -lt 80 ] && [ "$b" -lt 90 ]
}

write_config English
start_game
wait_for_grey "$((exit_x - 130))" "$exit_y" || fail "the main menu did not appear"
sleep 1
shoot "$work/menu.png"

press Return 2
wait_region other "$work/menu.png" "$x" "$y" "$rw" "$rh" 20 || fail "Enter on the main menu opened no mission selection"
sleep 2
shoot "$work/selection.png"
press Return 2
shoot "$work/picked.png"
changed=$(differing "$work/selection.png" "$work/picked.png" "$x" "$y" "$rw" "$rh")
[ "${changed%%.*}" -gt 2000 ] 2>/dev/null || fail "Enter on the focused mission showed nothing ($changed pixels)"
[ -n "${KB_E2E_SHOTS:-}" ] && shoot "$KB_E2E_SHOTS/keyboard-focus-start.png"
press Return 0

log="$home/kb_o.log"
spawned=""
for _ in $(seq 1 180); do
  grep -q "spawning vehicle CateringTruck" "$log" 2>/dev/null && spawned=yes && break
  kill -0 "$pid" 2>/dev/null || fail "the game ended after Enter on Start"
  sleep 1
done
[ -n "$spawned" ] || fail "Enter on Start placed no catering truck within 180 s"

# The time and score boxes of the HUD at the top corners, over the sky.
hud=""
for _ in $(seq 1 60); do
  shoot "$work/hud.png"
  if dark_at "$work/hud.png" 200 72 && dark_at "$work/hud.png" 800 72; then hud=yes; break; fi
  sleep 1
done
[ -n "$hud" ] || fail "no HUD after the mission started"

menu_open() {
  shoot "$work/now.png"
  [ "$(pixel_kind "$work/now.png" "$quit_x" "$quit_y")" = grey ] &&
    [ "$(pixel_kind "$work/now.png" "$continue_x" "$continue_y")" = orange ]
}
opened=""
for _ in $(seq 1 10); do
  press Escape 3
  if menu_open; then opened=yes; break; fi
  kill -0 "$pid" 2>/dev/null || fail "the game ended during the mission"
done
[ -n "$opened" ] || fail "Escape did not open the in-game menu"
[ -n "${KB_E2E_SHOTS:-}" ] && shoot "$KB_E2E_SHOTS/keyboard-focus-ingame.png"

# Continue has the focus; Up wraps round to the main-menu button.
press Up 1
press Return 3
wait_for_grey "$((exit_x - 130))" "$exit_y" || fail "Up and Enter in the in-game menu did not return to the main menu"
menu_open && fail "the in-game menu is still shown over the main menu"
press Up 1
press Return 0
wait_for_end
echo "keys only: Enter opened the missions, picked mission 1 and started it, the HUD showed; Escape, Up, Enter returned to the main menu and Up, Enter ended the game with code 0"
