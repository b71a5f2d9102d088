#!/usr/bin/env bash
# Measures line and branch coverage of the plug-in's own sources (plugin/,
# host/, surface/, platform/) over the unit, session and injection suites, prints the
# lines no test reaches, and fails below 95 % of lines or 90 % of branches.
# usage: tests/coverage/measure.sh   (builds the coverage preset first)
set -euo pipefail
cd "$(dirname "$0")/../.."

min_lines=95
min_branches=90
build=build-coverage
mkdir -p "$build"
{ cmake --preset coverage && cmake --build --preset coverage; } >"$build/build.log" 2>&1 ||
  { tail -n 30 "$build/build.log"; echo "coverage: the build failed"; exit 1; }
rm -rf "$build/profiles"
mkdir -p "$build/profiles"
# %4m: one pool of four files per instrumented binary, merged as runs end.
# The sessions run as the user nobody count too: the folder and the pool
# files are writable by every user.
chmod 0777 "$build/profiles"
(umask 0000 && LLVM_PROFILE_FILE="$PWD/$build/profiles/%4m.profraw" ctest --preset coverage -j2 \
  >"$build/ctest.log") || { tail -n 30 "$build/ctest.log"; echo "coverage: the tests failed"; exit 1; }
llvm-profdata-14 merge -sparse "$build"/profiles/*.profraw -o "$build/coverage.profdata"

sources=("$PWD/plugin" "$PWD/host" "$PWD/surface" "$PWD/platform")
objects=("$build/libFacetkit.so" -object "$build/tests/facetkit_unit_tests")
cover=(-instr-profile "$build/coverage.profdata" "${objects[@]}")

llvm-cov-14 report "${cover[@]}" -show-branch-summary "${sources[@]}" | sed "s|$PWD/||"
echo "Lines no test reaches:"
llvm-cov-14 show "${cover[@]}" -format=text -show-line-counts "${sources[@]}" |
  awk -v root="$PWD/" '
    /^\/.*:$/ { file = substr($0, 1, length($0) - 1); sub(root, "", file); next }
    /^ *[0-9]+\| *0\|/ { split($0, part, "|"); line = part[1]; gsub(/ /, "", line);
                         code = substr($0, index($0, part[3])); print "  " file ":" line ":" code }'
llvm-cov-14 export "${cover[@]}" -summary-only "${sources[@]}" |
  /usr/bin/python3 -c '
import json, sys
totals = json.load(sys.stdin)["data"][0]["totals"]
lines, branches = totals["lines"]["percent"], totals["branches"]["percent"]
low_lines, low_branches = float(sys.argv[1]), float(sys.argv[2])
print("coverage: %.1f %% of lines, %.1f %% of branches (at least %g %% and %g %% required)"
      % (lines, branches, low_lines, low_branches))
sys.exit(0 if lines >= low_lines and branches >= low_branches else 1)
' "$min_lines" "$min_branches"
