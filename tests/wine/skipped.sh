#!/usr/bin/env bash
# Prints each test that a ctest run of the Windows build skipped, with the reason it gave: under
# Wine a program is one ctest test, so its skipped cases would pass unseen.
#   skipped.sh BUILD_DIR
set -euo pipefail

log="$1/Testing/Temporary/LastTest.log"
[ -f "$log" ] || exit 0
# GoogleTest writes "file:line: Skipped", the reason's lines, then "[  SKIPPED ] Suite.Case (n ms)".
awk '
  /: Skipped$/ { reason = ""; collecting = 1; next }
  collecting && /^\[  SKIPPED \] [^ ]+ \(/ {
    printf "skipped under Wine: %s: %s\n", $4, reason
    collecting = 0
    next
  }
  collecting { reason = reason (reason == "" ? "" : " ") $0 }
' "$log"
