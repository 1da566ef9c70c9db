// The console backend of a Windows console.
//
// While it lives, the game draws on a screen buffer of its own (the console's counterpart of
// a terminal's alternate screen), as large as the console window, and the player's own buffer
// comes back as it was at the end. Each flush writes the rows that changed in one call and
// puts the cursor. The input does not echo and takes no line editing; Ctrl+C ends the game at
// any moment, as Ctrl+Break and closing the window do. The console's modes and buffer are
// given back on every way out: the destructor,
// exit(), Ctrl+C, Ctrl+Break, closing the window, and a crash. Only one may exist at a time.
//
// A change of the window's size repaints the screen from a copy of everything drawn, during a
// pause or a key read; while the window is smaller than 80x24 the game asks for more room
// and waits, throwing away the keys typed meanwhile.
//
// When the input is not a console (a pipe, a file), its bytes are the keys, in order, and
// nothing is thrown away; at its end nextKey() gives kEndOfInput. When the output is not a
// console, the game's text goes to it as it is, without cursor moves or clearing.
#pragma once

#include "console/backend.h"
#include "console/sound_player.h"
#include "console/virtual_screen.h"

#include <chrono>
#include <optional>
#include <string>
#include <windows.h>

class WindowsBackend : public ConsoleBackend {
public:
    // Takes over the console at once; the clock starts now.
    WindowsBackend();
    ~WindowsBackend() override;
    WindowsBackend(const WindowsBackend&) = delete;
    WindowsBackend& operator=(const WindowsBackend&) = delete;

    // Writes out what is buffered and gives the console back as it was; later calls do nothing.
    void restoreConsole();

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

private:
    KeyPress readConsoleKey();
    KeyPress readStreamKey();
    bool keyIsWaiting();
    void followWindowSize();
    bool waitForLargeEnoughWindow(); // whether it had to wait
    void repaint();
    void showCells(const VirtualScreen& screen, int firstRow, int lastRow);
    void showCursor();

    HANDLE input_;
    HANDLE output_;                 // the game's own screen buffer, or the plain output
    bool inputIsConsole_;
    bool outputIsConsole_;
    bool restored_ = false;
    WORD colours_ = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;
    std::chrono::steady_clock::time_point start_;
    VirtualScreen drawn_;           // everything drawn so far
    VirtualScreen shown_;           // what the console shows of it
    std::string plainOutput_;       // written but not yet flushed, when the output is no console
    bool inputEnded_ = false;
    std::optional<SoundPlayer> sound_;  // opened at the first sound
};

// When standard output is a console window smaller than 80x24, the line that says so, for
// standard error; otherwise empty.
std::string consoleSizeProblem();
