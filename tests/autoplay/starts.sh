#!/usr/bin/env bash
# Starts every autoplay entry ROUNDS times and lets each run for SECONDS of
# wall time: most faults of the start-up show in its first seconds, so many
# short starts search them better than a few whole missions. glibc checks its
# heap on every call (MALLOC_CHECK_) and fills freed blocks (MALLOC_PERTURB_),
# so a block used after its release or written past its end ends the run.
# Any ending but the game's own or the timeout's is reported with its messages.
# usage: starts.sh BIN_DIR [ROUNDS] [SECONDS]
set -uo pipefail
bin=$1 rounds=${2:-10} seconds=${3:-4}
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null} ALSOFT_LOGLEVEL=0
cd "$bin"

starts=0 faults=0
for ((round = 1; round <= rounds; round++)); do
  for mission in $(seq 1 25); do
    for variant in normal upgraded; do
      data=$(mktemp -d)
      XDG_DATA_HOME="$data" MALLOC_CHECK_=3 MALLOC_PERTURB_=$((round % 255 + 1)) \
        timeout -k 2 "$seconds" ./kestrelby --autoplay "$mission" --variant "$variant" --fast \
        >"$data/stdout" 2>"$data/stderr"
      code=$?
      starts=$((starts + 1))
      # 0: the mission ended in time; 124: the timeout stopped it.
      if [ $code -ne 0 ] && [ $code -ne 124 ]; then
        faults=$((faults + 1))
        echo "starts: mission $mission ($variant), round $round ended with code $code:" >&2
        tail -n 20 "$data/stderr" >&2
      fi
      rm -rf "$data"
    done
  done
done
echo "starts: $starts starts, $faults faults"
[ $faults -eq 0 ]
