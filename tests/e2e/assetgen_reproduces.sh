#!/usr/bin/env bash
# Regenerates all assets into a scratch folder and compares them byte for
# byte with the copies committed in the repository.
#   usage: assetgen_reproduces.sh PATH/TO/velorun-assetgen REPO_ROOT
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 PATH/TO/velorun-assetgen REPO_ROOT" >&2
  exit 2
fi
gen=$1
repo=$2
if [ ! -x "$gen" ]; then
  echo "FAIL: generator not found or not executable: $gen" >&2
  exit 2
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

if ! "$gen" "$tmp" >"$tmp/.log" 2>&1; then
  echo "FAIL: generator exited with an error:" >&2
  cat "$tmp/.log" >&2
  exit 1
fi
rm -f "$tmp/.log"

# Files the game needs; each must be produced by the generator.
expected=(
  Resources/Objects/tube/tube2.obj
  Resources/Objects/tube/tube2.mtl
  Resources/Objects/tube/tube_panels.png
  Resources/Objects/car/car.obj
  Resources/Objects/car/car.mtl
  Resources/Objects/car/car_diffuse.png
  Resources/Objects/car/car_gloss.png
  Textures/rainbow.jpg
  Textures/fireworks_red.jpg
  Textures/LensFlares/tex2.png
  Textures/LensFlares/tex3.png
  Textures/LensFlares/tex4.png
  Textures/LensFlares/tex5.png
  Textures/LensFlares/tex6.png
  Textures/LensFlares/tex7.png
  Textures/LensFlares/tex8.png
  Textures/LensFlares/tex9.png
  packaging/icons/velorun-48.png
  packaging/icons/velorun-128.png
  packaging/icons/velorun-256.png
  Resources/Sounds/engine.wav
  Resources/Sounds/crash.wav
  Resources/Sounds/burst.wav
)
# The font is only copied when Debian's fonts-crosextra-carlito is installed.
if [ -f /usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf ]; then
  expected+=(Resources/Fonts/calibri.ttf Resources/Fonts/LICENSE-Carlito.txt)
else
  echo "note: Carlito not installed here, font files not compared"
fi

status=0
for f in "${expected[@]}"; do
  if [ ! -f "$tmp/$f" ]; then
    echo "FAIL: generator did not produce $f"
    status=1
  fi
done

compared=0
while IFS= read -r -d '' path; do
  rel=${path#"$tmp"/}
  if [ ! -f "$repo/$rel" ]; then
    echo "FAIL: $rel is generated but missing from the repository"
    status=1
    continue
  fi
  if ! cmp -s "$path" "$repo/$rel"; then
    echo "FAIL: $rel differs from the committed copy"
    cmp "$path" "$repo/$rel" | head -n 1
    status=1
    continue
  fi
  compared=$((compared + 1))
done < <(find "$tmp" -type f -print0 | sort -z)

if [ "$compared" -lt "${#expected[@]}" ] && [ "$status" -eq 0 ]; then
  echo "FAIL: only $compared files compared, expected at least ${#expected[@]}"
  status=1
fi
if [ "$status" -eq 0 ]; then
  echo "OK: $compared generated files match the committed assets"
fi
exit $status
