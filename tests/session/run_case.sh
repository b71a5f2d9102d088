#!/usr/bin/env bash
# Runs one session case: the stand-in host plays a script of answers against
# the plug-in, and its trace (and any file the case names) must match the
# expected transcript beside the script, byte for byte.
#
# usage: run_case.sh CASE.answers HOSTS_DIR PLUGIN [LAUNCHER...]
#   HOSTS_DIR holds one folder per host variant (full, without_<name>, ...).
#   LAUNCHER runs the host (for instance wine64 for the Windows build).
# Lines "#> key: value" in the script set up the case:
#   host: VARIANT         the host variant (default full)
#   program: FILE         the host's file name in that folder (default Zandrovix.exe)
#   options: ...          further options for the host
#   exit: N               the host's expected exit code (default 0)
#   copy: SOURCE = PLACE  puts SOURCE, beside the script, at PLACE in the work
#                         folder before the session (folders are made)
#   full: PLACE           makes PLACE in the work folder a device on which every
#                         write fails, as on a full disk (skips the case, exit
#                         77, where no such device can be had)
#   full disk: PLACE      makes PLACE a folder on a small file system of its own,
#                         mounted before the copies into it and then filled up,
#                         so that any further write there fails for want of
#                         room (needs root: skips the case, exit 77, otherwise)
#   mode: MODE PLACE      sets the permission bits of PLACE after the copies
#   user: nobody          runs the native host as the user nobody (from root,
#                         with setpriv; as any other user, as that user), for
#                         cases where permissions matter; a host run through a
#                         launcher runs as the caller
#   owner: USER[:GROUP] PLACE  gives PLACE that owner after the copies
#                         (natively as root only; skips the case otherwise)
#   changes: PLACE...     the session may create, change or remove these places
#                         in the work folder and no other ("-" for none); any
#                         other difference in names, types, permission bits,
#                         owners, links or contents fails the case, and so
#                         does a change of what is set on a place that stays
#   file: WRITTEN = EXPECTED   a text file the session writes, compared with
#                              EXPECTED beside the script (with CR LF line ends
#                              when FACETKIT_TEXT_CRLF=1, as text mode writes on
#                              Windows)
#   binary: WRITTEN = EXPECTED a file compared byte for byte
# FACETKIT_UPDATE_EXPECTED=1 writes the results as the new expectations.
set -u

case_file=$(realpath "$1")
hosts_dir=$(realpath "$2")
plugin=$(realpath "$3")
shift 3
launcher=("$@")
case_dir=$(dirname "$case_file")
name=$(basename "$case_file" .answers)
expected_trace="$case_dir/$name.expected"

setting() { sed -n "s/^#> $1: //p" "$case_file"; }
variant=$(setting host | tail -n 1)
program=$(setting program | tail -n 1)
options=$(setting options | tr '\n' ' ')
expected_exit=$(setting exit | tail -n 1)

