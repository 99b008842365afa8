#!/usr/bin/env bash
# Builds the Debian package azimara-m_<version>_amd64.deb with dpkg-buildpackage (debhelper,
# dh with cmake) and checks it with lintian, which must report no error and no warning.
#   scripts/build-deb.sh        # the package and lintian's report (lintian.txt) in build/deb/
#   scripts/build-deb.sh DIR    # in DIR instead (under build/ or outside the tree)
# dpkg-buildpackage writes into the source tree and beside it, so it works on a copy of the
# tree in DIR/work, removed once the package is built; its output is kept in DIR/build.log.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

out=$(realpath -m "${1:-build/deb}")
version=$(dpkg-parsechangelog --show-field Version)
work="$out/work"
source="$work/azimara-m-$version"
rm -rf "$work"
mkdir -p "$source"
tar --exclude=./build --exclude=./demo --exclude=./.git -cf - . | tar -xf - -C "$source"

# On every core, unless the caller chose otherwise.
options=${DEB_BUILD_OPTIONS:-}
[[ "$options" == *parallel=* ]] || options="$options parallel=$(nproc)"
if ! (cd "$source" && DEB_BUILD_OPTIONS="$options" dpkg-buildpackage -us -uc -b \
  >"$work/build.log" 2>&1); then
  tail -n 40 "$work/build.log" >&2
  echo "build-deb: dpkg-buildpackage failed; its output is in $work/build.log" >&2
  exit 1
fi

changes="azimara-m_${version}_$(dpkg-architecture --query DEB_HOST_ARCH).changes"
for file in "$changes" $(awk '/^Files:/ { files = 1; next } /^[^ ]/ { files = 0 } files { print $5 }' \
  "$work/$changes"); do
  mv "$work/$file" "$out/"
done
mv "$work/build.log" "$out/build.log"
rm -rf "$work"

# Errors and warnings fail the build; the informational tags that remain are explained in the
# README.
if ! lintian --display-info --fail-on error,warning "$out/$changes" >"$out/lintian.txt" 2>&1; then
  cat "$out/lintian.txt" >&2
  echo "build-deb: lintian reports errors or warnings" >&2
  exit 1
fi
cat "$out/lintian.txt"
ls "$out"/azimara-m_"${version}"_*.deb
