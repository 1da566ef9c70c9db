// Turns the bytes a terminal sends into key presses. It does no input of its own: the reader
// feeds it bytes as they arrive and tells it how long the input stayed silent.
//
// Special keys (arrows, Home, End, Insert, Delete, Page Up/Down, F1-F12) arrive as escape
// sequences and leave as two codes: 224 and 72 for the Up arrow, 0 and 59 for F1, with other
// second codes under Shift, Ctrl or Alt. A lone Escape is 27 once about 50 ms pass with no
// further byte; once "ESC [" or "ESC O" has begun, up to 200 ms may pass between its bytes.
// An unknown or malformed sequence is swallowed whole. Escape followed by a byte that begins
// no sequence is that key with Alt held, and gives the key's own code. A UTF-8 character is
// one key, its code when below 256, else none. Delete (127) is Backspace (8).
#pragma once

#include "console/backend.h"

#include <optional>
#include <string>

class KeyDecoder {
public:
    static constexpr int kEscapeWaitMs = 50;
    static constexpr int kSequenceWaitMs = 200;

    // One byte from the terminal; the key, when this byte completes one.
    std::optional<KeyPress> feed(unsigned char byte);

    // That many more milliseconds went by without a byte; the key, when the silence settles
    // one (a lone Escape).
    std::optional<KeyPress> elapsed(int milliseconds);

    // How long the reader may wait for the next byte before calling elapsed(); -1 when no
    // sequence is under way and it may wait for as long as it takes.
    int msUntilTimeout() const;

    // The input has ended; the key, when what came last settles one (a lone Escape).
    std::optional<KeyPress> finish();

    // Forgets a sequence under way (its remaining bytes were thrown away).
    void reset();

private:
    enum class State { Ground, Escape, ControlSequence, SingleShift, LinuxFunctionKey, Utf8 };

    std::optional<KeyPress> plainByte(unsigned char byte);
    std::optional<KeyPress> finishControlSequence(char finalByte);
    std::optional<KeyPress> finishSingleShift(char finalByte);
    void startEscape();

    State state_ = State::Ground;
    bool altHeld_ = false;        // an Escape came before this sequence's own Escape
    std::string parameters_;      // the bytes between "ESC [" or "ESC O" and the final byte
    bool overlong_ = false;       // the sequence outgrew any key's and will be swallowed
    int silenceMs_ = 0;           // time since the last byte, while a sequence is under way
    char32_t utf8Code_ = 0;       // the character so far
    int utf8Remaining_ = 0;       // continuation bytes still to come
    int utf8Length_ = 0;          // bytes of the whole character
};
