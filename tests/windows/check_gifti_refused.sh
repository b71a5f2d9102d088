#!/usr/bin/env bash
# The Windows stand-in host has no GIfTI: given a GIfTI file it says so in
# one line and exits with 2 before loading the plug-in; asked to save a .gii
# file it says so and the save fails.
#
# usage: check_gifti_refused.sh HOST PLUGIN [LAUNCHER...]
set -u
host=$1
plugin=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0

cat >surface.gii <<'GII'
<?xml version="1.0" encoding="UTF-8"?>
<GIFTI Version="1.0" NumberOfDataArrays="0"></GIFTI>
GII
"$@" "$host" --plugin "$plugin" --surface surface.gii --trace trace.txt >stdout.txt 2>stderr.txt
status=$?
tr -d '\r' <stderr.txt >errors.txt
if [ "$status" -ne 2 ]; then echo "loading a GIfTI file: exit code $status, expected 2"; failed=1; fi
if [ "$(wc -l <errors.txt)" -ne 1 ] ||
   ! grep -q '^Zandrovix.exe: no surface: "surface.gii": a GIfTI file, which this build of Zandrovix.exe cannot read' errors.txt; then
  echo "loading a GIfTI file: unexpected error output:"; cat errors.txt; failed=1
fi
if grep -q '^host: load' trace.txt; then echo "the plug-in was loaded"; failed=1; fi

printf 'number 1\nnumber 0\nnumber 0\ntext FF0000\nyes\nfile painted.gii\n' >save.answers
"$@" "$host" --plugin "$plugin" --answers save.answers --trace trace.txt >stdout.txt 2>stderr.txt
tr -d '\r' <trace.txt >saved-trace.txt
if ! grep -q '^zvSaveCurrentSRF("painted.gii") -> 0$' saved-trace.txt ||
   ! grep -q 'cannot save GIfTI files' stderr.txt || [ -e painted.gii ]; then
  echo "saving as .gii was not refused:"; tail -n 3 saved-trace.txt; cat stderr.txt; failed=1
fi
exit $failed
