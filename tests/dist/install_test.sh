#!/usr/bin/env bash
# Installs the build into a temporary folder (DESTDIR, prefix /usr) and checks what a
# desktop needs of it: the programs, menu entry, icons, manual pages and metadata.
#   install_test.sh BUILD_FOLDER VERSION PNG_ICONS(ON|OFF)
set -uo pipefail
build=$1 version=$2 png_icons=$3
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR="$root" cmake --install "$build" --prefix /usr >"$root/install.log" 2>&1 ||
  { cat "$root/install.log"; fail "cmake --install"; exit 1; }
usr="$root/usr"

for program in imagescan imagescan-cli; do
  [ -x "$usr/bin/$program" ] || fail "$program is not installed as a program"
done
# The installed batch program runs from any folder.
shown=$(cd / && "$usr/bin/imagescan-cli" --version) || fail "imagescan-cli --version"
[ "$shown" = "imagescan-cli $version" ] || fail "imagescan-cli --version says '$shown'"

desktop="$usr/share/applications/imagescan.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=imagescan %f' "$desktop" || fail "the menu entry does not start imagescan with the folder"
grep -qx 'MimeType=inode/directory;' "$desktop" || fail "the menu entry is not offered for folders"
grep -qx 'Categories=Graphics;3DGraphics;' "$desktop" || fail "the menu entry's categories"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named '$icon'"
if [ "$png_icons" = ON ]; then
  for size in 48 256; do
    png="$usr/share/icons/hicolor/${size}x$size/apps/$icon.png"
    [ "$(head -c 8 "$png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
      fail "no PNG icon of $size pixels"
  done
fi

metainfo=$(ls "$usr"/share/metainfo/*.metainfo.xml 2>/dev/null)
[ -n "$metainfo" ] || fail "no AppStream metadata"
appstreamcli validate --no-net $metainfo || fail "appstreamcli validate"
grep -q '<launchable type="desktop-id">imagescan.desktop</launchable>' $metainfo ||
  fail "the metadata does not name the menu entry"

for page in imagescan imagescan-cli; do
  gzip -t "$usr/share/man/man1/$page.1.gz" 2>/dev/null || fail "no manual page $page(1)"
done
# Every option the batch program knows is in its manual page.
manual=$(gzip -dc "$usr/share/man/man1/imagescan-cli.1.gz" 2>/dev/null | sed 's/\\-/-/g')
for option in $("$usr/bin/imagescan-cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  grep -q -- "$option" <<<"$manual" || fail "imagescan-cli(1) does not describe $option"
done
for section in 'EXIT STATUS' FILES EXAMPLES 'POV-RAY VERSIONS'; do
  grep -q "^\.SH \"\?$section" <<<"$manual" || fail "imagescan-cli(1) has no $section"
done

[ "$failures" -eq 0 ]
