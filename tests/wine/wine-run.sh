#!/usr/bin/env bash
# Runs a program of the Windows build under Debian's Wine (wine64), in the prefix of the Wine
# station in DIR (wine-station.sh), with a watchdog: a run that has not ended after
# AZIMARA_WINE_WATCHDOG seconds (default 90) is ended, and so is Wine if it hangs.
#   wine-run.sh DIR PROGRAM [ARGUMENT]...
# The program's exit status is the script's; the watchdog's is 124.
set -uo pipefail

dir=$1
shift
export WINEPREFIX="$dir/prefix"
# Wine links the prefix's user folders to the home directory; CI may have none.
export HOME="${HOME:-$dir}"
export WINEDEBUG=-all
# No Mono or Gecko: Wine would offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# No window system: nothing here draws, and Wine must not reach someone else's display.
unset DISPLAY WAYLAND_DISPLAY

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
limit=${AZIMARA_WINE_WATCHDOG:-90}
mkdir -p "$dir"
# Wine's own processes (its services) may outlive the program and keep its output open: the
# output goes through a file, so whoever reads this script's output is not held by them.
output=$(mktemp "$dir/run.XXXXXX")
timeout --kill-after=10 "$limit" "$wine" "$@" >"$output" 2>&1 </dev/null
status=$?
cat "$output"
rm -f "$output"
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "wine-run: watchdog: $* did not end within ${limit} s" >&2
fi
exit "$status"
