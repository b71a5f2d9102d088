#!/usr/bin/env python3
"""Writes the release zip, the same bytes for the same files wherever,
whenever and by whomever it is made.

    package_zip.py --source-dir DIR ZIP FILE...

The zip holds each FILE under its own name, in the order given, and last
SHA256SUMS: one line "<hash>  <name>" per FILE, as `sha256sum -c` reads it.
Every entry carries one time: SOURCE_DATE_EPOCH when it is set, else the
time of the last commit of the sources in DIR. Nothing of the user or the
machine goes in: no owner, no access or creation times, no time zone (the
time is UTC), and modes fixed by kind (programs 755, texts 644).
"""

import argparse
import hashlib
import os
import subprocess
import sys
import time
import zipfile

# The earliest time a zip entry can hold, and the time used when the
# sources have no history and SOURCE_DATE_EPOCH is not set.
EARLIEST_ZIP_TIME = 315532800  # 1980-01-01 00:00:00 UTC
FALLBACK_TIME = 315619200  # 1980-01-02 00:00:00 UTC

# Kept fixed: another level would give other bytes.
COMPRESS_LEVEL = 9


def entry_time(source_dir):
    """Seconds since 1970 for every entry, and where they come from."""
    given = os.environ.get("SOURCE_DATE_EPOCH", "")
    if given:
        if not given.isdigit():
            sys.exit(f"package_zip: SOURCE_DATE_EPOCH is not a number of seconds: {given!r}")
        return int(given), "SOURCE_DATE_EPOCH"
    try:
        # safe.directory: a clone owned by another user still gives its time.
        commit = subprocess.run(
            ["git", "-c", "safe.directory=*", "log", "-1", "--format=%ct"],
            cwd=source_dir, capture_output=True, text=True, check=True).stdout.strip()
        if commit.isdigit():
            return int(commit), "the last commit"
    except (OSError, subprocess.CalledProcessError):
        pass
    print(f"package_zip: warning: no commit time found in {source_dir}; the entries get "
          "1980-01-02 00:00 UTC (set SOURCE_DATE_EPOCH to choose another time)", file=sys.stderr)
    return FALLBACK_TIME, "no history"


def add_entry(archive, name, data, seconds, mode):
    info = zipfile.ZipInfo(name, time.gmtime(max(seconds, EARLIEST_ZIP_TIME))[:6])
    info.create_system = 3  # Unix, so that the mode below is read
    info.external_attr = (0o100000 | mode) << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    archive.writestr(info, data, compresslevel=COMPRESS_LEVEL)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("zip")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()

    seconds, source = entry_time(args.source_dir)
    partial = args.zip + ".partial"
    sums = ""
    with zipfile.ZipFile(partial, "w") as archive:
        for path in args.files:
            name = os.path.basename(path)
            with open(path, "rb") as file:
                data = file.read()
            sums += f"{hashlib.sha256(data).hexdigest()}  {name}\n"
            program = name.lower().endswith((".dll", ".exe"))
            add_entry(archive, name, data, seconds, 0o755 if program else 0o644)
        add_entry(archive, "SHA256SUMS", sums.encode("ascii"), seconds, 0o644)
    os.replace(partial, args.zip)
    stamp = time.strftime("%Y-%m-%d %H:%M:%S UTC", time.gmtime(seconds))
    print(f"{args.zip}: {len(args.files) + 1} entries, dated {stamp} ({source})")


if __name__ == "__main__":
    main()
