#!/usr/bin/env bash
# Writes docs/panel-two-axes.png and docs/panel-one-axis.png: the panel on a private Xvfb
# server, against the simulator (azimuth 120, elevation 30), after it has drawn the hands.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target azimara gs232sim
panel="$PWD/build/release/app/azimara"
simulator="$PWD/build/release/tools/gs232sim"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to ten seconds for a command to succeed.
wait_for() {
  for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
  echo "make-screenshots: gave up waiting for: $*" >&2
  exit 1
}

Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for test -s "$work/display"
export DISPLAY=":$(tr -d '\n' <"$work/display")"
unset XAUTHORITY

cp resources/QV_M_language.csv resources/Windrose_AZ.jpg resources/Windrose_EL.jpg "$work/"
"$simulator" --link "$work/COM1" --az 120 --el 30 --log "$work/sim.log" >/dev/null &
pids+=($!)
wait_for test -L "$work/COM1"

polls() { if [ -f "$work/sim.log" ]; then wc -l <"$work/sim.log"; else echo 0; fi; }
polls_at_least() { [ "$(polls)" -ge "$1" ]; }

# shot AXIS_CONFIG FILE: starts the panel with that axis configuration, waits until two more
# replies have been asked for (the first one draws the hands), and takes its window.
shot() {
  printf '1\r\nEN\r\n500\r\n10\r\n0\r\n0\r\n%s\r\n0\r\n0\r\n' "$1" >"$work/QV_M.ini"
  (cd "$work" && exec "$panel") &
  local pid=$!
  local window
  window=$(xdotool search --sync --name '^Azimara M V1.7$' | head -n 1)
  local before
  before=$(polls)
  wait_for polls_at_least $((before + 3))
  import -window "$window" "$2"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "make-screenshots: wrote $2"
}

shot 2 docs/panel-two-axes.png
shot 0 docs/panel-one-axis.png
