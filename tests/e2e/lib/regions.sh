# Region checks on pictures of the game window, for scripts that wait for a
# window to open or close. Source after lib/player.sh (uses work, win, pid, shoot).

# How many pixels of a region differ between two pictures: differing A B x y w h
differing() {
  convert "$1" -crop "$5x$6+$3+$4" +repage "$work/region_a.png" 2>/dev/null
  convert "$2" -crop "$5x$6+$3+$4" +repage "$work/region_b.png" 2>/dev/null
  compare -metric AE -fuzz 6% "$work/region_a.png" "$work/region_b.png" null: 2>&1 | cut -d' ' -f1
}

# Waits up to N seconds until the region looks like the reference again
# ("same") or clearly not ("other"): wait_region same|other REF x y w h N
wait_region() {
  local want=$1 ref=$2 n
  for _ in $(seq 1 "$7"); do
    shoot "$work/now.png"
    n=$(differing "$ref" "$work/now.png" "$3" "$4" "$5" "$6")
    n=${n%%.*}
    if [ "$want" = same ] && [ "${n:-999999}" -lt 200 ]; then return 0; fi
    if [ "$want" = other ] && [ "${n:-0}" -gt 2000 ]; then return 0; fi
    kill -0 "$pid" 2>/dev/null || fail "the game ended"
    sleep 1
  done
  return 1
}

# The root widget's size of a layout: layout_size LAYOUT -> "w h"
layout_size() {
  python3 - "$layouts/$1" <<'PY'
import sys, xml.etree.ElementTree as ET
print(*ET.parse(sys.argv[1]).getroot().find("Widget").get("position").split()[2:])
PY
}
