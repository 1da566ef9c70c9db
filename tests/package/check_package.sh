#!/bin/sh
# Checks the Debian package: its control fields, the files where Debian keeps a game's, and the
# unpacked game playing a piped game from another folder with the sounds of the package.
# Usage: check_package.sh PACKAGE.deb
set -u
package=$1
tests=$(dirname "$0")/..
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$package" "$work" || exit 1

failed=""
field() { dpkg-deb -f "$package" "$1"; }
[ "$(field Section)" = games ] || failed="$failed; section is not games"
field Depends | grep -q 'libc6' || failed="$failed; no computed dependencies"
[ "$(field Recommends)" = libsdl2-2.0-0 ] || failed="$failed; SDL2 is not recommended"
for file in usr/games/blackjack usr/share/man/man6/blackjack.6.gz \
    usr/share/doc/blackjack/copyright usr/share/doc/blackjack/changelog.gz; do
    [ -f "$work/$file" ] || failed="$failed; no $file"
done
sounds=$(find "$work/usr/share/games/blackjack" -name '*.wav' | wc -l)
[ "$sounds" -eq 18 ] || failed="$failed; $sounds sound files in usr/share/games/blackjack"
if [ -n "$failed" ]; then
    echo "FAILED: ${failed#; }"
    exit 1
fi
sh "$tests/piped_game.sh" "$work/usr/games/blackjack"
