#!/usr/bin/env bash
# `make run`: opens the window when there is a display; otherwise draws the
# user's own settings headlessly and says where the picture went.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/quorl
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin"
fi
settings="${QUORL_SETTINGS:-${XDG_CONFIG_HOME:-$HOME/.config}/quorl/quorl.ini}"
out="${XDG_PICTURES_DIR:-$HOME/Pictures}/Quorl/quorl-headless.png"
mkdir -p "$(dirname "$out")"
echo "No display: drawing $( [ -f "$settings" ] && echo "$settings" || echo "the default settings") without a window"
if [ -f "$settings" ]; then
  "$bin" render "$settings" -o "$out"
else
  # A first start: the defaults, without creating the user's settings file.
  empty=$(mktemp --suffix=.ini)
  trap 'rm -f "$empty"' EXIT
  "$bin" render "$empty" -o "$out"
fi
echo "Picture: $out"
