#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those still missing).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libsqlite3-dev libgsf-1-dev libcli11-dev libmspack-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev fonts-dejavu-core
  mscompress liblnk-utils python3 python3-olefile libgsf-bin
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest wine64
  bubblewrap clang libclang-rt-dev
  osslsigncode openssl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
