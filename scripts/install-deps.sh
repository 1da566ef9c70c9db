#!/bin/sh
# Installs the Debian packages a build needs; does nothing when all are present.
# Usage: install-deps.sh [game|package|test]
#   game     what building and playing the game needs
#   package  that, and what `make package` needs to build the .deb
#   test     all of the above, and what the tests need (the default)
set -eu
game="cmake make g++ pkg-config libsdl2-dev"
package="dpkg-dev file"
test="libgtest-dev libgmock-dev libvterm-dev libfaketime clang libclang-rt-14-dev valgrind mandoc lintian"
case "${1:-test}" in
    game) packages="$game" ;;
    package) packages="$game $package" ;;
    test) packages="$game $package $test" ;;
    *) echo "usage: $0 [game|package|test]" >&2; exit 2 ;;
esac
missing=""
for name in $packages; do
    dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed" || missing="$missing $name"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
$sudo_cmd apt-get update
$sudo_cmd apt-get install -y $missing
