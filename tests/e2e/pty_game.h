// Plays the built game the way a player does: in a pseudo-terminal (80x25 unless asked
// otherwise), TERM=xterm-256color, a UTF-8 locale, with the calendar set to start at
// 2026-03-01 12:00:00 so that the seed and so every deal is the same from run to run. Its
// screen is read back through libvterm.
//
// The game throws away keys typed ahead of a question, so keys go in only once the game is
// blocked reading one, and each is waited for until the game has taken it. Anything that
// does not happen within its time limit throws std::runtime_error with the screen in it.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <termios.h>
#include <vector>

struct VTerm;
struct VTermScreen;

struct PtyGameOptions {
    int columns = 80;
    int rows = 25;
    std::vector<std::string> environment; // "NAME=value" entries, over the ones above
    // Runs the game as a job-control shell runs a foreground job: in a process group of its
    // own, under a parent in the same session that waits for it. Only such a game stops at
    // Ctrl+Z; the kernel ignores Ctrl+Z in a process group that no shell looks after.
    bool jobControl = false;
    // The program and its arguments, the program by its full path; empty for this build's game.
    std::vector<std::string> command = {};
};

class PtyGame {
public:
    static constexpr std::chrono::milliseconds kPatience{15000};

    // What the terminal was told to do besides drawing.
    struct TerminalFlags {
        bool alternateScreen = false;
        bool cursorVisible = true;
    };

    explicit PtyGame(const PtyGameOptions& options = {});
    ~PtyGame(); // a game still running is killed
    PtyGame(const PtyGame&) = delete;
    PtyGame& operator=(const PtyGame&) = delete;

    // Keys. press() sends its bytes as one key (a special key's whole sequence, "\x1b[A");
    // type() sends each byte as a key of its own. Each waits for the game to ask first.
    void press(std::string_view bytes);
    void type(std::string_view keys);
    // Sends the bytes at once, whatever the game is doing: keys typed ahead.
    void typeAhead(std::string_view bytes);
    // Waits until the game is blocked reading a key and has drawn everything before it.
    void waitForKeyRead(std::chrono::milliseconds patience = kPatience);

    // The screen, counted from 1: a stretch of one row (UTF-8), a whole row, the cursor.
    std::string textAt(int column, int row, int length);
    std::string row(int row);
    int cursorColumn();
    int cursorRow();
    bool alternateScreenShown();
    bool cursorVisible();
    std::string dump(); // every row, numbered, and the cursor: for failure messages
    // Waits until the text stands at (column, row).
    void waitForText(int column, int row, std::string_view text,
        std::chrono::milliseconds patience = kPatience);

    // A text that may stand on the screen only for a moment, cleared straight after or shown
    // during a pause the test may sleep through. Once it is watched for, the output is taken in
    // piece by piece (each escape sequence begins a piece), and the first time the text stands
    // at (column, row) every row of the screen is kept. sighting() waits for that moment and
    // gives those rows, counted from 0.
    void watchFor(int column, int row, std::string_view text);
    std::vector<std::string> sighting(int column, int row, std::string_view text,
        std::chrono::milliseconds patience = kPatience);

    // Waits for the game to end: its exit status, or 128 + the signal that ended it.
    int waitForExit(std::chrono::milliseconds patience = kPatience);
    pid_t pid() const { return pid_; }
    void sendSignal(int signalNumber);
    // Waits until the game has stopped (Ctrl+Z), and reads what it wrote before.
    void waitForStop(std::chrono::milliseconds patience = kPatience);

    // Gives the window a new size, as a player resizing it does: the game gets SIGWINCH. The
    // screen is blanked first, as some terminals do, so whatever shows afterwards is what the
    // game has drawn since.
    void resize(int columns, int rows);

    // The terminal's modes when the game was started, and now (after it ended, too).
    const termios& modesAtStart() const { return modesAtStart_; }
    termios modesNow() const;

private:
    struct Watch {
        int column;
        int row;
        std::string text;
        std::vector<std::string> rows; // the screen when first seen; empty until then
    };

    bool readOutput(int waitMs);
    void takeOutput(const char* bytes, size_t count);
    std::string screenText(int column, int row, int length) const;
    std::vector<std::string> screenRows() const;
    void readOutputUntilQuiet();
    bool hasEnded();
    bool isBlockedReadingKey() const;
    bool isStopped() const;
    long long bytesReadByGame() const;
    [[noreturn]] void fail(const std::string& what);

    pid_t pid_ = -1;
    pid_t waitedPid_ = -1; // the game, or the stand-in shell that waits for it
    int master_ = -1;
    int slave_ = -1; // kept open so the modes can be read after the game ends
    termios modesAtStart_{};
    std::optional<int> exitStatus_;
    VTerm* terminal_ = nullptr;
    VTermScreen* screen_ = nullptr;
    TerminalFlags flags_;
    std::vector<Watch> watches_;
};

// A game played from a file: its standard input reads the bytes given, its standard output
// goes to a file; same locale and calendar as a PtyGame.
struct FileGame {
    int exitStatus = -1; // -1 when it did not exit by itself (a signal, or killed when late)
    std::string output;
};
FileGame playFromFile(std::string_view input, std::chrono::milliseconds patience = PtyGame::kPatience);

// Whether two sets of terminal modes are the same in every flag and control character.
bool sameModes(const termios& first, const termios& second);
