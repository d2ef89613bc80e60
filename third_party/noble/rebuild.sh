#!/bin/sh
# Bundles the pinned packages into vistello-crypto.js afresh and checks that it is the committed
# file, byte for byte; with --write it replaces the committed file instead. Only this script needs
# the npm registry: the program's build takes the committed bundle as it is.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/package.json" "$here/package-lock.json" "$here/entry.js" "$work/"
cd "$work"
npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >/dev/null
./node_modules/.bin/esbuild entry.js --bundle --format=iife --target=es2017 --charset=ascii \
  --legal-comments=inline --log-level=warning --outfile=vistello-crypto.js \
  "--banner:js=/* @noble/ciphers 1.0.0 and @noble/hashes 1.0.0, MIT licence (LICENSE beside this file's source), bundled by rebuild.sh. */"
if [ "${1:-}" = "--write" ]; then
  cp vistello-crypto.js "$here/vistello-crypto.js"
elif cmp -s vistello-crypto.js "$here/vistello-crypto.js"; then
  echo "vistello-crypto.js is the bundle of the pinned packages"
else
  echo "vistello-crypto.js differs from the bundle of the pinned packages" >&2
  exit 1
fi
