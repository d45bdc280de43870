#!/usr/bin/env bash
# Fetches the benchmark's images into OUTPUT_DIR (the build tree, never the
# sources): photographs from python3-skimage's data files, its logo as the
# flat graphic, and document pages rendered at 150 dpi from PDFs that
# Debian's documentation packages ship. The packages are only downloaded
# and unpacked, not installed. Needs apt-get, dpkg-deb and pdftoppm
# (poppler-utils).
set -euo pipefail
out=${1:?usage: prepare-images.sh OUTPUT_DIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# apt-get download writes into the current directory; as root it warns that
# the _apt user cannot reach a private temporary directory, harmlessly.
chmod 755 "$work"
apt-get download -q python3-skimage debian-reference-en libtasn1-doc
for deb in *.deb; do dpkg-deb -x "$deb" root; done

data=root/usr/lib/python3/dist-packages/skimage/data
rm -rf "$out/photos" "$out/graphics" "$out/pages"
mkdir -p "$out/photos" "$out/graphics" "$out/pages"
for photo in astronaut chelsea coffee motorcycle_left; do cp "$data/$photo.png" "$out/photos/"; done
cp "$data/logo.png" "$out/graphics/"  # RGBA: the benchmark puts it on white
# Pages of running text with headings, code blocks, boxes and links.
pdftoppm -r 150 -png -f 30 -l 33 root/usr/share/debian-reference/debian-reference.en.pdf \
  "$out/pages/debian-reference"
pdftoppm -r 150 -png -f 10 -l 13 root/usr/share/doc/libtasn1-doc/libtasn1.pdf "$out/pages/libtasn1"
ls -R "$out"
