#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop, the
# manual and the shells will read: each file where its convention puts it,
# and each accepted by the tool that checks its kind.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR GUI(ON|OFF)
set -euo pipefail
build="$1"
source="$2"
gui="$3"

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || {
  cat "$tmp/install.log"
  exit 1
}
share="$prefix/share"

[ -x "$prefix/bin/quorl" ] || fail "bin/quorl is missing"
"$prefix/bin/quorl" --version | grep -q '^quorl [0-9]' || fail "the installed program does not run"

# The manual page: man reads it, and it covers both commands.
page="$share/man/man1/quorl.1.gz"
if [ -f "$page" ]; then
  MANWIDTH=80 man --warnings -l "$page" >"$tmp/man.txt" 2>"$tmp/man.err" || fail "man -l failed: $(cat "$tmp/man.err")"
  [ ! -s "$tmp/man.err" ] || fail "man warns: $(cat "$tmp/man.err")"
  # Every option the installed program's help names is in the manual (read
  # in the page's source, where no line break splits an option).
  zcat "$page" | sed 's/\\f[BIRP]//g; s/\\-/-/g' >"$tmp/man.roff"
  for command in render animate; do
    grep -q -- "quorl $command" "$tmp/man.roff" || fail "the manual page does not describe quorl $command"
    for option in $("$prefix/bin/quorl" "$command" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
      grep -q -- "$option\b" "$tmp/man.roff" || fail "the manual page does not mention quorl $command $option"
    done
  done
else
  fail "no manual page at share/man/man1/quorl.1.gz"
fi

# Completions, each in the folder its shell searches, each valid for it.
check_completion() {
  local shell="$1" file="$2"
  if [ ! -s "$file" ]; then
    fail "no $shell completion at ${file#"$prefix"/}"
  elif ! "$shell" -n "$file" 2>"$tmp/$shell.err"; then
    fail "$shell -n rejects ${file#"$prefix"/}: $(cat "$tmp/$shell.err")"
  fi
}
check_completion bash "$share/bash-completion/completions/quorl"
check_completion zsh "$share/zsh/site-functions/_quorl"
check_completion fish "$share/fish/vendor_completions.d/quorl.fish"

# The installed completions offer the options of the installed program.
bash_offers="$(bash -c 'source "$1"; COMP_WORDS=(quorl animate --chu); COMP_CWORD=2; _quorl; echo "${COMPREPLY[*]}"' \
  sh "$share/bash-completion/completions/quorl" 2>&1)" || true
[ "$bash_offers" = "--chunk" ] || fail "bash completes 'quorl animate --chu' to '$bash_offers'"
fish_offers="$(fish --no-config -c "source '$share/fish/vendor_completions.d/quorl.fish'; complete -C'quorl animate --skip'" 2>&1 | cut -f1)" || true
[ "$fish_offers" = "--skip-existing" ] || fail "fish completes 'quorl animate --skip' to '$fish_offers'"

# Under /usr the zsh completion goes where Debian's zsh looks, not
# site-functions (which zsh searches only under /usr/local).
DESTDIR="$tmp/staged" cmake --install "$build" --prefix /usr >/dev/null
[ -s "$tmp/staged/usr/share/zsh/vendor-completions/_quorl" ] || fail "no zsh completion in vendor-completions under /usr"
[ ! -e "$tmp/staged/usr/share/zsh/site-functions" ] || fail "a zsh site-functions folder under /usr"

# Every gallery picture in the source tree is installed.
if [ -d "$source/gallery" ]; then
  while IFS= read -r -d '' picture; do
    [ -f "$share/quorl/gallery/${picture#"$source/gallery/"}" ] || fail "gallery file ${picture#"$source/"} not installed"
  done < <(find "$source/gallery" -type f -print0)
fi

if [ "$gui" = ON ]; then
  desktop="$share/applications/quorl.desktop"
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects quorl.desktop"
  grep -qx 'Exec=quorl %f' "$desktop" || fail "the desktop entry does not open 'quorl %f'"
  grep -q '^MimeType=.*image/png;' "$desktop" || fail "the desktop entry does not offer itself for PNG pictures"
  if grep -qi '^MimeType=.*\(ini\|text/plain\)' "$desktop"; then fail "the desktop entry claims settings files"; fi

  metainfo=("$share"/metainfo/*.metainfo.xml)
  [ -f "${metainfo[0]}" ] || fail "no AppStream metainfo"
  appstreamcli validate --no-net "${metainfo[0]}" >"$tmp/appstream.txt" 2>&1 ||
    fail "appstreamcli rejects the metainfo: $(cat "$tmp/appstream.txt")"
  grep -q '<launchable type="desktop-id">quorl.desktop</launchable>' "${metainfo[0]}" || fail "metainfo does not launch quorl.desktop"
  if grep -q '<screenshots>' "${metainfo[0]}" && ! grep -q '<image>https\?://' "${metainfo[0]}"; then
    fail "metainfo lists screenshots without a web address"
  fi

  [ -f "$share/icons/hicolor/scalable/apps/quorl.svg" ] || fail "no scalable icon"
  for size in 16 22 24 32 48 64 128 256 512; do
    icon="$share/icons/hicolor/${size}x${size}/apps/quorl.png"
    if [ ! -f "$icon" ]; then
      fail "no ${size}x${size} icon"
      continue
    fi
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
      awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "the ${size}x${size} icon is ${width}x${height}"
  done
else
  for path in applications metainfo icons; do
    [ ! -e "$share/$path" ] || fail "a build without the window installs share/$path"
  done
fi

if ((failures)); then
  echo "install test: $failures failed"
  exit 1
fi
echo "install test: passed"
