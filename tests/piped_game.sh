#!/bin/sh
# A whole game, its keys from a pipe, started from an empty folder so that the sounds must come
# from where the program looks for its own: the instruction pages, sound on (through SDL's disk
# driver, so the audio code runs without a sound card), one deck, and rounds until the keys run
# out at a question, which ends the game through the farewell. An exit status other than 0, no
# farewell or no sound played fails it; with --valgrind, so does any memory error or any block
# definitely leaked under valgrind's memcheck.
# Usage: piped_game.sh [--valgrind VALGRIND] GAME
set -u
valgrind=""
if [ "$1" = "--valgrind" ]; then
    valgrind=$2
    shift 2
fi
game=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

if [ -n "$valgrind" ]; then
    set -- "$valgrind" --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
        --show-leak-kinds=definite --log-file="$work/valgrind.log" "$game"
else
    set -- "$game"
fi
# Each round is answered with n and s (a question ignores the keys that are not its answers);
# the bet line then takes what is left of them, which is no number, so the stake stays at 10.
printf 'yccry1''10\r''nsnsns\r''nsnsns\r' |
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" "$@" > "$work/screen.txt"
status=$?

failed=""
[ "$status" -eq 0 ] || failed="$failed; exit status $status"
grep -q "Bye for now pal!" "$work/screen.txt" || failed="$failed; the game did not reach the farewell"
[ -s "$work/audio.raw" ] || failed="$failed; no sound was played"
if [ -n "$failed" ]; then
    echo "FAILED: ${failed#; }"
    [ -z "$valgrind" ] || cat "$work/valgrind.log"
    exit 1
fi
[ -z "$valgrind" ] || grep "ERROR SUMMARY" "$work/valgrind.log"
echo "$game played a game from $work with its sounds"
