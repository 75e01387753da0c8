#!/usr/bin/env bash
# Lets the monkey play the real game for SECONDS of game time with SEED and
# checks that it ends as it should: code 0, its summary line, and the player's
# files readable again by the next start.
# usage: monkey.sh BIN_DIR SECONDS SEED
set -euo pipefail
bin=$1 seconds=$2 seed=$3

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
# A window, so that resizing it means something; English, so the other
# language is met through the options only.
mkdir -p "$data/brightmoor/kestrelby"
cat >"$data/brightmoor/kestrelby/config.xml" <<'XML'
<?xml version="1.0" ?>
<root>
    <Display fullscreen="false" width="1024" height="768" />
    <ui language="English" />
</root>
XML

cd "$bin"
set +e
output=$(XDG_DATA_HOME="$data" ./kestrelby --monkey "$seconds" --seed "$seed" 2>"$data/stderr")
code=$?
set -e
echo "$output"
if [ $code -ne 0 ]; then
  echo "monkey: seed $seed ended with code $code; the game's last messages:" >&2
  tail -n 40 "$data/stderr" >&2
  exit 1
fi
if ! grep -Eq "^monkey: [0-9]+ events, [0-9]+ state changes, [0-9]+ missions started, seed $seed$" <<<"$output"; then
  echo "monkey: exit code 0 without the summary line" >&2
  exit 1
fi
for file in config.xml user_data.xml; do
  if ! python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' \
      "$data/brightmoor/kestrelby/$file" 2>/dev/null; then
    echo "monkey: $file was left unreadable" >&2
    exit 1
  fi
done
