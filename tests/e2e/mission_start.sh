#!/usr/bin/env bash
# A player opens the missions from the main menu, picks mission 1, starts it
# and drives: the game state runs with the mission's catering truck. Then the
# in-game menu leads back to the main menu and the player leaves.
# Expects an X display and the binary folder as the first argument.
set -u
bin_dir=${1:?binary folder}
source "$(dirname "$0")/lib/player.sh"
source "$(dirname "$0")/lib/regions.sh"

read -r exit_x exit_y < <(widget_centre main_menu.layout btn_exit full)
read -r missions_x missions_y < <(widget_centre main_menu.layout btn_start_game full)
read -r list_x list_y < <(widget_centre missionselect_panel.layout mission_list centre)
read -r start_x start_y < <(widget_centre missionselect_panel.layout btn_start_mission centre)
read -r quit_x quit_y < <(widget_centre ingame_menu.layout btn_quit centre)
read -r w h < <(layout_size missionselect_panel.layout)
read -r list_w list_h < <(python3 - "$layouts/missionselect_panel.layout" <<'PY'
import sys, xml.etree.ElementTree as ET
for w in ET.parse(sys.argv[1]).iter("Widget"):
    if w.get("name") == "mission_list":
        print(*w.get("position").split()[2:])
PY
)
[ -n "${quit_y:-}" ] && [ -n "${list_h:-}" ] || fail "a widget is missing from the layouts"
# The first entry's button: the top of the list, 2 pixels down, 58 high.
first_x=$(( list_x - list_w / 2 + 153 )); first_y=$(( list_y - list_h / 2 + 2 + 29 ))
x=$(( 512 - w / 2 + 20 )); y=$(( 384 - h / 2 + 60 )); rw=$(( w - 40 )); rh=$(( h - 120 ))

write_config English
start_game
wait_for_grey "$((exit_x - 130))" "$exit_y" || fail "the main menu did not appear"
shoot "$work/menu.png"

click_at "$missions_x" "$missions_y"
wait_region other "$work/menu.png" "$x" "$y" "$rw" "$rh" 20 || fail "no mission selection after the missions button"
sleep 1
shoot "$work/selection.png"
click_at "$first_x" "$first_y" 2
# The briefing, map and preview of mission 1 replace the overview.
shoot "$work/picked.png"
changed=$(differing "$work/selection.png" "$work/picked.png" "$x" "$y" "$rw" "$rh")
[ "${changed%%.*}" -gt 2000 ] 2>/dev/null || fail "picking mission 1 changed nothing ($changed pixels)"
sleep 2
[ -n "${KB_E2E_SHOTS:-}" ] && shoot "$KB_E2E_SHOTS/mission-selection.png"

click_at "$start_x" "$start_y" 0
log="$home/kb_o.log"
spawned=""
for _ in $(seq 1 180); do
  grep -q "spawning vehicle CateringTruck" "$log" 2>/dev/null && spawned=yes && break
  kill -0 "$pid" 2>/dev/null || fail "the game ended after Start"
  sleep 1
done
[ -n "$spawned" ] || fail "no catering truck was placed within 180 s of Start"
grep -q "spawning vehicle FuelTruck\|spawning vehicle BaggageCart" "$log" && fail "mission 1 placed another vehicle"
grep -q "Mesh: Loading cateringtruck.mesh" "$log" || fail "the catering truck's model was not loaded"
# The game draws the apron instead of the menu.
wait_region other "$work/menu.png" 0 0 1024 768 60 || fail "the screen still shows the menu"
sleep 3
[ -n "${KB_E2E_SHOTS:-}" ] && shoot "$KB_E2E_SHOTS/mission-1.png"
kill -0 "$pid" 2>/dev/null || fail "the game ended while the mission ran"

# Escape opens the in-game menu; quitting leads back to the main menu.
xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key --window "$win" Escape
sleep 3
click_at "$quit_x" "$quit_y" 3
wait_for_grey "$((exit_x - 130))" "$exit_y" || fail "the main menu did not come back after quitting the mission"
click_at "$exit_x" "$exit_y" 0
wait_for_end
echo "missions button, mission 1 and Start ran the game state with the catering truck; the game ended with code 0"
