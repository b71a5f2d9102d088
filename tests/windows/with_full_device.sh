#!/usr/bin/env bash
# Runs COMMAND... in a folder of its own with the argument "full", a device
# there on which every write fails, as on a full disk: a device node of its
# own (root may make one), or a link to /dev/full. Exits 77 (skipped) where
# neither can be had.
#
# usage: with_full_device.sh COMMAND...
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! mknod "$work/full" c 1 7 2>/dev/null; then
  [ -c /dev/full ] && ln -s /dev/full "$work/full" || { echo "no full device: skipped"; exit 77; }
fi
cd "$work" && "$@" full
