#!/bin/sh
# Installs the Debian packages the game and its tests need; does nothing when all are present.
set -eu
packages="cmake make g++ pkg-config libgtest-dev libgmock-dev libsdl2-dev libvterm-dev libfaketime clang libclang-rt-14-dev valgrind"
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
$sudo_cmd apt-get update
$sudo_cmd apt-get install -y $missing
