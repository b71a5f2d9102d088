#!/usr/bin/env bash
# Builds the plug-in and the stand-in host natively and runs one interactive
# session on the built-in sample surface. Options are passed to the host
# (see build/Zandrovix.exe --help), for instance --answers FILE or --trace -.
set -euo pipefail
cd "$(dirname "$0")/.."

bash cmake/install_packages.sh
cmake --preset native >/dev/null
cmake --build --preset native --target Facetkit zandrovix_full >/dev/null
exec build/Zandrovix.exe "$@"
