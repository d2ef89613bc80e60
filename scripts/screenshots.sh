#!/usr/bin/env bash
# Remakes the README's pictures from the real program, offscreen: docs/window.png (the main window
# open in a scratch copy of the demo workspace) and docs/page.png (a page of the show generated
# there, in headless Chromium, which this script installs when it is missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD:-$root/build}")
cd "$root"

./scripts/install-deps.sh
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target vistello_demo vistello_window_shot
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/tools/vistello_demo" "$root/templates" "$scratch/demo" >/dev/null
(cd "$scratch/demo" && QT_QPA_PLATFORM=offscreen "$build/tools/vistello_window_shot" "$root/docs/window.png")

if ! command -v chromium >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends chromium >/dev/null
fi
sandbox=()
[ "$(id -u)" -eq 0 ] && sandbox=(--no-sandbox)
chromium --headless "${sandbox[@]}" --disable-gpu --hide-scrollbars --window-size=1100,860 \
    --screenshot="$root/docs/page.png" "file://$scratch/demo/show/lake_at_noon.htm" 2>/dev/null
echo "Wrote docs/window.png and docs/page.png"
