#!/usr/bin/env bash
# A player starts the game, waits for the main menu and leaves with the exit
# button. Expects an X display (ctest runs it through tools/with-display.sh)
# and the binary folder as the first argument.
set -u
bin_dir=${1:?binary folder}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/kb_e2e_XXXXXX)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; [ -f "$work/out.txt" ] && sed 's/^/  game: /' "$work/out.txt"; exit 1; }

export XDG_DATA_HOME="$work/data" ALSOFT_DRIVERS=null ALSOFT_LOGLEVEL=0
home="$XDG_DATA_HOME/brightmoor/kestrelby"
mkdir -p "$home"
cat > "$home/config.xml" <<'XML'
<?xml version="1.0" ?>
<root>
    <Display fullscreen="false" width="1024" height="768" />
</root>
XML

# The button's centre in window pixels, from the layout: the offsets of the
# button and its parents plus half the button's size.
read -r click_x click_y < <(python3 - "$source_dir/assets/ui/main_menu.layout" <<'PY'
import sys, xml.etree.ElementTree as ET
def find(node, x, y):
    for w in node.findall("Widget"):
        px, py, pw, ph = map(int, w.get("position").split())
        if w.get("name") == "btn_exit":
            return x + px + pw // 2, y + py + ph // 2
        hit = find(w, x + px, y + py)
        if hit:
            return hit
print(*find(ET.parse(sys.argv[1]).getroot(), 0, 0))
PY
)
[ -n "${click_y:-}" ] || fail "btn_exit not found in main_menu.layout"

cd "$bin_dir"
./kestrelby > "$work/out.txt" 2>&1 &
pid=$!

win=""
for _ in $(seq 1 60); do
  win=$(xdotool search --onlyvisible --name '^Main$' 2>/dev/null | head -1)
  [ -n "$win" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the game ended before its window opened"
  sleep 1
done
[ -n "$win" ] || fail "no game window within 60 s"

# The menu is up once the exit button's grey face is drawn where the layout puts it.
shown=""
for _ in $(seq 1 60); do
  import -window "$win" "$work/menu.png" 2>/dev/null
  pixel=$(convert "$work/menu.png" -format "%[fx:int(255*p{$click_x,$click_y}.r)] %[fx:int(255*p{$click_x,$click_y}.g)] %[fx:int(255*p{$click_x,$click_y}.b)]" info: 2>/dev/null)
  read -r r g b <<<"${pixel:-0 0 0}"
  # Grey: channels close together and neither dark nor white.
  if [ "$r" -gt 50 ] && [ "$r" -lt 200 ] && [ $((r > b ? r - b : b - r)) -lt 40 ]; then shown=yes; break; fi
  sleep 1
done
[ -n "$shown" ] || fail "the main menu's exit button did not appear at ($click_x, $click_y), pixel: $pixel"
[ -n "${KB_E2E_SHOTS:-}" ] && cp "$work/menu.png" "$KB_E2E_SHOTS/main-menu.png"

xdotool windowfocus --sync "$win" 2>/dev/null
xdotool mousemove --window "$win" "$click_x" "$click_y"
sleep 0.5
xdotool click 1

for _ in $(seq 1 30); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 1
done
kill -0 "$pid" 2>/dev/null && fail "the game is still running 30 s after the exit button was clicked"
wait "$pid"
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"

config="$home/config.xml"
for expected in 'fullscreen="false"' 'width="1024"' 'height="768"' 'sfx="0.200000"' 'voice="1.000000"' \
                'music="1.000000"' 'mute="false"' 'language="Deutsch"'; do
  grep -q "$expected" "$config" || fail "config.xml lacks $expected: $(cat "$config")"
done
[ -f "$home/user_data.xml" ] || fail "no user_data.xml"
[ -f "$home/kb_o.log" ] || fail "no kb_o.log"
echo "main menu shown, exit button ended the game with code 0, settings hold their defaults"
