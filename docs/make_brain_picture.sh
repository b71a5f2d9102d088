#!/usr/bin/env bash
# Makes docs/brain_lateral_medial.png, the README's picture of a real cortex:
# the left pial surface of FreeSurfer's fsaverage5 subject, its lateral and
# medial views side by side, in the curvature colours the stand-in host
# gives a loaded FreeSurfer surface (no function is run).
#
# The surface is not part of this project and no test reads it: it comes
# with a FreeSurfer installation ($FREESURFER_HOME/subjects/fsaverage5/surf/
# lh.pial) or with nilearn's packaged fsaverage5 data (pial_left.gii there,
# the same mesh as GIfTI, in native builds only).
#
# usage: make_brain_picture.sh HOST SURFACE OUTPUT.png [LAUNCHER...]
#   HOST is the built Zandrovix.exe (libFacetkit.so beside it).
set -euo pipefail

host=$(realpath "$1")
surface=$(realpath "$2")
output=$(realpath "$3")
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && "$@" "$host" --surface "$surface" --runs 0 --view lateral,medial \
  --picture-size 400x300 --snapshot picture.png >/dev/null)
cp "$work/picture.png" "$output"
