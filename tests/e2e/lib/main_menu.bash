# Shared steps of the end-to-end scripts: a private per-user folder, starting
# the game, waiting for its main menu and leaving through the exit button.
# Source it after setting `work` (a temporary folder) and `source_dir`.

fail() { echo "FAIL: $*"; [ -f "$work/out.txt" ] && sed 's/^/  game: /' "$work/out.txt"; exit 1; }

# A windowed 1024x768 game with its settings and logs under $work/data.
e2e_prepare_user_folder() {
  export XDG_DATA_HOME="$work/data" ALSOFT_DRIVERS=null ALSOFT_LOGLEVEL=0
  home="$XDG_DATA_HOME/brightmoor/kestrelby"
  mkdir -p "$home"
  cat > "$home/config.xml" <<'XML'
<?xml version="1.0" ?>
<root>
    <Display fullscreen="false" width="1024" height="768" />
</root>
XML
}

# The exit button's centre in window pixels, from the layout: the offsets of
# the button and its parents plus half the button's size.
e2e_find_exit_button() {
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
}

# Starts the program $2 from the folder $1; sets pid.
e2e_start_game() {
  (cd "$1" && exec "$2") > "$work/out.txt" 2>&1 &
  pid=$!
}

# Waits for the game's window and for the exit button's grey face where the
# layout puts it; sets win. The picture is kept as $work/menu.png.
e2e_wait_main_menu() {
  win=""
  for _ in $(seq 1 60); do
    win=$(xdotool search --onlyvisible --name '^Main$' 2>/dev/null | head -1)
    [ -n "$win" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended before its window opened"
    sleep 1
  done
  [ -n "$win" ] || fail "no game window within 60 s"

  local shown="" pixel="" r g b
  for _ in $(seq 1 60); do
    import -window "$win" "$work/menu.png" 2>/dev/null
    pixel=$(convert "$work/menu.png" -format "%[fx:int(255*p{$click_x,$click_y}.r)] %[fx:int(255*p{$click_x,$click_y}.g)] %[fx:int(255*p{$click_x,$click_y}.b)]" info: 2>/dev/null)
    read -r r g b <<<"${pixel:-0 0 0}"
    # Grey: channels close together and neither dark nor white.
    if [ "$r" -gt 50 ] && [ "$r" -lt 200 ] && [ $((r > b ? r - b : b - r)) -lt 40 ]; then shown=yes; break; fi
    sleep 1
  done
  [ -n "$shown" ] || fail "the main menu's exit button did not appear at ($click_x, $click_y), pixel: $pixel"
}

# Clicks the exit button and expects the game to end with code 0.
e2e_exit_through_menu() {
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool mousemove --window "$win" "$click_x" "$click_y"
  sleep 0.5
  xdotool click 1

  for _ in $(seq 1 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 1
  done
  kill -0 "$pid" 2>/dev/null && fail "the game is still running 30 s after the exit button was clicked"
  local code=0
  wait "$pid" || code=$?
  [ "$code" -eq 0 ] || fail "exit code $code"
}
