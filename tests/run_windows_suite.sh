#!/usr/bin/env bash
# Builds the Windows preset (Facetkit.dll, the stand-in hosts and the test
# programs, cross-built with clang-cl) and runs its tests: the DLL's tables,
# the hosts' export tables, the package, and every session case under Wine
# in the Windows hosts. Prints the time the whole suite took.
#
# usage: tests/run_windows_suite.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

start=$SECONDS
cmake --preset windows
cmake --build --preset windows
# Two jobs: the machine has two cores, and one Wine server serves both.
ctest --preset windows --parallel 2 "$@"
echo "Windows suite: $((SECONDS - start)) s"
