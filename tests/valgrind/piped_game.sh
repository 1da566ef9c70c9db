#!/bin/sh
# A whole game under valgrind's memcheck, its keys from a pipe: the instruction pages, sound on
# (through SDL's disk driver, so the audio code runs without a sound card), one deck, and rounds
# until the keys run out at a question, which ends the game through the farewell. Any memory
# error, any block definitely leaked, or an exit status other than 0 fails it.
# Usage: piped_game.sh VALGRIND GAME
set -u
valgrind=$1
game=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each round is answered with n and s (a question ignores the keys that are not its answers);
# the bet line then takes what is left of them, which is no number, so the stake stays at 10.
printf 'yccry1''10\r''nsnsns\r''nsnsns\r' |
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" \
    "$valgrind" --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
        --show-leak-kinds=definite --log-file="$work/valgrind.log" "$game" > "$work/screen.txt"
status=$?

failed=""
[ "$status" -eq 0 ] || failed="exit status $status"
grep -q "Bye for now pal!" "$work/screen.txt" || failed="$failed; the game did not reach the farewell"
[ -s "$work/audio.raw" ] || failed="$failed; no sound was played"
if [ -n "$failed" ]; then
    echo "FAILED: $failed"
    cat "$work/valgrind.log"
    exit 1
fi
grep "ERROR SUMMARY" "$work/valgrind.log"
