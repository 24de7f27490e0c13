#!/usr/bin/env bash
# `make run`: opens the window when there is a display; otherwise draws the
# user's own settings headlessly and says where the picture went.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/quorl
if { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; } && "$bin" --has-window >/dev/null 2>&1; then
  exec "$bin"
fi
settings="${QUORL_SETTINGS:-${XDG_CONFIG_HOME:-$HOME/.config}/quorl/quorl.ini}"
out="${XDG_PICTURES_DIR:-$HOME/Pictures}/Quorl/quorl-headless.png"
mkdir -p "$(dirname "$out")"
if [ ! -f "$settings" ]; then
  mkdir -p "$(dirname "$settings")"
  : > "$settings"
fi
echo "No display: drawing $settings without a window"
"$bin" render "$settings" -o "$out"
echo "Picture: $out"
