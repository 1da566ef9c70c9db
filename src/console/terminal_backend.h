// The console backend of a real POSIX terminal.
//
// While it lives, the terminal does not echo and hands over every key at once (output
// processing stays on, so a line break still goes to column 1), and the game draws on the
// terminal's alternate screen. During a key read Ctrl+C, Ctrl+S and Enter arrive as the keys
// 3, 19 and 13 instead of acting. Everything is put back on every way out: the destructor,
// exit(), and the signals that end a program (interrupt, hang-up, termination, crashes).
// Only one TerminalBackend may exist at a time.
//
// When the input is not a terminal, its bytes are the keys, in order, and nothing is thrown
// away; at its end nextKey() gives kEndOfInput.
#pragma once

#include "console/backend.h"
#include "console/key_decoder.h"
#include "console/sound_player.h"

#include <array>
#include <csignal>
#include <ctime>
#include <optional>
#include <string>
#include <termios.h>
#include <unistd.h>

class TerminalBackend : public ConsoleBackend {
public:
    // Takes over the terminal at once; the clock starts now.
    explicit TerminalBackend(int inputFd = STDIN_FILENO, int outputFd = STDOUT_FILENO);
    ~TerminalBackend() override;
    TerminalBackend(const TerminalBackend&) = delete;
    TerminalBackend& operator=(const TerminalBackend&) = delete;

    // Writes out what is buffered and puts the terminal back as it was; later calls do nothing.
    void restoreTerminal();

    void moveCursor(int column, int row) override;
    void clear() override;
    void write(std::string_view text) override;
    void flush() override;
    std::int64_t nowMs() override;
    void sleepUntilMs(std::int64_t targetMs) override;
    KeyPress nextKey() override;
    void discardPendingInput() override;
    void interrupt() override;
    void playSoundFile(std::string_view fileName) override;

private:
    static constexpr std::array kRestoringSignals = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE,
        SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS};

    void setModes(const termios& modes);
    KeyPress readTerminalKey();
    KeyPress readStreamKey();

    int inputFd_;
    int outputFd_;
    bool inputIsTerminal_;
    bool restored_ = false;
    termios runModes_{};                // no echo, no line editing, for the whole run
    termios keyReadModes_{};            // and during a key read no signals, flow control or CR-to-NL
    std::array<struct sigaction, kRestoringSignals.size()> previousActions_{};
    timespec start_{};                  // the clock's zero
    std::string triangle_;              // how the byte 0x1E is shown
    std::string output_;                // written but not yet flushed
    KeyDecoder decoder_;
    bool inputEnded_ = false;
    std::optional<SoundPlayer> sound_;  // opened at the first sound
};

// When standard output is a terminal smaller than 80x24, the line that says so, for standard
// error; otherwise empty.
std::string terminalSizeProblem(int outputFd = STDOUT_FILENO);
