#!/bin/sh
# Installs the Debian packages a build needs; does nothing when all are present.
# Usage: install-deps.sh [game|package|windows|test]
#   game     what building and playing the game needs
#   package  that, and what `make package` needs to build the .deb
#   windows  the game's, and the cross compiler of `make windows`
#   test     all of the above, and what the tests need (the default), Wine among them
set -eu
game="cmake make g++ pkg-config libsdl2-dev"
package="dpkg-dev file"
windows="g++-mingw-w64-x86-64-posix"
test="libgtest-dev libgmock-dev libvterm-dev libfaketime clang libclang-rt-14-dev valgrind mandoc lintian googletest wine wine64"
case "${1:-test}" in
    game) packages="$game" ;;
    package) packages="$game $package" ;;
    windows) packages="$game $windows" ;;
    test) packages="$game $package $windows $test" ;;
    *) echo "usage: $0 [game|package|windows|test]" >&2; exit 2 ;;
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
