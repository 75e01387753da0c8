#!/usr/bin/env bash
# A player with three badges opens the achievements from the main menu, looks
# at them and closes the window with Escape, then leaves the game.
# Expects an X display and the binary folder as the first argument.
set -u
bin_dir=${1:?binary folder}
source "$(dirname "$0")/lib/player.sh"
source "$(dirname "$0")/lib/regions.sh"

read -r exit_x exit_y < <(widget_centre main_menu.layout btn_exit full)
read -r open_x open_y < <(widget_centre main_menu.layout btn_achievements full)
read -r w h < <(layout_size achievement_panel.layout)
[ -n "${open_y:-}" ] && [ -n "${h:-}" ] || fail "a widget is missing from the layouts"
# The inside of the centred window.
x=$(( 512 - w / 2 + 20 )); y=$(( 384 - h / 2 + 100 )); rw=$(( w - 40 )); rh=$(( h - 200 ))

write_config English
cat > "$home/user_data.xml" <<'XML'
<?xml version="1.0" ?>
<root>
    <achievements achievement1="true" achievement5="true" achievement8="true" />
</root>
XML

start_game
wait_for_grey "$((exit_x - 130))" "$exit_y" || fail "the main menu did not appear"
# Hovering moves the keyboard focus: it rests on the button that is clicked
# below, as after the click. The pointer then rests in a corner, so no tooltip
# covers what is compared.
xdotool mousemove --window "$win" "$open_x" "$open_y"
sleep 1
xdotool mousemove --window "$win" 1010 760
sleep 2
shoot "$work/menu.png"

click_at "$open_x" "$open_y"
xdotool mousemove --window "$win" 1010 760
wait_region other "$work/menu.png" "$x" "$y" "$rw" "$rh" 20 || fail "no achievement window after the button"
sleep 1
[ -n "${KB_E2E_SHOTS:-}" ] && shoot "$KB_E2E_SHOTS/achievements.png"

# Escape closes the window; the menu underneath is as it was.
xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key --window "$win" Escape
wait_region same "$work/menu.png" "$x" "$y" "$rw" "$rh" 20 || fail "the achievement window is still up after Escape"

click_at "$exit_x" "$exit_y" 0
wait_for_end
grep -q 'achievement1="true"' "$home/user_data.xml" || fail "the earned badges were lost: $(cat "$home/user_data.xml")"
echo "achievements button opened the window, Escape closed it, the game ended with code 0"