work=$(mktemp -d)
mounted=""
trap '[ -z "$mounted" ] || umount "$mounted"; chmod -R u+w "$work"; rm -rf "$work"' EXIT
host="$hosts_dir/${variant:-full}/${program:-Zandrovix.exe}"
[ -e "$host" ] || { echo "no host $host"; exit 1; }
cp "$case_file" "$work/session.answers"
full_disk=$(setting "full disk" | tail -n 1)
if [ -n "$full_disk" ]; then
  mkdir -p "$work/$full_disk"
  { [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=64k,mode=0755 facetkit_full "$work/$full_disk"; } ||
    { echo "no small file system to fill (needs root): skipped"; exit 77; }
  mounted="$work/$full_disk"
fi
while IFS= read -r copy; do
  [ -n "$copy" ] || continue
  mkdir -p "$work/$(dirname "${copy##* = }")"
  cp "$case_dir/${copy%% = *}" "$work/${copy##* = }"
done < <(setting copy)
while IFS= read -r full; do
  [ -n "$full" ] || continue
  mkdir -p "$work/$(dirname "$full")"
  if ! mknod "$work/$full" c 1 7 2>/dev/null; then
    [ -c /dev/full ] && ln -s /dev/full "$work/$full" || { echo "no full device: skipped"; exit 77; }
  fi
done < <(setting full)
if [ -n "$mounted" ]; then
  # Fills what room is left; the write ends with "no space left".
  head -c 1048576 /dev/zero >"$mounted/filler" 2>/dev/null
  [ "$(stat -c %s "$mounted/filler")" -lt 1048576 ] || { echo "the small file system is not full"; exit 1; }
fi
user=$(setting user | tail -n 1)
as_user=()
if [ -n "$user" ] && [ ${#launcher[@]} -eq 0 ] && [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null || { echo "no setpriv to run as $user: skipped"; exit 77; }
  chown -R "$user" "$work"
  as_user=(setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups --)
fi
while IFS= read -r mode; do
  [ -n "$mode" ] && chmod "${mode%% *}" "$work/${mode#* }"
done < <(setting mode)
while IFS= read -r owner; do
  [ -n "$owner" ] || continue
  { [ ${#launcher[@]} -eq 0 ] && chown "${owner%% *}" "$work/${owner#* }" 2>/dev/null; } ||
    { echo "cannot give ${owner#* } its owner (needs root, natively): skipped"; exit 77; }
done < <(setting owner)

# Every place in the work folder but the session's own files: its name,
# then what is set on it (type, permission bits, owner, link count, link
# target), then its content.
snapshot() {
  (cd "$work" && find . -mindepth 1 \( -path ./trace.txt -o -path ./stdout.txt -o -path ./stderr.txt \
      -o -path ./session.answers -o -path ./expected-file \) -prune -o -printf '%P\t%y %m %u:%g %n %l\n' |
    sort | while IFS=$'\t' read -r place what; do
      content=""
      [ "${what%% *}" = f ] && content=$(md5sum <"$place")
      printf '%s\t%s\t%s\n' "$place" "$what" "${content%% *}"
    done)
}
allowed_changes=$(setting changes | tr ' ' '\n')
[ -z "$allowed_changes" ] || before=$(snapshot)

# The host runs in the work folder, so files it writes stay there.
# shellcheck disable=SC2086
(cd "$work" && "${as_user[@]}" "${launcher[@]}" "$host" --plugin "$plugin" --answers session.answers \
  --trace trace.txt $options >stdout.txt 2>stderr.txt)
status=$?

failed=0
first_difference() {  # expected actual label
  if cmp -s "$1" "$2"; then return 0; fi
  local line
  line=$(cmp "$1" "$2" 2>&1 | sed -n 's/.* line \([0-9]*\).*/\1/p')
  [ -n "$line" ] || line=$(( $(wc -l <"$1") + 1 ))
  echo "$3 differs at line $line:"
  # cat -v shows a carriage return as ^M, so line-end differences are seen.
  echo "  expected: $(sed -n "${line}p" "$1" | cat -v)"
  echo "  actual:   $(sed -n "${line}p" "$2" | cat -v)"
  failed=1
}

if [ "${FACETKIT_UPDATE_EXPECTED:-0}" = 1 ]; then
  cp "$work/trace.txt" "$expected_trace"
fi
if [ ! -f "$work/trace.txt" ]; then
  echo "the host wrote no trace; its error output:"; cat "$work/stderr.txt"; failed=1
else
  first_difference "$expected_trace" "$work/trace.txt" "trace"
fi

if [ "$status" -ne "${expected_exit:-0}" ]; then
  echo "host exit code $status, expected ${expected_exit:-0}"; head -n 5 "$work/stderr.txt"; failed=1
fi

if [ -n "$allowed_changes" ]; then
  after=$(snapshot)
  while IFS= read -r place; do
    if ! grep -qxF "$place" <<<"$allowed_changes"; then
      echo "the session changed $place, which it may not"; failed=1
      continue
    fi
    # A place that may change keeps what was set on it, if it stays.
    set_before=$(awk -F '\t' -v p="$place" '$1 == p { print $2 }' <<<"$before")
    set_after=$(awk -F '\t' -v p="$place" '$1 == p { print $2 }' <<<"$after")
    if [ -n "$set_before" ] && [ -n "$set_after" ] && [ "$set_before" != "$set_after" ]; then
      echo "the session changed what was set on $place: $set_before, now $set_after"; failed=1
    fi
  done < <(diff <(echo "$before") <(echo "$after") | sed -n 's/^[<>] //p' | cut -f 1 | sort -u)
fi

compare_written() {  # kind entry
  local entry=$2
  written=${entry%% = *}
  expected="$case_dir/${entry##* = }"
  if [ ! -f "$work/$written" ]; then
    echo "the session wrote no file $written"; failed=1; return
  fi
  if [ "${FACETKIT_UPDATE_EXPECTED:-0}" = 1 ]; then
    if [ "$1" = file ]; then tr -d '\r' <"$work/$written" >"$expected"; else cp "$work/$written" "$expected"; fi
  fi
  reference="$work/expected-file"
  if [ "$1" = file ] && [ "${FACETKIT_TEXT_CRLF:-0}" = 1 ]; then
    sed 's/$/\r/' "$expected" >"$reference"
  else
    cp "$expected" "$reference"
  fi
  first_difference "$reference" "$work/$written" "file $written"
}
for kind in file binary; do
  while IFS= read -r entry; do
    [ -n "$entry" ] && compare_written "$kind" "$entry"
  done < <(setting "$kind")
done

exit $failed
