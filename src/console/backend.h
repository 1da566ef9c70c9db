// The console backend: the few things the game needs from a terminal, behind one interface.
// Two backends implement it: the real terminal (terminal_backend.h) and a scripted one for
// tests (scripted_backend.h). The game never talks to a backend directly; it goes through the
// console operations of console.h, which are the same on both.
#pragma once

#include <cstdint>
#include <string_view>

// A key as the keyboard delivers it: one code from 0 to 255, or, for a special key (arrows,
// function keys, ...), a first code of 0 or 224 and a second code. kEndOfInput when the input
// has ended and nothing more will come.
inline constexpr int kEndOfInput = -1;
inline constexpr int kNoSecondCode = -1;

struct KeyPress {
    int code = kEndOfInput;
    int secondCode = kNoSecondCode;
};

class ConsoleBackend {
public:
    virtual ~ConsoleBackend() = default;

    // Output. Positions are (column, row) counted from 1. Text is the game's bytes as they are
    // (line breaks go to column 1 of the next row; the byte 0x1E is shown as an up triangle).
    // Output may be buffered until flush().
    virtual void moveCursor(int column, int row) = 0;
    virtual void clear() = 0;
    virtual void write(std::string_view text) = 0;
    virtual void flush() = 0;

    // Time: a steady millisecond clock that starts with the program, and a sleep until a time
    // of that clock (it never spins, and it leaves typed keys in the input).
    virtual std::int64_t nowMs() = 0;
    virtual void sleepUntilMs(std::int64_t targetMs) = 0;

    // Input: the oldest key not yet taken, waiting for one if none is there.
    virtual KeyPress nextKey() = 0;
    // Throws away every key typed but not yet taken.
    virtual void discardPendingInput() = 0;
    // Whether the keys come from a pipe or a file rather than a keyboard.
    virtual bool inputIsStream() const = 0;
    // Ctrl+C typed into a bet line: ends the game as an interrupt signal does.
    virtual void interrupt() = 0;

    // Plays one sound file of the data folder ("win.wav") to its end; silence if it cannot.
    virtual void playSoundFile(std::string_view fileName) = 0;
};
