#!/usr/bin/env bash
# The album benchmarks' tree (PHOTOS photos in 400 folders, 5,000 unless set) made into a site by
# Vistello and by two other gallery makers, each from nothing into an empty folder with the photos
# in the page cache, side by side: seconds, peak memory of the largest single process (the
# makers that start helper processes are measured by the largest of them) and files made.
# Each is asked for thumbnails of 300 pixels and the photos copied as they are, as far as it can
# be: lazygal always adds one smaller copy (800 pixels) and thumbsup's thumbnails are squares.
# The others are installed when missing: lazygal from Debian, thumbsup from npm into the build
# folder, with GraphicsMagick, which it makes its pictures with. A maker that cannot be installed
# or run is named with why. Needs vistello and vistello_photo_tree built in BUILD (build/ unless
# set); run as root or with sudo at hand for the Debian packages.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD:-$root/build}")
photos=${PHOTOS:-5000}
scratch=$build/bench-albums
work=$scratch/side-by-side
npm_prefix=$scratch/npm
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

tree=$("$build/bench/vistello_photo_tree" "$scratch" "$photos" 400)
rm -rf "$work"
mkdir -p "$work"

# Why a maker is missing, or nothing.
install_lazygal() {
  command -v lazygal >/dev/null && return 0
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq lazygal >"$work/lazygal-install.log" 2>&1 ||
    { echo "apt-get install lazygal failed: $(tail -n 1 "$work/lazygal-install.log")"; return 1; }
}
install_thumbsup() {
  if ! command -v gm >/dev/null; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq graphicsmagick \
      >"$work/gm-install.log" 2>&1 ||
      { echo "apt-get install graphicsmagick failed: $(tail -n 1 "$work/gm-install.log")"; return 1; }
  fi
  [ -x "$npm_prefix/bin/thumbsup" ] && return 0
  npm install -g --prefix "$npm_prefix" thumbsup >"$work/thumbsup-install.log" 2>&1 ||
    { echo "npm install thumbsup failed: $(tail -n 1 "$work/thumbsup-install.log")"; return 1; }
}

vistello_seconds=""
# Runs a maker into its own empty folder and prints its row.
measure() {
  local name=$1 out=$work/$1
  shift
  mkdir -p "$out"
  find "$tree" -name 'IMG_*.jpg' -exec cat {} + >/dev/null
  sync
  if ! (cd "$out" && /usr/bin/time -f '%e %M' -o "$work/$name.time" "$@" >"$work/$name.log" 2>&1); then
    printf '%-10s failed: %s\n' "$name" "$(tail -n 1 "$work/$name.log")"
    return 0
  fi
  local seconds kb files
  read -r seconds kb <"$work/$name.time"
  files=$(find "$out" -type f | wc -l)
  [ -z "$vistello_seconds" ] && vistello_seconds=$seconds
  printf '%-10s %9s %8d %8d %7.2f\n' "$name" "$seconds" $((kb / 1024)) "$files" \
    "$(echo "$seconds / $vistello_seconds" | bc -l)"
}

printf '%s photos in 400 folders\n%-10s %9s %8s %8s %7s\n' "$photos" maker seconds peak_MB files ratio
mkdir -p "$work/vistello/web"
printf 'TEMPLATE=%s\nOUTPUT=%s\nTHUMBSIDE=300\nOVERVIEW=%s\n' "$root/templates/light.htm" \
  "$work/vistello/web" "$root/templates/light-overview.htm" >"$work/vistello/site.dat"
# Vistello's time is its import and its Generate, one after the other.
measure vistello sh -c "'$build/vistello' --import '$tree' site.dat --albums &&
  '$build/vistello' --generate site.dat"
if why=$(install_lazygal); then
  measure lazygal lazygal --quiet -O -T 300x300 -s small=800x600 -o "$work/lazygal/web" "$tree"
else
  printf '%-10s not run: %s\n' lazygal "$why"
fi
if why=$(install_thumbsup); then
  measure thumbsup "$npm_prefix/bin/thumbsup" --input "$tree" --output "$work/thumbsup/web" \
    --thumb-size 300 --photo-preview copy --photo-download copy --concurrency "$(nproc)" \
    --no-usage-stats --include-videos false
else
  printf '%-10s not run: %s\n' thumbsup "$why"
fi
# The sites go; the logs stay.
rm -rf "$work/vistello" "$work/lazygal" "$work/thumbsup"
