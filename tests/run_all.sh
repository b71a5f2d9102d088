#!/usr/bin/env bash
# Runs every test: the native suite (built with g++, and again with clang),
# the native suite under AddressSanitizer and UndefinedBehaviorSanitizer, a
# short slice of each fuzzer (the plug-in's, and the stand-in's surface
# readers'), the coverage measurement, and the Windows suite (Facetkit.dll
# cross-built, its tables checked, every session under Wine). Installs what
# is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash cmake/install_packages.sh

started=$SECONDS
failed=()
passed_tests=0
failed_tests=0
suite() {  # name
  local begin=$SECONDS
  echo "=== $1 suite"
  local log
  log=$(mktemp)
  if ! { cmake --preset "$1" && cmake --build --preset "$1"; } >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "=== $1 suite FAILED to build"
    failed+=("$1")
    return
  fi
  local status=0
  ctest --preset "$1" -j2 | tee "$log" || status=$?
  # ctest closes with "N% tests passed, F tests failed out of T".
  local summary
  summary=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log")
  rm -f "$log"
  if [ -n "$summary" ]; then
    failed_tests=$((failed_tests + ${summary% *}))
    passed_tests=$((passed_tests + ${summary#* } - ${summary% *}))
  fi
  if [ "$status" -eq 0 ] && [ -n "$summary" ]; then
    echo "=== $1 suite passed in $((SECONDS - begin)) s"
  else
    echo "=== $1 suite FAILED after $((SECONDS - begin)) s"
    failed+=("$1")
  fi
}

# A check that is one script: it counts as one test.
check() {  # name script
  local begin=$SECONDS
  echo "=== $1"
  if bash "$2"; then
    passed_tests=$((passed_tests + 1))
    echo "=== $1 passed in $((SECONDS - begin)) s"
  else
    failed_tests=$((failed_tests + 1))
    echo "=== $1 FAILED after $((SECONDS - begin)) s"
    failed+=("$1")
  fi
}

suite native
suite native-clang
suite native-asan
suite fuzz
check coverage tests/coverage/measure.sh
suite standin-fuzz
suite windows

echo "=== all suites took $((SECONDS - started)) s"
echo "tests: $passed_tests passed, $failed_tests failed"
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed suites: ${failed[*]}"
  exit 1
fi
