#!/usr/bin/env bash
# Makes the README's picture again with its script and checks that it still
# matches docs/painted_sample.png, decoded, within a small tolerance.
#
# usage: check_docs_picture.sh PYTHON HOST WORK_FOLDER [LAUNCHER...]
set -euo pipefail

python=$1
host=$2
work=$3
shift 3
root=$(dirname "$0")/../..
mkdir -p "$work"
bash "$root/docs/make_sample_picture.sh" "$host" "$work/painted_sample.png" "$@"
"$python" "$root/tests/pictures/compare_pictures.py" "$root/docs/painted_sample.png" \
  "$work/painted_sample.png"
