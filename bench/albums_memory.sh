#!/usr/bin/env bash
# Time and peak memory of the program itself on the album benchmarks' trees (20,000 and 5,000
# photos, each in 400 folders): --import TREE --albums, again with nothing changed (beside
# listing the tree with find), then --generate from nothing, again with nothing changed and again
# after one photo changed, each run a new process with the photos in the page cache. Needs vistello and vistello_photo_tree built in BUILD (build/ unless set).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD:-$root/build}")
scratch=$build/bench-albums

# Runs the command in the work folder; prints "what photos seconds peak-MB" and fails with the
# program's own words when it fails.
measure() {
  local what=$1 photos=$2
  shift 2
  sync
  if ! (cd "$work" && /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/err"); then
    cat "$work/err" >&2
    exit 1
  fi
  read -r seconds kb <"$work/time"
  printf '%-34s %6s %9s %8d\n' "$what" "$photos" "$seconds" $((kb / 1024))
}

printf '%-34s %6s %9s %8s\n' run photos seconds peak_MB
for photos in 20000 5000; do
  tree=$("$build/bench/vistello_photo_tree" "$scratch" "$photos" 400)
  work=$scratch/memory-$photos
  rm -rf "$work"
  mkdir -p "$work/web"
  printf 'TEMPLATE=%s\nOUTPUT=%s\nTHUMBSIDE=300\nOVERVIEW=%s\n' "$root/templates/light.htm" \
    "$work/web" "$root/templates/light-overview.htm" >"$work/site.dat"
  find "$tree" -name "IMG_*.jpg" -exec cat {} + >/dev/null
  measure "import --albums" "$photos" "$build/vistello" --import "$tree" site.dat --albums
  # Importing the tree again as it is, against listing it with sizes and times: 20 runs of each.
  measure "import --albums again, 20 runs" "$photos" bash -c \
    'for run in {1..20}; do "$0" --import "$1" site.dat --albums >/dev/null || exit 1; done' \
    "$build/vistello" "$tree"
  measure "find -printf, 20 runs" "$photos" bash -c \
    'for run in {1..20}; do find "$0" -printf "%p %s %T@\n" >/dev/null; done' "$tree"
  measure "generate from nothing" "$photos" "$build/vistello" --generate site.dat
  measure "generate, nothing changed" "$photos" "$build/vistello" --generate site.dat
  # One photo takes its neighbour's bytes, then gets its own back.
  mapfile -t two < <(find "$tree" -name 'IMG_*.jpg' | sort | sed -n "$((photos / 2)),+1p")
  cp "${two[0]}" "$work/kept.jpg"
  cp "${two[1]}" "${two[0]}"
  measure "generate, one photo changed" "$photos" "$build/vistello" --generate site.dat
  cp "$work/kept.jpg" "${two[0]}"
  measure "generate, the photo back" "$photos" "$build/vistello" --generate site.dat
  rm -rf "$work"
done
