# Shared steps of the end-to-end scripts: start the game in a private user
# directory, find its window, locate widgets from the layouts and click them
# as a player would. Source it after setting bin_dir.
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
layouts="$source_dir/assets/ui"
work=$(mktemp -d /tmp/kb_e2e_XXXXXX)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; [ -f "$work/out.txt" ] && sed 's/^/  game: /' "$work/out.txt"; exit 1; }

export XDG_DATA_HOME="$work/data" ALSOFT_DRIVERS=null ALSOFT_LOGLEVEL=0
home="$XDG_DATA_HOME/brightmoor/kestrelby"
config="$home/config.xml"
mkdir -p "$home"

# A windowed 1024 x 768 game in the given language.
write_config() {
  cat > "$config" <<XML
<?xml version="1.0" ?>
<root>
    <Display fullscreen="false" width="1024" height="768" />
    <ui language="$1" />
</root>
XML
}

# widget_centre LAYOUT NAME PLACEMENT [edge]: the widget's centre in window
# pixels, or with "edge" a point 8 pixels inside its left edge (beside the
# caption). PLACEMENT is "full" (the layout at the top left) or "centre" (the
# layout's root centred on a 1024 x 768 window, as the modal windows place
# themselves).
widget_centre() {
  python3 - "$layouts/$1" "$2" "$3" "${4:-centre}" <<'PY'
import sys, xml.etree.ElementTree as ET
path, name, placement, where = sys.argv[1:5]
root = ET.parse(path).getroot()
first = root.find("Widget")
rw, rh = map(int, first.get("position").split()[2:])
ox, oy = (0, 0) if placement == "full" else (512 - rw // 2, 384 - rh // 2)
def find(node, x, y):
    for w in node.findall("Widget"):
        px, py, pw, ph = map(int, w.get("position").split())
        if w.get("name") == name:
            return x + px + (8 if where == "edge" else pw // 2), y + py + ph // 2
        hit = find(w, x + px, y + py)
        if hit:
            return hit
hit = find(root, ox, oy)
if hit:
    print(*hit)
PY
}

start_game() {
  cd "$bin_dir" || fail "no binary folder $bin_dir"
  # The display must answer before the game is asked to open a window on it.
  for _ in $(seq 1 40); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.25
  done
  ./kestrelby >> "$work/out.txt" 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 1 60); do
    win=$(xdotool search --onlyvisible --name '^Main$' 2>/dev/null | head -1)
    [ -n "$win" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended before its window opened"
    sleep 1
  done
  [ -n "$win" ] || fail "no game window within 60 s"
}

shoot() { import -window "$win" "$1" 2>/dev/null; }

# press KEY [SECONDS]: one key tap in the game's window, then a pause (1 s).
press() {
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --window "$win" "$1"
  sleep "${2:-1}"
}
# Root-mean-square difference of two pictures in the work folder, 0 (alike) to 1.
difference() { compare -metric RMSE "$work/$1.png" "$work/$2.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }
above() { python3 -c "import sys; sys.exit(0 if float('${1:-0}') > float('$2') else 1)"; }

# pixel_kind IMAGE X Y: "grey" for a grey button face, "orange" for an orange
# one, "other" otherwise.
pixel_kind() {
  local r g b pixel
  pixel=$(convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info: 2>/dev/null)
  read -r r g b <<<"${pixel:-0 0 0}"
  if [ "$r" -gt 50 ] && [ "$r" -lt 200 ] && [ $((r > b ? r - b : b - r)) -lt 40 ]; then echo grey
  elif [ "$r" -gt 180 ] && [ "$b" -lt 120 ] && [ "$g" -lt 200 ]; then echo orange
  else echo other; fi
}

# Waits until the pixel at (x, y) is a grey button face: the menu is drawn.
wait_for_grey() {
  for _ in $(seq 1 90); do
    shoot "$work/wait.png"
    [ "$(pixel_kind "$work/wait.png" "$1" "$2")" = grey ] && return 0
    sleep 1
  done
  return 1
}

click_at() {
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool mousemove --window "$win" "$1" "$2"
  sleep 0.5
  xdotool click 1
  sleep "${3:-1}"
}

wait_for_end() {
  for _ in $(seq 1 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 1
  done
  kill -0 "$pid" 2>/dev/null && fail "the game is still running 30 s after it was asked to end"
  wait "$pid"
  local code=$?
  pid=""
  [ "$code" -eq 0 ] || fail "exit code $code"
}
