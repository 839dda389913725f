#!/usr/bin/env bash
# The game as a player gets it: installed into a prefix that is then moved, and as the Debian package unpacked
# into a folder (never installed on this machine), whose layout must be the same. The launcher must start the
# game from an unrelated working directory with every asset found. Usage: install_test.sh BUILD_DIR VERSION (needs an X display).
set -u
build=$1 version=$2
work=$(mktemp -d /tmp/gelmarch_install_XXXXXX)
game=
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Every file and link below a prefix, relative to it.
layout() { (cd "$1" && find . ! -type d | sort); }

# Runs prefix $1's launcher from /: -v prints the version line.
check_version() {
  local out
  out=$(cd / && timeout 10 "$1/bin/gelmarch" -v 2>&1)
  [ "$out" = "Gelmarch $version" ] || fail "$1: -v printed '$out'"
}

# Runs prefix $1's launcher from /: a window shows the menu and Escape ends the game with status 0.
check_window() {
  local prefix=$1 wid grey=0 top=0 green=0 status
  (cd / && SDL_AUDIODRIVER=dummy exec "$prefix/bin/gelmarch" -r 640 480 >"$work/out" 2>"$work/err") &
  game=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$game" 2>/dev/null | head -n 1)
  [ -n "$wid" ] || { fail "$prefix: no window"; return; }
  # The menu: dark green with the bright title; the first frames may still be black. Measured as mean and
  # maximum grey (0..255) and mean green minus mean red.
  for _ in $(seq 20); do
    read -r grey top green < <(import -silent -window "$wid" \
      -format '%[fx:int(mean*255)] %[fx:int(maxima*255)] %[fx:int((mean.g-mean.r)*255)]\n' info: 2>/dev/null)
    [ "${top:-0}" -gt 150 ] && break
    sleep 0.25
  done
  [ "${top:-0}" -gt 150 ] && [ "${grey:-0}" -gt 10 ] && [ "${green:-0}" -gt 5 ] ||
    fail "$prefix: the menu is not on screen (mean $grey, max $top, green over red $green)"
  for _ in $(seq 20); do
    kill -0 "$game" 2>/dev/null || break
    timeout 5 xdotool windowfocus --sync "$wid" key Escape 2>/dev/null
    sleep 0.25
  done
  kill -0 "$game" 2>/dev/null && kill "$game"
  wait "$game"
  status=$?
  game=
  [ "$status" -eq 0 ] || fail "$prefix: the game ended with status $status"
  # A missing shader, image or sound would be reported here.
  if [ -s "$work/err" ] || grep -q -i "error\|couldn't\|does not exist" "$work/out"; then
    fail "$prefix: assets missing: $(cat "$work/out" "$work/err")"
  fi
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install"
mv "$work/prefix" "$work/moved"
p=$work/moved
for f in bin/gelmarch share/gelmarch/bin/gelmarch share/gelmarch/bin/textures/other/title.png \
  share/gelmarch/bin/sounds/click.wav share/gelmarch/shader/blob.vert share/applications/gelmarch.desktop \
  share/doc/gelmarch/README.md share/doc/gelmarch/LICENSE; do
  [ -s "$p/$f" ] || fail "installed tree lacks $f"
done
[ "$(identify -format '%wx%h' "$p/share/icons/hicolor/256x256/apps/gelmarch.png" 2>&1)" = 256x256 ] ||
  fail "no 256x256 icon"
entry=$p/share/applications/gelmarch.desktop
desktop-file-validate "$entry" || fail "desktop entry rejected"
# What a desktop menu starts and shows: a command in the prefix's bin/ and an installed icon.
[ -x "$p/bin/$(sed -n 's/^Exec=//p' "$entry")" ] || fail "the desktop entry's Exec is not the launcher"
[ -f "$p/share/icons/hicolor/256x256/apps/$(sed -n 's/^Icon=//p' "$entry").png" ] || fail "its Icon is not installed"
check_version "$p"
check_window "$p"

(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null) || fail "cpack -G DEB"
deb=$work/deb/gelmarch_${version}_$(dpkg --print-architecture).deb
info=$(dpkg-deb --info "$deb") || fail "no package $deb"
depends=$(grep '^ Depends:' <<<"$info")
for d in libsdl1.2debian libsdl-mixer1.2 libsdl-image1.2 libglew2.2 libglu1-mesa libgl1; do
  grep -q " $d\b" <<<"$depends" || fail "package does not depend on $d: $depends"
done
for field in "Version: $version" "Section: games" "Maintainer: ." "Description: .*" "  ."; do
  grep -q "^ $field" <<<"$info" || fail "package info lacks '$field'"
done
dpkg-deb -x "$deb" "$work/unpacked" || fail "dpkg-deb -x"
[ "$(layout "$work/unpacked/usr")" = "$(layout "$p")" ] ||
  fail "package layout differs: $(diff <(layout "$work/unpacked/usr") <(layout "$p"))"
check_version "$work/unpacked/usr"
[ "$failures" -eq 0 ] && echo "install checks passed"
exit "$failures"
