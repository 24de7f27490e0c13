#!/usr/bin/env bash
# Re-creates the golden pictures in tests/data/golden after an intended change
# to how pictures are drawn: every SCENE.ini there is rendered to SCENE.png
# (with the curve files beside it). Run it as `make golden`, look at the new
# pictures, and commit them with the change that explains them.
#   BUILD_DIR=build-x tools/make-golden.sh   uses another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${BUILD_DIR:-build}/quorl"
if [ ! -x "$bin" ]; then
  echo "make-golden: $bin is missing; build first (make build)" >&2
  exit 1
fi
for settings in tests/data/golden/*.ini; do
  picture="${settings%.ini}.png"
  "$bin" render "$settings" -o "$picture" --no-recipe
  echo "$picture"
done
