#!/usr/bin/env bash
# Builds every target in each build type (the default one, Debug, Release, RelWithDebInfo,
# MinSizeRel) with Debian's GCC and clang, warnings as errors, and prints a table of the results.
# Each combination builds in build/types/<compiler>-<type>; its log there, build.log, lists every
# warning (the build goes on past a failed file).
# Too long for ./test (ten full builds); run it after changing flags, compilers or warnings:
#   scripts/check-build-types.sh                # all ten
#   scripts/check-build-types.sh clang Release  # only these compilers and types ("default" too)
set -uo pipefail
cd "$(dirname "$0")/.."

compilers=(gcc clang)
types=(default Debug Release RelWithDebInfo MinSizeRel)
chosen_compilers=()
chosen_types=()
for arg in "$@"; do
  case "$arg" in
    gcc | clang) chosen_compilers+=("$arg") ;;
    default | Debug | Release | RelWithDebInfo | MinSizeRel) chosen_types+=("$arg") ;;
    *)
      echo "check-build-types: unknown compiler or build type '$arg'" >&2
      exit 2
      ;;
  esac
done
[ ${#chosen_compilers[@]} -gt 0 ] && compilers=("${chosen_compilers[@]}")
[ ${#chosen_types[@]} -gt 0 ] && types=("${chosen_types[@]}")

scripts/install-deps.sh || exit 1

failed=0
results=()
for compiler in "${compilers[@]}"; do
  if [ "$compiler" = gcc ]; then cc=gcc cxx=g++; else cc=clang cxx=clang++; fi
  for type in "${types[@]}"; do
    dir="build/types/$compiler-$type"
    mkdir -p "$dir"
    build_type=$type
    [ "$type" = default ] && build_type=
    start=$(date +%s)
    if CC=$cc CXX=$cxx cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
      -DAZIMARA_WARNINGS_AS_ERRORS=ON >"$dir/build.log" 2>&1 &&
      cmake --build "$dir" -- -k 0 >>"$dir/build.log" 2>&1; then
      result=passed
    else
      result=FAILED
      failed=1
    fi
    results+=("$(printf '%-6s %-15s %-7s %4ss  %s' "$compiler" "$type" "$result" \
      $(($(date +%s) - start)) "$dir/build.log")")
    echo "${results[-1]}"
  done
done

echo
echo "compiler type            result  time   log"
printf '%s\n' "${results[@]}"
exit $failed
