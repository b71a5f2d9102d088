#!/usr/bin/env bash
# Makes the German locale de_DE.UTF-8 (numbers with a decimal comma) in the
# folder $1, for tests that find it there through LOCPATH. Nothing is
# installed on the system. Without localedef the tests that need the locale
# skip, saying so.
set -u
folder=$1
[ -f "$folder/de_DE.UTF-8/LC_NUMERIC" ] && exit 0
if ! command -v localedef >/dev/null; then
  echo "localedef is missing: tests under a comma locale will be skipped"
  exit 0
fi
mkdir -p "$folder"
# localedef exits with 1 after mere warnings; the made locale is what counts.
localedef -i de_DE -f UTF-8 "$folder/de_DE.UTF-8"
if [ ! -f "$folder/de_DE.UTF-8/LC_NUMERIC" ]; then
  echo "localedef could not make de_DE.UTF-8 in $folder"
  exit 1
fi
