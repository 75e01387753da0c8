#!/usr/bin/env bash
# Plays one mission with the autopilot at fixed steps and checks it is completed.
# usage: autoplay.sh BIN_DIR MISSION [VARIANT]
set -euo pipefail
bin=$1
mission=$2
variant=${3:-normal}

# The player's own data stays untouched: progress and statistics go to a scratch folder.
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT

cd "$bin"
set +e
output=$(XDG_DATA_HOME="$data" KB_AUTOPILOT_REPORT=1 ./kestrelby --autoplay "$mission" --variant "$variant" --fast 2>"$data/stderr")
code=$?
set -e
echo "$output"
if [ $code -ne 0 ]; then
  echo "autoplay: mission $mission ($variant) ended with code $code; the game's messages:" >&2
  tail -n 20 "$data/stderr" >&2
  exit 1
fi
if ! grep -Eq "^mission $mission completed: score [0-9]+, least time left [0-9.]+ s at step [0-9]+$" <<<"$output"; then
  echo "autoplay: exit code 0 without the completion line" >&2
  exit 1
fi
# A finished mission is stored as for a player: its highscore is in the user data.
if ! find "$data" -name user_data.xml -exec grep -q highscore {} \; -print | grep -q .; then
  echo "autoplay: no highscore was stored under XDG_DATA_HOME" >&2
  exit 1
fi
