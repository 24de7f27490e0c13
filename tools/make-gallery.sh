#!/bin/sh
# Makes the gallery from gallery/recipes: first the pictures that recipes
# use (gallery/pictures), then every recipe drawn and saved with its recipe
# inside as gallery/NAME.png. A recipe with NumberOfFrames is an animation:
# its middle frame is saved as gallery/NAME-frameK.png.
set -e
cd "$(dirname "$0")/.."
quorl=${QUORL:-build/quorl}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for recipe in gallery/recipes/pictures/*.ini; do
  "$quorl" render "$recipe" -o "gallery/pictures/$(basename "$recipe" .ini).png"
done

rm -f gallery/*.png
for recipe in gallery/recipes/*.ini; do
  name=$(basename "$recipe" .ini)
  set --
  source=$(sed -n 's/^SourceImageFileName=//p' "$recipe")
  [ -n "$source" ] && set -- "$@" --source-image "gallery/pictures/$source"
  background=$(sed -n 's/^BackgroundImageFileName=//p' "$recipe")
  [ -n "$background" ] && set -- "$@" --background-image "gallery/pictures/$background"
  frames=$(sed -n 's/^NumberOfFrames=//p' "$recipe")
  if [ -n "$frames" ]; then
    frame=$(( (frames + 1) / 2 ))
    "$quorl" animate "$recipe" --save "$work" --frames "$frame-$frame" --frame-names "$@" >/dev/null
    mv "$work/$(printf 'quorl_frame_%04d' "$frame").png" "gallery/$name-frame$frame.png"
  else
    "$quorl" render "$recipe" --save "$work" "$@" >"$work/saved"
    mv "$(cat "$work/saved")" "gallery/$name.png"
  fi
  rm -f "$work"/*
  echo "gallery/$name"
done
