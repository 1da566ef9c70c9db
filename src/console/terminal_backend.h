// The console backend of a real POSIX terminal.
//
// While it lives, the terminal does not echo and hands over every key at once (output
// processing stays on, so a line break still goes to column 1), and the game draws on the
// terminal's alternate screen. During a key read Ctrl+S and Enter arrive as the keys 19 and 13
// instead of acting. Everything is put back on every way out: the destructor, exit(), and the
// signals that end a program (interrupt, hang-up, termination, crashes).
// Only one TerminalBackend may exist at a time.
//
// The terminal's signal keys act at a key read as at any other moment: Ctrl+C and Ctrl+\ end
// the game by SIGINT and SIGQUIT, and Ctrl+Z stops it with the terminal given back as at an
// exit. When the game is continued (fg) it takes the terminal again and repaints its
// screen from a copy of everything it has drawn, the cursor where it was; a pause under way
// still ends at its own time. A change of the window's size repaints the screen the same way.
// While the window is smaller than 80x24 the game shows one line asking for more room and
// waits; keys typed until the window is large enough again are thrown away, since the player
// could not see what they would answer. The repaints happen in the game's own flow, during a
// pause or a key read (not in the middle of a sound).
//
// When the input is not a terminal, its bytes are the keys, in order, and nothing is thrown
// away; at its end nextKey() gives kEndOfInput.
#pragma once

#include "console/backend.h"
#include "console/key_decoder.h"
#include "console/sound_player.h"
#include "console/virtual_screen.h"

#include <array>
#include <csignal>
#include <ctime>
#include <optional>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

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
    bool inputIsStream() const override;
    void interrupt() override;
    void playSoundFile(std::string_view fileName) override;

private:
    static constexpr std::array kRestoringSignals = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE,
        SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS};
    // Stop (Ctrl+Z), continue (fg) and a new window size: each calls for a repaint.
    static constexpr std::array kScreenSignals = {SIGTSTP, SIGCONT, SIGWINCH};

    void addSignalKey(int controlCharacter, int signalNumber);
    void setModes(bool keyRead);
    KeyPress readTerminalKey();
    KeyPress readStreamKey();
    bool waitForInput(int timeoutMs);
    void answerScreenRequests();
    void waitForLargeEnoughWindow();
    void repaint();
    void appendAsShown(std::string& bytes, std::string_view text) const;

    int inputFd_;
    int outputFd_;
    bool inputIsTerminal_;
    bool outputIsTerminal_;
    bool restored_ = false;
    std::array<struct sigaction, kRestoringSignals.size()> previousActions_{};
    std::array<struct sigaction, kScreenSignals.size()> previousScreenActions_{};
    // The keys the terminal turns into signals (Ctrl+C, Ctrl+\, Ctrl+Z): a key read, which
    // takes them as keys, raises the signal itself.
    struct SignalKey {
        int code;
        int signalNumber;
    };
    std::vector<SignalKey> signalKeys_;
    timespec start_{};                  // the clock's zero
    std::string triangle_;              // how the byte 0x1E is shown
    std::string output_;                // written but not yet flushed
    VirtualScreen drawn_;               // everything drawn so far, to repaint from
    KeyDecoder decoder_;
    bool inputEnded_ = false;
    std::optional<SoundPlayer> sound_;  // opened at the first sound
};

// When standard output is a terminal smaller than 80x24, the line that says so, for standard
// error; otherwise empty.
std::string terminalSizeProblem(int outputFd = STDOUT_FILENO);
