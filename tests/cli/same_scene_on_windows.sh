#!/usr/bin/env bash
# The Linux and the Windows batch programs write the same image_scan.pov bytes for one
# folder: misnamed formats, files cut short, an icon, an empty file, nested folders and
# ASCII names. The Windows program runs under Wine, given the folder once as a Unix path
# and once as a Z: path.
#   same_scene_on_windows.sh LINUX_CLI WINDOWS_CLI SAMPLES_FOLDER
# Scene lines follow each platform's listing order: Wine lists a folder sorted by name
# without regard to case, Linux in the file system's own order. On tmpfs that order is
# the reverse of creation, so the tree is made there with every folder's entries created
# from the last name to the first; where the two orders still differ the test is skipped.
set -uo pipefail
linux_cli=$1 windows_cli=$2 samples=$3
command -v wine >/dev/null || { echo "SKIP: wine is not installed"; exit 77; }
base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
root=$(mktemp -d "$base/imagescan-same-scene-XXXXXX")
trap 'rm -rf "$root"' EXIT
tree="$root/tree"

# A 24 x 20 icon with one 32-bit image: directory, entry, header, pixels and mask.
icon() {
  printf '\0\0\1\0\1\0\x18\x14\0\0\1\0\x20\0\x28\x09\0\0\x16\0\0\0'
  printf '\x28\0\0\0\x18\0\0\0\x28\0\0\0\1\0\x20\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0'
  head -c $((24 * 20 * 4 + 4 * 20)) /dev/zero
}

# Every file of the tree by its path, then made in reverse name order per folder.
declare -A files=(
  [cover.png]="$samples/cover.png"
  [cover-really-png.gif]="$samples/cover.png"
  [cut.png]="head -c 40 $samples/cover.png"
  [empty.jpg]=""
  [icon-as.png]="icon"
  [junk.png]="text"
  [notes.txt]="text"
  [studio/portrait.jpg]="$samples/studio/portrait.jpg"
  [studio/sky.hdr]="$samples/studio/sky.hdr"
  [trip/beach.jpg]="$samples/trip/beach.jpg"
  [trip/beach-really-jpeg.png]="$samples/trip/beach.jpg"
  [trip/cut.jpg]="head -c 100 $samples/trip/beach.jpg"
  [trip/map.gif]="$samples/trip/map.gif"
  [trip/day2/birds.gif]="$samples/trip/day2/birds.gif"
  [trip/day2/cut.gif]="head -c 20 $samples/trip/day2/birds.gif"
  [trip/day2/sunset.png]="$samples/trip/day2/sunset.png"
  [deep/a/b/c/d/icon.gif]="icon"
)
make_file() {
  local path=$1 source=${files[$1]}
  case $source in
    "") : >"$tree/$path" ;;
    icon) icon >"$tree/$path" ;;
    text) echo "not an image" >"$tree/$path" ;;
    head*) $source >"$tree/$path" ;;
    *) cp "$source" "$tree/$path" ;;
  esac
}
# Entries of a folder (relative path, "" for the top), last name first.
entries() {
  local folder=$1 path
  for path in "${!files[@]}"; do
    [ -n "$folder" ] && { [[ $path == "$folder"/* ]] || continue; path=${path#"$folder"/}; }
    echo "${path%%/*}"
  done | LC_ALL=C sort -u -r
}
make_folder() {
  local folder=$1 name path
  mkdir "$tree${folder:+/$folder}"
  for name in $(entries "$folder"); do
    path=${folder:+$folder/}$name
    if [ -n "${files[$path]+set}" ]; then make_file "$path"; else make_folder "$path"; fi
  done
}
make_folder ""

# Wine's order, name order, must be the system's own in every folder.
while IFS= read -r folder; do
  listed=$(ls -f -a "$folder" | grep -v -x -e . -e ..)
  if [ "$listed" != "$(LC_ALL=C sort <<<"$listed")" ]; then
    echo "SKIP: $base lists $folder out of name order, which Wine keeps"
    exit 77
  fi
done < <(find "$tree" -type d)

failures=0
"$linux_cli" --quiet "$tree" || { echo "FAIL: the Linux program"; exit 1; }
mv "$tree/image_scan.pov" "$root/linux.pov"
export WINEDEBUG=-all
for spelling in "$tree" "Z:${tree//\//\\}"; do
  wine "$windows_cli" --quiet "$spelling" </dev/null || { echo "FAIL: the Windows program on $spelling"; failures=1; continue; }
  if cmp "$root/linux.pov" "$tree/image_scan.pov"; then
    echo "PASS: the same bytes for $spelling"
  else
    diff <(tr -d '\r' <"$root/linux.pov") <(tr -d '\r' <"$tree/image_scan.pov")
    echo "FAIL: other bytes for $spelling"
    failures=1
  fi
  rm -f "$tree/image_scan.pov"
done
exit $failures
