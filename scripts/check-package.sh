#!/usr/bin/env bash
# Checks a built package as Debian's tools and a user would: lintian, the AppStream data and the
# desktop entry; then installs it with apt, runs the installed program on the demo it ships,
# removes it and checks that nothing it installed is left. Needs root, or sudo.
set -euo pipefail
deb=$(realpath "$1")
fail() { echo "FAIL: $*" >&2; exit 1; }
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Only the program, its image and network modules and its data: no headers, libraries, tests or
# benchmarks.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$scratch/files"
allowed='^usr/(bin/(vistello)?|lib/([a-z0-9_-]+/(vistello/(vistello-(images|publish|cipher)\.so)?)?)?|share/((vistello|applications|icons|metainfo|man|doc|doc-base)(/.*)?)?)?$'
stray=$(grep -Ev "$allowed" "$scratch/files" || true)
[ -z "$stray" ] || fail "files that do not belong in the package: $stray"

said=$(lintian --fail-on error,warning "$deb" 2>&1) || { echo "$said" >&2; fail "lintian"; }
dpkg-deb -x "$deb" "$scratch/unpacked"
appstreamcli validate --no-net "$scratch"/unpacked/usr/share/metainfo/*.metainfo.xml >/dev/null ||
    fail "appstreamcli"
desktop-file-validate "$scratch"/unpacked/usr/share/applications/*.desktop || fail "desktop entry"

version=$(dpkg-deb -f "$deb" Version)
# What the shared-library scan cannot see: Qt's platform plugins, and ffmpeg for clips.
dpkg-deb -f "$deb" Depends | grep -qw qt6-qpa-plugins || fail "Depends lacks qt6-qpa-plugins"
dpkg-deb -f "$deb" Recommends | grep -qw ffmpeg || fail "Recommends lacks ffmpeg"
# The network module's libraries, which the program itself does not link.
for library in libcurl4 libsecret-1-0; do
    dpkg-deb -f "$deb" Depends | grep -qw "$library" || fail "Depends lacks $library"
done
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --reinstall "$deb" >/dev/null
dpkg -L vistello | while read -r path; do if [ ! -d "$path" ]; then echo "$path"; fi; done >"$scratch/installed"
[ "$(vistello --version)" = "vistello $version" ] || fail "--version: $(vistello --version)"
man -w vistello >/dev/null || fail "man vistello"

# The first start from the menu makes the demo workspace; Generate makes pages tidy accepts.
home=$scratch/home
mkdir -p "$home"
said=$(HOME=$home XDG_DATA_HOME="$home/data" vistello --desktop --generate) || fail "--generate"
echo "$said"
pages=("$home"/data/vistello/show/*.htm)
[ -f "${pages[0]}" ] || fail "the demo made no pages"
for page in "${pages[@]}"; do
    said=$(tidy -errors -q --drop-empty-elements no "$page" 2>&1 |
        grep -v 'proprietary attribute "\(decoding\|fetchpriority\|loading\|srcset\|sizes\)"') || true
    [ -z "$said" ] || fail "tidy: $page: $said"
done

DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq vistello >/dev/null
left=$(while read -r path; do if [ -e "$path" ]; then echo "$path"; fi; done <"$scratch/installed")
[ -z "$left" ] || fail "left after removal: $left"
echo "The package installs, runs, generates the demo and removes cleanly: $(basename "$deb")"
