#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Facetkit
# need, when any is missing. Runs apt-get as root (through sudo otherwise).
set -euo pipefail

packages=(
  cmake ninja-build g++ make               # native build
  libgtest-dev libgmock-dev libbenchmark-dev  # tests and benchmarks
  clang-14 clang-tools-14 lld-14 llvm-14 libwine-dev  # Windows x64 cross build
  wine64                                 # running the Windows build
  libgiftiio-dev                         # writing GIfTI surfaces in the stand-in host
  libexpat1-dev zlib1g-dev               # reading GIfTI surfaces in the stand-in host
  gifti-bin python3-nibabel              # checking the GIfTI files it writes
  libclang-rt-14-dev                     # libFuzzer, for the plug-in's and the stand-in's fuzzers
  git                                    # the release zip: its entries carry the last commit's time
  python3                                # the release zip; the allocation-failure injection's driver
  locales                                # locale sources for the comma-locale tests
  libstb-dev                             # PNG pictures in the stand-in host
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
