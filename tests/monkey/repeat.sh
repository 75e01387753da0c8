#!/usr/bin/env bash
# The same seed plays the same game: two monkey runs of SECONDS with SEED
# must end with the same summary line (events, state changes, missions).
# usage: repeat.sh BIN_DIR SECONDS SEED
set -euo pipefail
here=$(dirname "$0")
first=$(bash "$here/monkey.sh" "$1" "$2" "$3" | grep '^monkey:')
second=$(bash "$here/monkey.sh" "$1" "$2" "$3" | grep '^monkey:')
echo "first:  $first"
echo "second: $second"
[ "$first" = "$second" ] || { echo "monkey: seed $3 played two different games" >&2; exit 1; }
