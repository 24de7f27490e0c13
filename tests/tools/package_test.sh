#!/usr/bin/env bash
# Packages the build tree as it is into a Debian package, checks its control
# fields, unpacks it into a temporary folder and draws a picture with the
# unpacked program and files: the result must be the picture the build
# tree's own program draws.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR GUI(ON|OFF)
set -euo pipefail
build="$(cd "$1" && pwd)"
source="$2"
gui="$3"

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The tree is already built; cpack only installs and packs it.
(cd "$tmp" && cpack -G DEB -B "$tmp/out" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1) || {
  cat "$tmp/cpack.log"
  exit 1
}
debs=("$tmp"/out/*.deb)
[ -f "${debs[0]}" ] || {
  echo "cpack made no .deb"
  cat "$tmp/cpack.log"
  exit 1
}
deb="${debs[0]}"
dpkg-deb -I "$deb" >"$tmp/info.txt"

field() { sed -n "s/^ $1: //p" "$tmp/info.txt"; }
depends="$(field Depends)"
# Computed from the binary: the C library, the C++ library and libpng
# must all be there whichever way the program was linked.
for library in libc6 libstdc++6 libpng16-16; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: '$depends'"
done
if [ "$gui" = ON ]; then
  [ "$(field Package)" = quorl ] || fail "package name '$(field Package)', not quorl"
  grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks Qt Widgets: '$depends'"
else
  [ "$(field Package)" = quorl-cli ] || fail "package name '$(field Package)', not quorl-cli"
  grep -qi 'qt6' <<<"$depends" && fail "the package without a window depends on Qt: '$depends'"
  [ "$(field Conflicts)" = quorl ] || fail "quorl-cli does not conflict with quorl"
  [ "$(field Replaces)" = quorl ] || fail "quorl-cli does not replace quorl"
fi

root="$tmp/root"
dpkg -x "$deb" "$root"
program="$root/usr/bin/quorl"
[ -x "$program" ] || fail "the package has no /usr/bin/quorl"
[ -f "$root/usr/share/man/man1/quorl.1.gz" ] || fail "the package has no manual page"

# A gallery picture when the package has one, else a scene of the tests.
scene="$(find "$root/usr/share/quorl/gallery" -name "*.png" 2>/dev/null | sort | head -n 1 || true)"
if [ -z "$scene" ]; then
  scene="$tmp/scene.ini"
  cp "$source/tests/data/golden/circles_dark.ini" "$scene"
fi
export HOME="$tmp/home" QUORL_SETTINGS="$tmp/home/quorl.ini"
mkdir -p "$HOME"
if "$program" render "$scene" -o "$tmp/unpacked.png" 2>"$tmp/render.err"; then
  "$build/quorl" render "$scene" -o "$tmp/built.png"
  cmp -s "$tmp/unpacked.png" "$tmp/built.png" || fail "the unpacked program draws ${scene##*/} differently"
else
  fail "the unpacked program could not draw ${scene##*/}: $(cat "$tmp/render.err")"
fi

# The unpacked program finds the gallery installed beside it.
if [[ "$scene" == */usr/share/quorl/gallery/* ]] && "$program" help gallery >/dev/null 2>&1; then
  name="${scene##*/}"
  (unset QUORL_GALLERY QUORL_NO_GALLERY && "$program" gallery) >"$tmp/gallery.txt" 2>&1 || true
  grep -q -- "${name%.png}" "$tmp/gallery.txt" ||
    fail "the unpacked program does not list its gallery: $(head -n 3 "$tmp/gallery.txt")"
fi

if ((failures)); then
  cat "$tmp/info.txt"
  echo "package test: $failures failed"
  exit 1
fi
echo "package test: passed ($(basename "$deb"), Depends: $depends)"
