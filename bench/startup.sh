#!/usr/bin/env bash
# Time from start to a shown, painted main window under a plain X server (Xvfb, no window manager):
# Vistello started as the desktop menu starts it, against a minimal Qt Widgets dialog, side by side,
# each cold (page cache dropped first) and warm (run once just before). Prints the medians of
# ROUNDS rounds (10 unless set) and Vistello's ratio to the dialog.
#   PROGRAM  the Vistello to measure: vistello on PATH if installed, else BUILD/vistello
#   BUILD    the build folder holding the benchmark tools (build/ unless set)
# Cold runs start in a new data folder (a first start); warm runs in the one left by the run
# before (a later start). Needs root for dropping the page cache; without it each program's file
# and the libraries ldd lists are dropped from the cache one by one, which is said in the output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD:-$root/build}")
program=${PROGRAM:-$(command -v vistello || echo "$build/vistello")}
minimal=$build/bench/vistello_minimal_dialog
watch=$build/bench/vistello_painted_window
rounds=${ROUNDS:-10}

display=93
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
scratch=$(mktemp -d)
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$xvfb"; wait "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
export DISPLAY=:$display
for _ in $(seq 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.05
done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on :$display" >&2; exit 1; }

drop_method="drop_caches"
# Drops the page cache, or else the given program's own pages and its libraries'.
drop_cache() {
  if [ "$drop_method" = "drop_caches" ] && sync && (echo 3 >/proc/sys/vm/drop_caches) 2>/dev/null; then
    return
  fi
  drop_method="posix_fadvise DONTNEED on the program and its libraries"
  local file
  for file in "$1" $(ldd "$1" | awk '$3 ~ /^\// { print $3 } $1 ~ /^\// { print $1 }'); do
    dd if="$file" iflag=nocache count=0 status=none
  done
}

data=0
# Prints the milliseconds to the painted window of vistello (in a new data folder when asked)
# or of the minimal dialog.
run() {
  case $1 in
    vistello)
      [ "$2" = new ] && data=$((data + 1))
      XDG_DATA_HOME=$scratch/data$data "$watch" Vistello "$program" --desktop 2>>"$scratch/errors"
      ;;
    minimal) "$watch" "Minimal dialog" "$minimal" 2>>"$scratch/errors" ;;
  esac || { tail -n 2 "$scratch/errors" >&2; exit 1; }
}

binary() { [ "$1" = vistello ] && echo "$program" || echo "$minimal"; }

load=$(cut -d' ' -f1-3 /proc/loadavg)
for _ in $(seq "$rounds"); do
  for name in vistello minimal; do
    drop_cache "$(binary "$name")"
    run "$name" new >>"$scratch/cold-$name"
    run "$name" old >/dev/null
    run "$name" old >>"$scratch/warm-$name"
  done
done

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for kind in cold warm; do
  v=$(median "$scratch/$kind-vistello")
  m=$(median "$scratch/$kind-minimal")
  printf '%s: vistello %s ms, minimal %s ms, ratio %.2f\n' "$kind" "$v" "$m" "$(echo "$v / $m" | bc -l)"
done
echo "$program, $rounds rounds; cache dropped with $drop_method; load before: $load, after: $(cut -d' ' -f1-3 /proc/loadavg)"
