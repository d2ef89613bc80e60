#!/usr/bin/env bash
# Installs into a scratch prefix, checks what landed, that the program answers on the command line
# and makes valid pages from each template it ships, then uninstalls as `make uninstall` does.
set -euo pipefail
source_dir=$1 build_dir=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# tidy, which does not know the image and video attributes browsers have added lately; an empty
# element is sound HTML, and the looks hide one that a photo left empty.
tidy_accepts() {
    local said
    said=$(tidy -errors -q --drop-empty-elements no "$1" 2>&1 |
        grep -v 'proprietary attribute "\(decoding\|fetchpriority\|loading\|srcset\|sizes\|playsinline\)"') || true
    [ -z "$said" ] || { echo "$said" >&2; return 1; }
}

# The named component writes its own manifest, so the user's install_manifest.txt stays intact.
cmake --install "$build_dir" --component vistello --prefix "$prefix" >/dev/null
manifest=$build_dir/install_manifest_vistello.txt

sizes=(16 22 24 32 48 64 128 256)
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build_dir/CMakeCache.txt")
expected=(bin/vistello "$libdir/vistello/vistello-images.so" "$libdir/vistello/vistello-publish.so"
          "$libdir/vistello/vistello-cipher.so"
          share/doc/vistello/manual.html
          share/vistello/templates/light.htm share/vistello/templates/dark.htm
          share/vistello/templates/light-overview.htm share/vistello/templates/dark-overview.htm
          share/vistello/templates/phone.htm share/vistello/templates/phone-overview.htm
          share/applications/org.vistello.Vistello.desktop
          share/icons/hicolor/scalable/apps/org.vistello.Vistello.svg
          share/metainfo/org.vistello.Vistello.metainfo.xml share/man/man1/vistello.1.gz
          share/doc/vistello/copyright share/doc/vistello/changelog.gz share/doc-base/vistello)
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x$size/apps/org.vistello.Vistello.png"); done
while read -r file; do expected+=("share/vistello/demo/${file#./}"); done < <(cd "$build_dir/demo-workspace" && find . -type f)
diff <(printf '%s\n' "${expected[@]}" | sort) \
     <(cd "$prefix" && find . -type f -size +0 | sed 's|^\./||' | sort) || fail "installed files differ"

# A PNG's width and height stand big-endian at bytes 16 to 23.
for size in "${sizes[@]}"; do
    png=$prefix/share/icons/hicolor/${size}x$size/apps/org.vistello.Vistello.png
    [ "$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)" = "$size $size" ] || fail "$png size"
done

desktop_entry=$prefix/share/applications/org.vistello.Vistello.desktop
desktop-file-validate "$desktop_entry" || fail "desktop entry not valid"
grep -qx 'Exec=vistello --desktop' "$desktop_entry" || fail "desktop entry does not start --desktop"
# The entry, its icon and the AppStream data name one another, and the release is this version.
icon=$(sed -n 's/^Icon=//p' "$desktop_entry")
[ -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no icon named $icon"
metainfo=$prefix/share/metainfo/$icon.metainfo.xml
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop_entry")</launchable>" "$metainfo" ||
    fail "the AppStream data launch no installed entry"
version=$("$prefix/bin/vistello" --version | cut -d' ' -f2)
grep -q "<release version=\"$version\"" "$metainfo" || fail "AppStream release is not $version"

program=$prefix/bin/vistello
[[ $("$program" --version) == "vistello "* ]] || fail "--version"
"$program" --help | grep -q -- '--desktop' || fail "--help"
# The manual page gives the synopsis and each option as --help does, word for word, hyphens as
# hyphens, under this version.
manual=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man -l "$prefix/share/man/man1/vistello.1.gz" 2>&1 | tr -s ' \n' ' ')
options=$("$program" --help | sed '1,/^$/d' | tr -s ' \n' ' ')
[[ $manual == *"$options"* ]] || fail "the manual page's options differ from --help: $manual"
synopsis=$("$program" --help | sed -n 's/^ *\(Usage\|or\): //p' | tr '\n' ' ')
[[ $manual == *"SYNOPSIS $synopsis"* ]] || fail "the manual page's synopsis differs from --help"
[[ $manual == *"Vistello $version "* ]] || fail "the manual page is not of version $version"
! zcat "$prefix/share/man/man1/vistello.1.gz" | grep -q '^[^.].*[^\\]-' ||
    fail "the manual page has a hyphen that renders as a dash or breaks a line"
for option in --generate --import --by-date --albums --desktop -h --help --version; do
    "$program" --help | grep -q -- " $option\b" || fail "--help does not tell of $option"
done
said=$("$program" --no-such-option 2>&1 >/dev/null) && fail "unknown option accepted" || status=$?
[ "$status" -eq 2 ] && grep -q '^Usage: vistello' <<<"$said" || fail "unknown option"

