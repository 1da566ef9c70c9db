// The console backend for tests: a virtual 80x25 screen, keys queued by the test, a virtual
// clock that jumps forward at each pause, and a log of everything that happened in order.
// When the queued keys run out the input has ended, so every scripted game comes to an end.
#pragma once

#include "console/backend.h"
#include "console/virtual_screen.h"

#include <deque>
#include <string>
#include <vector>

// Ctrl+C typed into a bet line on the scripted backend.
struct ScriptedInterrupt {};

class ScriptedBackend : public ConsoleBackend {
public:
    VirtualScreen screen{80, 25};
    std::deque<KeyPress> keys;           // oldest first
    std::int64_t clockMs = 0;
    std::vector<int> pauses;             // every sleep, in milliseconds
    std::vector<std::string> sounds;     // every sound file played, in order
    // Everything in order: "move 33,20", "clear", "text ...", "pause 200", "sound win.wav",
    // "key" (a key was taken).
    std::vector<std::string> events;
    bool streamInput = false;            // the keys play a pipe or a file

    // Queues keys: each byte of the text is one key press ('\r' is Enter, '\x1b' Escape).
    void type(std::string_view text);
    // Queues a typed line and its Enter.
    void typeLine(std::string_view line);
    // Queues a special key by its two codes (224 and 72 for the Up arrow).
    void press(int code, int secondCode = kNoSecondCode);

    // Events of one kind, in order ("sound" gives the sound files).
    std::vector<std::string> eventsOf(std::string_view kind) const;

    void moveCursor(int column, int row) override;
    void clear() override;
    void write(std::string_view text) override;
    void flush() override;
    std::int64_t nowMs() override;
    void sleepUntilMs(std::int64_t targetMs) override;
    KeyPress nextKey() override;
    void discardPendingInput() override;
    bool inputIsStream() const override;
    void interrupt() override;
    void playSoundFile(std::string_view fileName) override;
};
