#!/usr/bin/env bash
# Makes docs/painted_sample.png, the picture of the README's walkthrough: the
# built-in sample surface with vertices 20000 to 24000 painted red by
# Facetkit's function 1, as the stand-in host draws it at the end of the
# session. The tests run this script and compare its picture with the one
# in docs/, so a change in drawing shows up there.
#
# usage: make_sample_picture.sh HOST OUTPUT.png [LAUNCHER...]
#   HOST is the built Zandrovix.exe (libFacetkit.so beside it).
set -euo pipefail

host=$(realpath "$1")
output=$(realpath "$2")
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Menu function 1, first and last vertex, the colour, and no saving.
printf 'number 1\nnumber 20000\nnumber 24000\ntext FF0000\nno\n' >"$work/paint.answers"
(cd "$work" && "$@" "$host" --answers paint.answers --snapshot picture.png \
  --picture-size 640x480 >/dev/null)
cp "$work/picture.png" "$output"
