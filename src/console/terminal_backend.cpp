// The escape sequences the game sends, all of them. Few and old, so that any terminal of the
// last forty years understands them:
//   ESC [ ? 1049 h     enter the alternate screen (the player's own screen is kept aside)
//   ESC [ ? 1049 l     leave it again, at exit: the player's screen comes back as it was
//   ESC [ ? 25 h       show the cursor, at exit, in case anything hid it
//   ESC [ row ; col H  put the cursor at (column, row), counted from 1
//   ESC [ H ESC [ 2 J  cursor to the top-left corner, then erase the whole screen
// Everything else written is the game's own text; the byte 0x1E becomes "▲" in a UTF-8 locale,
// "^" otherwise.
#include "console/terminal_backend.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <sys/ioctl.h>

namespace {

constexpr std::string_view kEnterAlternateScreen = "\x1b[?1049h";
constexpr std::string_view kLeaveTerminal = "\x1b[?25h\x1b[?1049l";
constexpr int kMinimumColumns = 80;
constexpr int kMinimumRows = 24;

// What a signal handler or the exit hook needs to put the terminal back. Filled in while the
// terminal is taken over, before the handlers are installed; the handlers only read it.
struct TerminalRestore {
    int inputFd = STDIN_FILENO;
    int outputFd = STDOUT_FILENO;
    termios modes{};                   // the terminal's modes as they were
    bool hasModes = false;             // the input is a terminal whose modes were changed
    char bytes[32] = {};               // what undoes our escape sequences
    size_t byteCount = 0;
    volatile sig_atomic_t owed = 0;    // the terminal is taken over and not yet given back
    bool exitHookRegistered = false;
};

TerminalRestore terminalRestore;
static_assert(kLeaveTerminal.size() <= sizeof terminalRestore.bytes);

// Async-signal-safe: only tcflush, tcsetattr and write.
void giveTerminalBack()
{
    if (!terminalRestore.owed)
        return;
    terminalRestore.owed = 0;
    if (terminalRestore.byteCount > 0) {
        [[maybe_unused]] const ssize_t written =
            ::write(terminalRestore.outputFd, terminalRestore.bytes, terminalRestore.byteCount);
    }
    if (terminalRestore.hasModes) {
        // Keys typed at the end of the game would otherwise spill into the shell.
        tcflush(terminalRestore.inputFd, TCIFLUSH);
        tcsetattr(terminalRestore.inputFd, TCSANOW, &terminalRestore.modes);
    }
}

extern "C" void giveTerminalBackAtExit()
{
    giveTerminalBack();
}

// Installed with SA_RESETHAND and SA_NODEFER: after the terminal is back, the signal is
// raised again and meets its default action, so the program ends as it would have.
extern "C" void giveTerminalBackOnSignal(int signalNumber)
{
    const int savedErrno = errno;
    giveTerminalBack();
    raise(signalNumber);
    errno = savedErrno;
}

bool localeIsUtf8()
{
    const locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return false;
    const bool utf8 = std::strcmp(nl_langinfo_l(CODESET, locale), "UTF-8") == 0;
    freelocale(locale);
    return utf8;
}

void writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return; // a failed write is not the game's business
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

// Waits up to that long for the input to have a byte; false when the time ran out first.
bool waitForByte(int fd, int milliseconds)
{
    pollfd input{fd, POLLIN, 0};
    return poll(&input, 1, milliseconds) > 0;
}

} // namespace

TerminalBackend::TerminalBackend(int inputFd, int outputFd)
    : inputFd_(inputFd), outputFd_(outputFd), inputIsTerminal_(isatty(inputFd) == 1)
{
    clock_gettime(CLOCK_MONOTONIC, &start_);
    triangle_ = localeIsUtf8() ? "\u25b2" : "^";

    terminalRestore.inputFd = inputFd;
    terminalRestore.outputFd = outputFd;
    terminalRestore.hasModes = inputIsTerminal_ && tcgetattr(inputFd, &terminalRestore.modes) == 0;
    const bool outputIsTerminal = isatty(outputFd) == 1;
    terminalRestore.byteCount = outputIsTerminal ? kLeaveTerminal.size() : 0;
    std::copy(kLeaveTerminal.begin(), kLeaveTerminal.end(), terminalRestore.bytes);
    terminalRestore.owed = 1;

    if (!terminalRestore.exitHookRegistered) {
        std::atexit(giveTerminalBackAtExit);
        terminalRestore.exitHookRegistered = true;
    }
    struct sigaction action {};
    action.sa_handler = giveTerminalBackOnSignal;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < kRestoringSignals.size(); ++i)
        sigaction(kRestoringSignals[i], &action, &previousActions_[i]);

    if (terminalRestore.hasModes) {
        runModes_ = terminalRestore.modes;
        runModes_.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON);
        runModes_.c_cc[VMIN] = 1;
        runModes_.c_cc[VTIME] = 0;
        // The game cannot redraw itself after a stop, so Ctrl+Z does not stop it.
        runModes_.c_cc[VSUSP] = _POSIX_VDISABLE;
        keyReadModes_ = runModes_;
        keyReadModes_.c_lflag &= ~static_cast<tcflag_t>(ISIG | IEXTEN);
        keyReadModes_.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR);
        setModes(runModes_);
    }
    if (outputIsTerminal)
        writeAll(outputFd_, kEnterAlternateScreen);
}

