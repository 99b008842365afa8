#!/usr/bin/env bash
# The Wine station of the Windows build's tests, in DIR under the build directory:
#   wine-station.sh start DIR SIMULATOR PORT
#     a fresh Wine prefix in DIR/prefix, SIMULATOR (gs232sim built for this machine, at
#     azimuth 123 and elevation 45) on a pseudo-terminal, and that terminal mapped as COM<PORT>
#     through the registry key
#     HKLM\Software\Wine\Ports; Wine's server then runs until the station stops
#   wine-station.sh stop DIR
#     the simulator and Wine's server ended
# Every Wine run goes through wine-run.sh and its watchdog.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
action=$1
dir=$2
export WINEPREFIX="$dir/prefix"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

wine_run() { "$here/wine-run.sh" "$dir" "$@" >/dev/null; }

stop_station() {
  if [ -f "$dir/simulator.pid" ]; then
    kill "$(cat "$dir/simulator.pid")" 2>/dev/null || true
    rm -f "$dir/simulator.pid"
  fi
  if [ -d "$WINEPREFIX" ]; then
    timeout 30 "$wineserver" -k 2>/dev/null || true
    timeout 30 "$wineserver" -w 2>/dev/null || true
  fi
}

# The first line the simulator prints is its terminal's path.
simulator_terminal() {
  local line
  for _ in $(seq 100); do
    if IFS= read -r line <"$dir/simulator.out" && [ -n "$line" ]; then
      echo "$line"
      return 0
    fi
    if ! kill -0 "$(cat "$dir/simulator.pid")" 2>/dev/null; then break; fi
    sleep 0.1
  done
  echo "wine-station: the simulator printed no terminal:" >&2
  cat "$dir/simulator.err" >&2
  return 1
}

case "$action" in
  start)
    simulator=$3
    port=$4
    # A station an interrupted run left behind.
    stop_station
    rm -rf "$dir"
    mkdir -p "$dir"
    wine_run wineboot.exe --init
    "$simulator" --az 123 --el 45 >"$dir/simulator.out" 2>"$dir/simulator.err" </dev/null &
    echo $! >"$dir/simulator.pid"
    terminal=$(simulator_terminal)
    wine_run reg.exe add 'HKLM\Software\Wine\Ports' /v "COM$port" /d "$terminal" /f
    # The ports are read as Wine's server and its services start: start them again, with no
    # output of anyone's to hold. The server stays between the tests' runs, and ends by itself
    # a minute after the last one should the station never be stopped.
    timeout 30 "$wineserver" -k
    timeout 30 "$wineserver" -w
    "$wineserver" -p60 </dev/null >/dev/null 2>&1
    wine_run reg.exe query 'HKLM\Software\Wine\Ports'
    echo "wine-station: the simulator at $terminal is COM$port"
    ;;
  stop)
    stop_station
    ;;
  *)
    echo "wine-station: unknown action '$action'" >&2
    exit 2
    ;;
esac
