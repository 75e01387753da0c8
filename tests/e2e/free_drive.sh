#!/usr/bin/env bash
# A player starts a free drive from the main menu, drives ahead for two
# seconds, switches to the next vehicle with V, opens the in-game menu with
# Escape, goes back to the main menu and leaves with the exit button.
# Expects an X display and the binary folder as the first argument.
# KB_E2E_SHOTS, when set, is a folder that receives the screenshots.
set -u
bin_dir=${1:?binary folder}
source "$(dirname "$0")/lib/player.sh"

read -r exit_x exit_y < <(widget_centre main_menu.layout btn_exit full)
read -r free_x free_y < <(widget_centre main_menu.layout btn_free_game full)
read -r quit_x quit_y < <(widget_centre ingame_menu.layout btn_quit centre)
[ -n "${quit_y:-}" ] && [ -n "${free_y:-}" ] && [ -n "${exit_y:-}" ] || fail "a widget is missing from the layouts"
# The grey faces are probed left of the captions, which are drawn in white.
face_offset=120

shot() {
  shoot "$work/$1.png"
  [ -n "${KB_E2E_SHOTS:-}" ] && cp "$work/$1.png" "$KB_E2E_SHOTS/free-drive-$1.png"
  return 0
}
# wait_for_change NAME BEFORE THRESHOLD: shoots NAME until it differs from
# BEFORE by more than THRESHOLD (frames come slowly on a busy software renderer).
wait_for_change() {
  for _ in $(seq 1 60); do
    shot "$1"
    above "$(difference "$2" "$1")" "$3" && return 0
    kill -0 "$pid" 2>/dev/null || fail "the game ended while waiting for $1"
    sleep 1
  done
  return 1
}

write_config English
start_game
wait_for_grey "$((exit_x - face_offset))" "$exit_y" || fail "the main menu did not appear"
shot menu

# The airport is built and the vehicles placed (the rendering engine's log
# says so), then the apron replaces the menu.
click_at "$free_x" "$free_y" 0
built=""
for _ in $(seq 1 120); do
  grep -q "after reset spawning vehicle" "$home/kb_o.log" 2>/dev/null && { built=yes; break; }
  kill -0 "$pid" 2>/dev/null || fail "the game ended while the free drive was loading"
  sleep 1
done
[ -n "$built" ] || fail "no vehicle was placed within 120 s of clicking free drive"
# The apron differs from the menu in most pixels; the loading notice alone does not.
wait_for_change parked menu 0.25 || fail "the apron did not replace the menu ($(difference menu parked))"
changed=$(difference menu parked)
sleep 2
shot parked

# Two seconds with the throttle open: the vehicle and its camera move on.
xdotool windowfocus --sync "$win" 2>/dev/null
xdotool keydown Up
sleep 2
xdotool keyup Up
wait_for_change driven parked 0.03 || fail "driving ahead did not change the view ($(difference parked driven))"
moved=$(difference parked driven)
# Let the vehicle roll out, so the next change is the switch alone.
sleep 4
shot driven

# V hands the controls and the camera to the next vehicle, elsewhere on the apron.
xdotool key v
wait_for_change switched driven 0.1 || fail "V did not change the view ($(difference driven switched))"
switched=$(difference driven switched)

# Escape brings the in-game menu; its main-menu button leads back.
sleep 2
xdotool key Escape
wait_for_grey "$((quit_x - face_offset))" "$quit_y" || fail "the in-game menu did not appear after Escape"
shot paused
click_at "$quit_x" "$quit_y" 0
wait_for_grey "$((exit_x - face_offset))" "$exit_y" || fail "the main menu did not come back"
shot back
kill -0 "$pid" 2>/dev/null || fail "the game ended on its way back to the menu"

click_at "$exit_x" "$exit_y" 0
wait_for_end
echo "free drive: the view changed on the apron ($changed), when driving ($moved) and after V ($switched); back to the menu and out with code 0"
