#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quiet and quick when all are present.
set -euo pipefail

packages=(build-essential cmake qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libbenchmark-dev
          fonts-dejavu-core tidy desktop-file-utils clang libclang-rt-14-dev libexiv2-dev libexpat1-dev
          libimage-exiftool-perl libvips-dev libvips-tools libheif-dev chromium
          chromium-driver python3 ffmpeg locales nlohmann-json3-dev lintian appstream man-db file
          libcurl4-openssl-dev libssl-dev libsecret-1-dev
          openssh-server openssh-client lighttpd lighttpd-mod-webdav python3-pyftpdlib
          python3-openssl openssl curl rsync)
# The publishing tests' S3 server runs on Node.js; a machine that has its own node keeps it.
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)

# The tests run the window's clip path under a decimal-comma locale.
comma_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE.utf8' && return 0
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && { comma_locale; exit 0; }

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
comma_locale
