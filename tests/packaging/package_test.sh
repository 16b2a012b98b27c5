#!/usr/bin/env bash
# package_test.sh BUILD_DIR: makes the Debian package of BUILD_DIR with CPack, unpacks it into a
# temporary root and checks what an installed Quillfen needs: the program runs from there, the
# dependencies are listed, the man page names the commands, the desktop entry is valid and the
# icons are in the theme.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/quillfen_*.deb 2>/dev/null | head -n 1)
[[ -n $deb ]] || fail "no .deb was made"

info=$(dpkg-deb --info "$deb")
depends=$(grep '^ Depends:' <<<"$info") || fail "the package lists no dependencies"
for lib in libqt6widgets6 libavcodec libjpeg62-turbo libpng16; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

dpkg-deb -x "$deb" "$work/root"
version=$("$work/root/usr/bin/quillfen" --version) || fail "the installed program does not run"
[[ $version == "quillfen "* ]] || fail "--version said '$version'"

man=$work/root/usr/share/man/man1/quillfen.1.gz
[[ -f $man ]] || fail "no man page"
page=$(MANWIDTH=100 man -l "$man" 2>/dev/null | col -b)
for word in NAME SYNOPSIS build check frame picture codecs effects "EXIT STATUS"; do
    grep -q "$word" <<<"$page" || fail "the man page lacks '$word'"
done

desktop-file-validate "$work/root/usr/share/applications/quillfen.desktop" ||
    fail "the desktop entry is not valid"
for icon in 48x48/apps/quillfen.png scalable/apps/quillfen.svg; do
    [[ -s $work/root/usr/share/icons/hicolor/$icon ]] || fail "no icon $icon"
done
file -b "$work/root/usr/share/icons/hicolor/48x48/apps/quillfen.png" | grep -q '48 x 48' ||
    fail "the bitmap icon is not 48 px"
echo "package_test: $(basename "$deb") installs and runs"
