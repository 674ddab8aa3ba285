#!/usr/bin/env bash
# Validates the committed tube and car meshes with velorun-assetcheck, then
# makes sure the checker really rejects a broken tube (flipped triangle,
# texture period that no longer lines up across the leapfrog overlap).
#   usage: assetgen_meshcheck.sh PATH/TO/velorun-assetcheck REPO_ROOT
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 PATH/TO/velorun-assetcheck REPO_ROOT" >&2
  exit 2
fi
check=$1
repo=$2
status=0

"$check" tube "$repo/Resources/Objects/tube/tube2.obj" || { echo "FAIL: tube mesh"; status=1; }
"$check" car "$repo/Resources/Objects/car/car.obj" || { echo "FAIL: car mesh"; status=1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
src="$repo/Resources/Objects/tube"

# 1. One triangle wound the wrong way round.
mkdir -p "$tmp/flip"
cp "$src/tube2.mtl" "$src/tube_panels.png" "$tmp/flip/"
awk '!done && /^f / { print "f " $2 " " $4 " " $3; done = 1; next } { print }' \
  "$src/tube2.obj" >"$tmp/flip/tube2.obj"
if "$check" tube "$tmp/flip/tube2.obj" >/dev/null 2>&1; then
  echo "FAIL: checker accepted a tube with a flipped triangle"
  status=1
fi

# 2. Texture v stretched by 10%: the two copies would no longer match.
mkdir -p "$tmp/period"
cp "$src/tube2.mtl" "$src/tube_panels.png" "$tmp/period/"
awk '/^vt / { printf "vt %s %.6f\n", $2, $3 * 1.1; next } { print }' \
  "$src/tube2.obj" >"$tmp/period/tube2.obj"
if "$check" tube "$tmp/period/tube2.obj" >/dev/null 2>&1; then
  echo "FAIL: checker accepted a tube whose texture period breaks the overlap"
  status=1
fi

[ "$status" -eq 0 ] && echo "OK: meshes valid, broken variants rejected"
exit $status
