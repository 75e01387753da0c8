#!/usr/bin/env bash
# Plays one mission with the autopilot at fixed steps and checks it is
# completed, then watches the run it recorded: the replay ends with the
# same score, its vehicle where the run's vehicle stood at the end (1 cm).
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

# The run was kept as the last and, the first time, the best run.
replays="$data/brightmoor/kestrelby/replays"
last="$replays/mission${mission}_${variant}_last.kbreplay"
for kept in "$last" "$replays/mission${mission}_${variant}_best.kbreplay"; do
  if [ ! -s "$kept" ]; then
    echo "autoplay: the run was not kept as $kept" >&2
    exit 1
  fi
done
score=$(sed -n 's/^mission [0-9]* completed: score \([0-9]*\),.*/\1/p' <<<"$output")
ran_to=$(sed -n 's/^autopilot: end position //p' <<<"$output")
user_data=$(find "$data" -name user_data.xml | head -n 1)
results() { grep -o "<mission${mission} [^>]*>\|<mission [^>]*>" "$user_data" | sort; }
before=$(results)
set +e
watched=$(XDG_DATA_HOME="$data" KB_REPLAY_REPORT=1 ./kestrelby --watch "$last" --fast 2>"$data/watch-stderr")
code=$?
set -e
echo "$watched"
if [ $code -ne 0 ] || ! grep -qx "replay of mission $mission: score $score" <<<"$watched"; then
  echo "autoplay: watching the run (code $code) did not end with score $score; the game's messages:" >&2
  tail -n 20 "$data/watch-stderr" >&2
  exit 1
fi
watched_to=$(sed -n 's/^replay: end position //p' <<<"$watched")
if ! awk -v a="$ran_to" -v b="$watched_to" 'BEGIN {
    n = split(a, p, " "); m = split(b, q, " ");
    if (n != 3 || m != 3) exit 1;
    d = 0; for (i = 1; i <= 3; i++) d += (p[i] - q[i]) ^ 2;
    exit !(sqrt(d) <= 0.01) }'; then
  echo "autoplay: the run ended at ($ran_to), its replay at ($watched_to): more than 1 cm apart" >&2
  exit 1
fi
# Watching stores nothing: the highscore, play count and progress stay as the run left them.
if [ "$(results)" != "$before" ]; then
  echo "autoplay: watching the replay changed the stored results:" >&2
  echo "$before" >&2
  results >&2
  exit 1
fi
