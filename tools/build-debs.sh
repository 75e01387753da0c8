#!/usr/bin/env bash
# Builds the Debian packages with dpkg-buildpackage from a copy of the source
# tree, so the tree itself stays clean and the packages land in one folder:
#   tools/build-debs.sh OUTPUT_FOLDER [JOBS]
# Installs the packaging tools and the Build-Depends of debian/control that are
# missing, then checks the packages with lintian (warnings are listed in
# OUTPUT_FOLDER/lintian.txt; an error fails the build).
set -euo pipefail
out=$(realpath -m "${1:?output folder}")
jobs=${2:-$(nproc)}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cd "$source_dir"

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
tools=(dpkg-dev debhelper fakeroot lintian)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || ! dpkg-checkbuilddeps >/dev/null 2>&1; then
  echo "Installing missing packaging tools and build dependencies"
  $sudo apt-get update -qq
  [ ${#missing[@]} -eq 0 ] ||
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get build-dep -y -qq --no-install-recommends ./
fi

version=$(dpkg-parsechangelog -S Version)
src="$out/src/kestrelby-$version"
rm -rf "$out"
mkdir -p "$src"
# What the checkout holds (committed or not), without build trees and pictures.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard | grep -zv '^docs/' |
    xargs -0 cp --parents -t "$src" 2>/dev/null || true
else
  tar -C "$source_dir" --exclude=./build --exclude='./build-*' --exclude=./docs -cf - . | tar -C "$src" -xf -
fi
[ -f "$src/debian/rules" ] || { echo "build-debs: copying the source tree failed" >&2; exit 1; }

(cd "$src" && DEB_BUILD_OPTIONS="parallel=$jobs" nice -n 10 dpkg-buildpackage -us -uc -b)
# dpkg-buildpackage leaves its results beside the source folder.
mv "$out"/src/*.deb "$out"/src/*.ddeb "$out"/src/*.changes "$out"/src/*.buildinfo "$out"/ 2>/dev/null || true
rm -rf "$out/src"

status=0
lintian --fail-on error "$out"/*.changes > "$out/lintian.txt" 2>&1 || status=$?
cat "$out/lintian.txt"
ls -1 "$out"/*.deb
[ "$status" -eq 0 ] || { echo "build-debs: lintian reports errors" >&2; exit 1; }
