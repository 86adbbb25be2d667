#!/usr/bin/env bash
# Runs a program in an X server of its own: Xvfb chooses a free display itself (-displayfd), so
# runs in parallel and a desktop session on :0 never meet. The program runs with DISPLAY set to
# it and the xcb platform; the server is stopped when the program ends, however it ends.
set -euo pipefail
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1400x1000x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 200); do
  [ -s "$dir/display" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.05
done
display=$(head -n 1 "$dir/display" 2>/dev/null || true)
if [ -z "$display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$dir/xvfb.log" >&2
  exit 1
fi
status=0
DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@" || status=$?
exit "$status"
