#!/usr/bin/env bash
# Checks the Debian packages that `make deb` left in build/deb without building
# them again: each package holds its part of Debian's games layout, the game
# unpacked with dpkg-deb into a scratch root starts from / with the packaged
# library and data and reaches its main menu, and a program builds against the
# packaged headers in their prefixed form. Skipped (code 77) when no packages
# were built. Expects an X display and the binary folder as the first argument.
set -u
bin_dir=$(cd "${1:?binary folder}" && pwd)
build_dir=$(cd "$bin_dir/.." && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
debs="$build_dir/deb"
work=$(mktemp -d /tmp/kb_e2e_XXXXXX)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
source "$source_dir/tests/e2e/lib/main_menu.bash"

app_id=com.brightmoor.kestrelby
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)
if ! ls "$debs"/kestrelby_*.deb >/dev/null 2>&1; then
  echo "SKIP: no packages in $debs (make deb builds them)"
  exit 77
fi

# --- each package with its own part ----------------------------------------------
deb_of() { ls "$debs/$1"_*.deb 2>/dev/null | head -1; }
for package in kestrelby kestrelby-data libduskwright0 libduskwright-dev; do
  [ -n "$(deb_of $package)" ] || fail "no $package package in $debs"
done
[ "$(dpkg-deb -f "$(deb_of kestrelby-data)" Architecture)" = all ] || fail "kestrelby-data is not Architecture: all"
depends=$(dpkg-deb -f "$(deb_of kestrelby)" Depends)
for needed in kestrelby-data libduskwright0; do
  [[ "$depends" == *"$needed"* ]] || fail "kestrelby does not depend on $needed: $depends"
done
# Every file of a package lies where that package's part of the layout belongs.
check_files() { # package, extended regular expression of its paths
  local stray
  stray=$(dpkg-deb -c "$(deb_of "$1")" | awk '{ print $6 }' | sed 's|^\./|/|' | grep -v '/$' |
    grep -v -E "^/usr/share/doc/$1/" | grep -v -E "$2")
  [ -z "$stray" ] || fail "$1 holds files outside its part: $(echo "$stray" | head -3)"
}
check_files kestrelby "^/usr/(games/kestrelby|share/man/man6/kestrelby\.6\.gz|share/applications/$app_id\.desktop|share/metainfo/$app_id\.metainfo\.xml|share/icons/hicolor/.*/apps/$app_id\.(png|svg))$"
check_files kestrelby-data "^/usr/share/games/kestrelby/assets/"
check_files libduskwright0 "^/usr/lib/$multiarch/libduskwright\.so\.[0-9]+(\.[0-9]+)*$"
check_files libduskwright-dev "^/usr/(include/duskwright/.*\.h|lib/$multiarch/(libduskwright\.so|cmake/duskwright/.*\.cmake|pkgconfig/duskwright\.pc))$"
echo "four packages, each with its part of the layout; kestrelby depends on its data and library"

root="$work/root"
for deb in "$debs"/*.deb; do dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x $deb"; done
game="$root/usr/games/kestrelby"
libdir="$root/usr/lib/$multiarch"
for file in usr/share/games/kestrelby/assets/ui.pip usr/share/games/kestrelby/assets/level/airport_scene.scene \
            usr/share/icons/hicolor/scalable/apps/$app_id.svg usr/include/duskwright/base/StringHash.h; do
  [ -e "$root/$file" ] || fail "not packaged: $file"
done
readelf -d "$game" | grep -q -E 'R(UN)?PATH' && fail "the packaged game carries a run path: $(readelf -d "$game" | grep PATH)"
zcat "$root/usr/share/man/man6/kestrelby.6.gz" | grep -q "/usr/share/games/kestrelby/assets" ||
  fail "the man page does not name the packaged data folder"

# --- the unpacked game from / ---------------------------------------------------------
# The loader finds the library through LD_LIBRARY_PATH here (installed, through
# its standard folder); the data through the program's own folder.
e2e_prepare_user_folder
e2e_find_exit_button
unset KB_DATA_DIR
export LD_LIBRARY_PATH="$libdir"
e2e_start_game / "$game"
e2e_wait_main_menu
grep -q "$libdir/libduskwright.so" "/proc/$pid/maps" || fail "the game did not load the packaged library"
[ "$(readlink "/proc/$pid/cwd")" = "$root/usr/share/games/kestrelby/assets" ] ||
  fail "the game reads its data from $(readlink "/proc/$pid/cwd"), not the packaged folder"
e2e_exit_through_menu
unset LD_LIBRARY_PATH
echo "packaged game started from /: packaged library and data, main menu shown, ended with code 0"

# --- the packaged headers, prefixed ------------------------------------------------------
export PKG_CONFIG_PATH="$libdir/pkgconfig"
pc_flags=$(pkg-config --cflags --libs duskwright) || fail "pkg-config duskwright from the package"
# The .pc file is relative to its own folder, so the flags point into the scratch root.
[[ "$pc_flags" == *"-I$root/"* ]] || fail "pkg-config's include folder is not the package's: $pc_flags"
g++ -std=c++17 "$source_dir/tests/consumer/main.cpp" -o "$work/consumer" $pc_flags 2> "$work/consumer.txt" ||
  fail "building against the packaged headers: $(tail -5 "$work/consumer.txt")"
LD_LIBRARY_PATH="$libdir" "$work/consumer" || fail "the consumer built against the packages failed"
echo "consumer built with <duskwright/...> against the packaged headers and run"
