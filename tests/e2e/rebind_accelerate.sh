#!/usr/bin/env bash
# A player rebinds "accelerate" to W without a mouse: Down to the options,
# Enter, Down to "Controls", Enter, Enter on the accelerate key, W. The
# binding is stored; in a free drive W then drives and Up (now unbound) does
# not. Keys only. Expects an X display and the binary folder as the first argument.
set -u
bin_dir=${1:?binary folder}
source "$(dirname "$0")/lib/player.sh"

read -r exit_x exit_y < <(widget_centre main_menu.layout btn_exit full)
[ -n "${exit_y:-}" ] || fail "a widget is missing from the layouts"

shot() {
  shoot "$work/$1.png"
  [ -n "${KB_E2E_SHOTS:-}" ] && cp "$work/$1.png" "$KB_E2E_SHOTS/rebind-$1.png"
  return 0
}
hold() {
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}

write_config "${KB_E2E_LANGUAGE:-English}"
start_game
wait_for_grey "$((exit_x - 130))" "$exit_y" || fail "the main menu did not appear"
sleep 1

# Missions, free drive, achievements, options.
press Down; press Down; press Down
press Return 3
# Music, effects, sound off, ghost, full screen, resolution, language, controls.
for _ in 1 2 3 4 5 6 7; do press Down 0.5; done
press Return 3
shot controls
press Return 1
press w 1
shot rebound
grep -q 'accelerate="W,righttrigger"' "$config" || fail "the new binding was not stored: $(grep -o '<Controls[^>]*>' "$config")"
# Escape leaves the controls, then rejects the options: the binding stays.
press Escape 2
press Escape 2
grep -q 'accelerate="W,righttrigger"' "$config" || fail "leaving the options undid the binding"

# The focus is still on Options: up to Free drive.
press Up; press Up
press Return 0
built=""
for _ in $(seq 1 120); do
  grep -q "after reset spawning vehicle" "$home/kb_o.log" 2>/dev/null && { built=yes; break; }
  kill -0 "$pid" 2>/dev/null || fail "the game ended while the free drive was loading"
  sleep 1
done
[ -n "$built" ] || fail "Enter on the free drive placed no vehicle within 120 s"
sleep 8
shot parked
hold Up 3
sleep 2
shot after-up
still=$(difference parked after-up)
above "$still" 0.03 && fail "Up still drives after accelerate moved to W ($still)"
hold w 3
sleep 2
shot after-w
moved=$(difference after-up after-w)
above "$moved" 0.03 || fail "W did not drive ($moved)"

press Escape 3
press Up 1
press Return 3
wait_for_grey "$((exit_x - 130))" "$exit_y" || fail "the main menu did not come back"
press Up 1
press Return 0
wait_for_end
echo "keys only: accelerate rebound to W and stored; in the free drive Up left the view as it was ($still) and W drove ($moved); out with code 0"
