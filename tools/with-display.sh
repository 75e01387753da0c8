#!/usr/bin/env bash
# Runs a command with an X display: the current one, or a private Xvfb when none is set.
#
# Xvfb chooses a free display itself (-displayfd) and reports it once it accepts
# clients, and it is waited for on the way out. xvfb-run -a instead guesses a
# number from the lock files and kills its server without waiting: back-to-back
# runs then reused a display whose old server was still removing its socket,
# and the next program could not open it.
# -noreset: by default the server resets when its last client leaves, and a
# game started right after another one had quit (a restart in a test) could
# not open the display while it did.
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi

state=$(mktemp -d /tmp/kb_display_XXXXXX)
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" 2>"$state/xvfb.log" &
xvfb=$!
stop_server() {
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$state"
}
trap 'stop_server; exit 143' TERM INT HUP

for _ in $(seq 1 200); do
  [ -s "$state/display" ] && break
  if ! kill -0 "$xvfb" 2>/dev/null; then
    echo "with-display: Xvfb did not start: $(tail -1 "$state/xvfb.log")" >&2
    rm -rf "$state"
    exit 1
  fi
  sleep 0.05
done
if [ ! -s "$state/display" ]; then
  echo "with-display: Xvfb reported no display within 10 s" >&2
  stop_server
  exit 1
fi

DISPLAY=":$(head -1 "$state/display")" "$@"
status=$?
stop_server
exit "$status"