TerminalBackend::~TerminalBackend()
{
    restoreTerminal();
}

void TerminalBackend::restoreTerminal()
{
    if (restored_)
        return;
    restored_ = true;
    flush();
    giveTerminalBack();
    for (size_t i = 0; i < kRestoringSignals.size(); ++i)
        sigaction(kRestoringSignals[i], &previousActions_[i], nullptr);
}

void TerminalBackend::setModes(const termios& modes)
{
    // TCSANOW: keys typed ahead must stay in the input.
    tcsetattr(inputFd_, TCSANOW, &modes);
}

void TerminalBackend::moveCursor(int column, int row)
{
    output_ += "\x1b[" + std::to_string(row) + ";" + std::to_string(column) + "H";
}

void TerminalBackend::clear()
{
    flush(); // the old screen is complete before the new one starts
    output_ += "\x1b[H\x1b[2J";
}

void TerminalBackend::write(std::string_view text)
{
    for (const char byte : text) {
        if (byte == '\x1e')
            output_ += triangle_;
        else
            output_ += byte;
    }
}

void TerminalBackend::flush()
{
    writeAll(outputFd_, output_);
    output_.clear();
}

std::int64_t TerminalBackend::nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start_.tv_sec) * 1000 + (now.tv_nsec - start_.tv_nsec) / 1'000'000;
}

void TerminalBackend::sleepUntilMs(std::int64_t targetMs)
{
    timespec target = start_;
    target.tv_sec += static_cast<time_t>(targetMs / 1000);
    target.tv_nsec += static_cast<long>(targetMs % 1000) * 1'000'000;
    if (target.tv_nsec >= 1'000'000'000) {
        target.tv_sec += 1;
        target.tv_nsec -= 1'000'000'000;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &target, nullptr) == EINTR) {
    }
}

KeyPress TerminalBackend::nextKey()
{
    if (inputEnded_)
        return {};
    if (!inputIsTerminal_)
        return readStreamKey();
    setModes(keyReadModes_);
    const KeyPress key = readTerminalKey();
    setModes(runModes_);
    return key;
}

KeyPress TerminalBackend::readTerminalKey()
{
    for (;;) {
        // With no sequence under way the read simply blocks; within one, the decoder says how
        // long the next byte may take.
        const int waitMs = decoder_.msUntilTimeout();
        if (waitMs >= 0) {
            const std::int64_t waitStart = nowMs();
            if (!waitForByte(inputFd_, waitMs)) {
                if (const auto key = decoder_.elapsed(static_cast<int>(nowMs() - waitStart)))
                    return *key;
                continue;
            }
        }
        unsigned char byte = 0;
        const ssize_t count = ::read(inputFd_, &byte, 1);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            inputEnded_ = true; // hung up
            return decoder_.finish().value_or(KeyPress{});
        }
        if (const auto key = decoder_.feed(byte))
            return *key;
    }
}

KeyPress TerminalBackend::readStreamKey()
{
    for (;;) {
        unsigned char byte = 0;
        const ssize_t count = ::read(inputFd_, &byte, 1);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            inputEnded_ = true;
            return {};
        }
        return {byte};
    }
}

void TerminalBackend::discardPendingInput()
{
    if (!inputIsTerminal_)
        return;
    tcflush(inputFd_, TCIFLUSH);
    decoder_.reset();
}

void TerminalBackend::interrupt()
{
    flush();
    raise(SIGINT);
}

void TerminalBackend::playSoundFile(std::string_view fileName)
{
    flush();
    if (!sound_)
        sound_.emplace();
    sound_->play(fileName);
}

std::string terminalSizeProblem(int outputFd)
{
    winsize size{};
    if (isatty(outputFd) != 1 || ioctl(outputFd, TIOCGWINSZ, &size) != 0)
        return {};
    // A terminal that does not know its size (0 by 0) is given the benefit of the doubt.
    if (size.ws_col == 0 || size.ws_row == 0)
        return {};
    if (size.ws_col >= kMinimumColumns && size.ws_row >= kMinimumRows)
        return {};
    return "blackjack: needs a terminal of at least " + std::to_string(kMinimumColumns) + "x" +
        std::to_string(kMinimumRows) + "; this one is " + std::to_string(size.ws_col) + "x" +
        std::to_string(size.ws_row) + ".";
}