# The first start from the menu finds the installed demo, ready to generate; later starts keep
# what the user left.
home=$prefix/home
said=$(HOME=$home XDG_DATA_HOME= "$program" --desktop --generate) || fail "the demo: $said"
[[ $said == "Wrote 7 of 7 pages and copied 6 of 6 images into show/" ]] || fail "the demo: $said"
rm "$home/.local/share/vistello/demo.dat"
HOME=$home XDG_DATA_HOME= "$program" --desktop --generate >/dev/null 2>&1 && fail "the demo came back"
rm -r "$home"

# Generating from the command line with each installed template: every tag is there and tidy
# accepts the pages. A missing image is one line of its own, with status 1.
work=$prefix/work
mkdir -p "$work/web"
vips black "$work/a.jpg" 60 40 --bands 3 || fail "vips"
for template in "$prefix"/share/vistello/templates/{light,dark,phone}.htm; do
    for tag in BACK NEXT INDEX IMAGETITLE DESCRIPTION KEYWORDS DATETAKEN CAMERA LENS EXPOSURE; do
        grep -q "<<$tag>>" "$template" || fail "$template lacks <<$tag>>"
    done
    printf 'TEMPLATE=%s\nOUTPUT=web\nIMAGE=a.jpg\nTITLE=Second\n\nIMAGE=a.jpg\nTITLE=First\n' \
        "$template" >"$work/show.dat"
    said=$(cd "$work" && "$program" --generate show.dat) || fail "--generate with $template"
    [ "$said" = "Wrote 2 of 2 pages and copied 2 of 2 images into web/" ] || fail "said: $said"
    for page in "$work"/web/*.htm; do tidy_accepts "$page" || fail "tidy: $page"; done
done
# Each overview template with thumbnails of real photos: tidy accepts the overview page, and its
# links and thumbnails lead to files that are there.
vips black "$work/photo.jpg" 900 600 --bands 3 || fail "vips"
for overview in "$prefix"/share/vistello/templates/*-overview.htm; do
    rm -rf "$work/web" && mkdir "$work/web"
    printf 'TEMPLATE=%s\nOUTPUT=web\nTHUMBSIDE=200\nOVERVIEW=%s\nIMAGE=photo.jpg\nTITLE=Second\n\nIMAGE=a.jpg\nTITLE=First\n' \
        "${overview%-overview.htm}.htm" "$overview" >"$work/show.dat"
    (cd "$work" && "$program" --generate show.dat >/dev/null) || fail "--generate with $overview"
    tidy_accepts "$work/web/index.htm" || fail "tidy: $overview"
    for target in $(grep -o '\(href\|src\)="[^"]*"' "$work/web/index.htm" | cut -d'"' -f2 |
        grep -v '^data:'); do
        [ -f "$work/web/$target" ] || fail "$overview: $target is not there"
    done
    [ "$(vipsheader -f width "$work/web/thumbs/photo.jpg")" = 200 ] || fail "thumbnail size"
done
# A clip among the photos: each look plays it in a video element and marks its tile, writes a
# photo's page as before, and tidy accepts every page.
ffmpeg -v error -f lavfi -i testsrc=size=320x240:rate=10 -t 1 "$work/clip.mp4" || fail "ffmpeg"
for look in light dark phone; do
    rm -rf "$work/web" && mkdir "$work/web"
    printf 'TEMPLATE=%s.htm\nOUTPUT=web\nTHUMBSIDE=200\nOVERVIEW=%s-overview.htm\nIMAGE=photo.jpg\nTITLE=Photo\n\nIMAGE=clip.mp4\nTITLE=Clip\n' \
        "$prefix/share/vistello/templates/$look" "$prefix/share/vistello/templates/$look" >"$work/show.dat"
    said=$(cd "$work" && "$program" --generate show.dat) || fail "--generate with a clip and $look"
    [ "$said" = "Wrote 3 of 3 pages and copied 2 of 2 pictures and clips into web/" ] || fail "said: $said"
    grep -q '<video' "$work/web/clip.htm" || fail "$look: the clip's page has no video"
    ! grep -q '<video\|<<' "$work/web/photo.htm" || fail "$look: the photo's page"
    grep -q 'class="play"\|data-clip' "$work/web/index.htm" || fail "$look: the clip's tile"
    for page in "$work"/web/*.htm; do tidy_accepts "$page" || fail "tidy: $page"; done
done
# Ended by a signal while a clip is made: each tool ends with the program, and no temporary is
# left; what a tool started ends too (a stand-in for ffmpeg starts a process of its own). Killed
# outright, the program still takes its tools along, and the next run clears its temporary.
ffmpeg -v error -f lavfi -i testsrc=size=320x240:rate=10 -t 5 -c:v mpeg4 "$work/long.mp4" || fail "ffmpeg"
mkdir -p "$work/fake"
printf '#!/bin/sh\n[ "$1" = -version ] && exit 0\nsleep 60 & echo $! >>"$STARTED"\nwait\n' >"$work/fake/ffmpeg"
chmod +x "$work/fake/ffmpeg"
printf 'TEMPLATE=show.htm\nOUTPUT=web\nIMAGE=long.mp4\nTITLE=Long\n' >"$work/clip.dat"
printf '<<MEDIA>>' >"$work/show.htm"
ended() { local state; state=$(ps -o stat= -p "$1" || true); [ -z "$state" ] || [[ $state == Z* ]]; }
for signal in TERM INT HUP QUIT KILL; do
    rm -rf "$work/web" "$work/started" && mkdir "$work/web"
    (cd "$work" && STARTED="$work/started" PATH="$work/fake:$PATH" exec "$program" --generate clip.dat >/dev/null 2>&1) &
    running=$!
    for _ in $(seq 100); do
        [ -s "$work/started" ] && compgen -G "$work/web/.vistello-[0-9]*" >/dev/null && break
        sleep 0.1
    done
    children=$(pgrep -P "$running" || true)
    [ -n "$children" ] || fail "$signal: no tool was started for the clip"
    kill -s "$signal" "$running"
    wait "$running" || true
    sleep 0.3
    for child in $children; do ended "$child" || fail "$signal: tool $child outlived the program"; done
    if [ "$signal" = KILL ]; then
        printf 'TEMPLATE=show.htm\nOUTPUT=web\nIMAGE=a.jpg\nTITLE=A\n' >"$work/next.dat"
        (cd "$work" && "$program" --generate next.dat >/dev/null) || fail "the run after KILL"
        kill $(cat "$work/started") 2>/dev/null || true
    else
        for started in $(cat "$work/started"); do
            ended "$started" || fail "$signal: what the tool started outlived the program"
        done
    fi
    ! compgen -G "$work/web/.vistello-[0-9]*" >/dev/null || fail "$signal: left $(ls -A "$work/web")"
done
rm -rf "$work/web" && mkdir "$work/web"
printf '<<IMAGETITLE>> <<NEXT>>' >"$work/show.htm"
printf 'TEMPLATE=show.htm\nOUTPUT=web\nIMAGE=gone.jpg\nTITLE=Second\n\nIMAGE=a.jpg\nTITLE=First\n' >"$work/show.dat"
summary=$(cd "$work" && "$program" --generate show.dat 2>"$work/said") && status=0 || status=$?
[ "$status" -eq 1 ] || fail "--generate ended with $status"
[ "$summary" = "Wrote 2 of 2 pages and copied 1 of 2 images into web/" ] || fail "summary: $summary"
said=$(cat "$work/said")
grep -qx 'vistello: gone.jpg: could not be copied to web/gone.jpg: No such file or directory' <<<"$said" || fail "said: $said"
[ "$(cat "$work/web/first.htm")" = "First <a href=second.htm>Next</a>" ] || fail "first page"

# Importing a folder of photos whose details another tool wrote: the project gets each field.
mkdir -p "$work/pics"
cp "$source_dir/fuzz/corpus/photo_details/all.jpg" "$work/pics/harbour.jpg"
said=$(cd "$work" && "$program" --import pics album.dat) || fail "--import"
[ "$said" = "1 image added, 0 images already in the project skipped: album.dat" ] || fail "said: $said"
for line in 'TITLE=Sunset' 'KEYWORDS=sea, sun' 'ALT=Boats' "IMAGE=$(cd "$work" && pwd -P)/pics/harbour.jpg"; do
    grep -qx "$line"$'\r' "$work/album.dat" || fail "album.dat lacks $line"
done
status=0
(cd "$work" && "$program" --import gone album.dat >/dev/null 2>&1) || status=$?
[ "$status" -eq 1 ] || fail "--import of a missing folder ended with $status"
# Started for the menu's folder, a folder named on the line is found from where the user stands.
(cd "$work" && HOME="$work" XDG_DATA_HOME="$work/data" "$program" --desktop --import pics trip.dat \
    >/dev/null) || fail "--desktop --import of a folder named from here"
[ -f "$work/data/vistello/trip.dat" ] || fail "--desktop --import made no project"
[ -f "$work/data/vistello/demo.dat" ] || fail "the first start from the menu holds no demo"
rm -r "$work"

env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -s -C "$source_dir" uninstall MANIFEST="$manifest"
[ -z "$(find "$prefix" -not -type d)" ] || fail "left after uninstall: $(find "$prefix" -not -type d)"
