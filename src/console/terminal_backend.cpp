// The escape sequences the game sends, all of them. Few and old, so that any terminal of the
// last forty years understands them:
//   ESC [ ? 1049 h     enter the alternate screen (the player's own screen is kept aside), at
//                      the start and again when the game is continued after a stop
//   ESC [ ? 1049 l     leave it again, at exit or stop: the player's screen comes back as it was
//   ESC [ ? 25 h       show the cursor, at exit or stop, in case anything hid it
//   ESC [ row ; col H  put the cursor at (column, row), counted from 1
//   ESC [ H ESC [ 2 J  cursor to the top-left corner, then erase the whole screen
// Everything else written is the game's own text; the byte 0x1E becomes "▲" in a UTF-8 locale,
// "^" otherwise.
#include "console/terminal_backend.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>

namespace {

constexpr std::string_view kEnterAlternateScreen = "\x1b[?1049h";
constexpr std::string_view kLeaveTerminal = "\x1b[?25h\x1b[?1049l";
constexpr std::string_view kClearScreen = "\x1b[H\x1b[2J";
constexpr std::string_view kWindowTooSmall = "Please make the window at least 80x24";
constexpr int kMinimumColumns = 80;
constexpr int kMinimumRows = 24;
// The game's screens are laid out for 80 columns and at most 25 rows.
constexpr int kLayoutColumns = 80;
constexpr int kLayoutRows = 25;

// What the signal handlers and the exit hook need to give the terminal back and to take it
// again. Filled in while the terminal is taken over, before the handlers are installed; the
// handlers only read it, apart from the flags they are there to set.
struct TerminalRestore {
    int inputFd = STDIN_FILENO;
    int outputFd = STDOUT_FILENO;
    termios modes{};                   // the terminal's modes as they were
    bool hasModes = false;             // the input is a terminal whose modes were changed
    termios gameModes[2] = {};         // ours: for the whole run, and during a key read
    volatile sig_atomic_t keyRead = 0; // which of ours is on (an index of gameModes)
    bool outputIsTerminal = false;     // the alternate screen is entered and left
    volatile sig_atomic_t owed = 0;    // the terminal is taken over and not yet given back
    bool exitHookRegistered = false;
    // A handler's word to the game's flow: the screen must be repainted (after a stop, or a
    // new window size). The flag says it; a byte in the pipe wakes a wait to look at it.
    volatile sig_atomic_t screenWanted = 0;
    int wakeFds[2] = {-1, -1};         // read end, write end; non-blocking
    struct sigaction suspendAction {}; // the Ctrl+Z handler, put back after each stop
};

TerminalRestore terminalRestore;

void writeFromHandler(int fd, std::string_view bytes)
{
    [[maybe_unused]] const ssize_t written = ::write(fd, bytes.data(), bytes.size());
}

// Everything from here to the handlers is async-signal-safe: only tcflush, tcsetattr, write,
// sigaction, pthread_sigmask and raise.
void giveTerminalBack()
{
    if (!terminalRestore.owed)
        return;
    terminalRestore.owed = 0;
    if (terminalRestore.outputIsTerminal)
        writeFromHandler(terminalRestore.outputFd, kLeaveTerminal);
    if (terminalRestore.hasModes) {
        // Keys typed at the end of the game would otherwise spill into the shell.
        tcflush(terminalRestore.inputFd, TCIFLUSH);
        tcsetattr(terminalRestore.inputFd, TCSANOW, &terminalRestore.modes);
    }
}

void takeTerminalAgain()
{
    terminalRestore.owed = 1;
    // In the background this stops the game again (SIGTTOU) until it is brought to the front.
    if (terminalRestore.hasModes)
        tcsetattr(terminalRestore.inputFd, TCSANOW, &terminalRestore.gameModes[terminalRestore.keyRead]);
    if (terminalRestore.outputIsTerminal)
        writeFromHandler(terminalRestore.outputFd, kEnterAlternateScreen);
}

void askForRepaint()
{
    terminalRestore.screenWanted = 1;
    if (terminalRestore.wakeFds[1] >= 0)
        writeFromHandler(terminalRestore.wakeFds[1], "!");
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

// Ctrl+Z: the terminal goes back to the player, then the game stops the way any program does
// by default, so that the shell reports it stopped. (In a process group that no shell looks
// after, the kernel ignores that stop, since nobody could continue the game; it goes on.)
// Every other signal of ours waits until the terminal is taken again.
extern "C" void suspendOnSignal(int)
{
    const int savedErrno = errno;
    const bool wasTakenOver = terminalRestore.owed != 0;
    giveTerminalBack();

    struct sigaction stop {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGTSTP, &stop, nullptr);
    sigset_t suspendOnly;
    sigemptyset(&suspendOnly);
    sigaddset(&suspendOnly, SIGTSTP);
    pthread_sigmask(SIG_UNBLOCK, &suspendOnly, nullptr);
    raise(SIGTSTP);
    // Continued.
    pthread_sigmask(SIG_BLOCK, &suspendOnly, nullptr);
    sigaction(SIGTSTP, &terminalRestore.suspendAction, nullptr);

    if (wasTakenOver)
        takeTerminalAgain();
    askForRepaint();
    errno = savedErrno;
}

// Continued after any stop, ours or not: a shell may have set the terminal its own way while
// the game stood still.
extern "C" void resumeOnSignal(int)
{
    const int savedErrno = errno;
    if (terminalRestore.owed && terminalRestore.hasModes)
        tcsetattr(terminalRestore.inputFd, TCSANOW, &terminalRestore.gameModes[terminalRestore.keyRead]);
    askForRepaint();
    errno = savedErrno;
}

extern "C" void repaintOnSignal(int)
{
    const int savedErrno = errno;
    askForRepaint();
    errno = savedErrno;
}

void drainWakePipe()
{
    char bytes[64];
    while (::read(terminalRestore.wakeFds[0], bytes, sizeof bytes) > 0) {
    }
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

std::string cursorTo(int column, int row)
{
    return "\x1b[" + std::to_string(row) + ";" + std::to_string(column) + "H";
}

// The window's size; 0 by 0 when the output is no terminal or the terminal does not know.
winsize windowSize(int fd)
{
    winsize size{};
    if (isatty(fd) != 1 || ioctl(fd, TIOCGWINSZ, &size) != 0)
        return {};
    return size;
}

bool sizeKnown(const winsize& size)
{
    return size.ws_col > 0 && size.ws_row > 0;
}

// A terminal that does not know its size is given the benefit of the doubt.
bool largeEnough(const winsize& size)
{
    return !sizeKnown(size) || (size.ws_col >= kMinimumColumns && size.ws_row >= kMinimumRows);
}

// The copy of the screen is as large as the window, so that it wraps and scrolls as the
// window does.
VirtualScreen screenLike(const winsize& size)
{
    if (sizeKnown(size) && largeEnough(size))
        return VirtualScreen(size.ws_col, size.ws_row);
    return VirtualScreen(kLayoutColumns, kLayoutRows);
}

// The copy as a window of another size shows it.
VirtualScreen resized(const VirtualScreen& screen, const winsize& size)
{
    const VirtualScreen shape = screenLike(size);
    return screen.resizedTo(shape.columns(), shape.rows());
}

// A wait of poll() that lasts at least that long: rounded up, so that a pause never wakes
// short of its end and spins through the last fraction of a millisecond.
int pollTimeoutCovering(std::int64_t nanoseconds)
{
    return static_cast<int>(std::min<std::int64_t>((nanoseconds + 999'999) / 1'000'000, INT_MAX));
}

std::int64_t nanosecondsOf(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// The pipe that wakes the game's waits from a signal handler: both ends non-blocking, neither
// inherited by a program the game might start. False when there is none.
bool openWakePipe(int (&ends)[2])
{
    if (pipe(ends) != 0)
        return false;
    for (const int end : ends) {
        fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
        fcntl(end, F_SETFD, FD_CLOEXEC);
    }
    return true;
}

} // namespace

TerminalBackend::TerminalBackend(int inputFd, int outputFd)
    : inputFd_(inputFd), outputFd_(outputFd), inputIsTerminal_(isatty(inputFd) == 1),
      outputIsTerminal_(isatty(outputFd) == 1), drawn_(screenLike(windowSize(outputFd)))
{
    clock_gettime(CLOCK_MONOTONIC, &start_);
    triangle_ = localeIsUtf8() ? "\u25b2" : "^";

    TerminalRestore& restore = terminalRestore;
    restore.inputFd = inputFd;
    restore.outputFd = outputFd;
    restore.outputIsTerminal = outputIsTerminal_;
    restore.hasModes = inputIsTerminal_ && tcgetattr(inputFd, &restore.modes) == 0;
    if (restore.hasModes) {
        termios& runModes = restore.gameModes[0];
        runModes = restore.modes;
        runModes.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON);
        runModes.c_cc[VMIN] = 1;
        runModes.c_cc[VTIME] = 0;
        termios& keyReadModes = restore.gameModes[1];
        keyReadModes = runModes;
        keyReadModes.c_lflag &= ~static_cast<tcflag_t>(ISIG | IEXTEN);
        keyReadModes.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR);
    }
    restore.keyRead = 0;
    restore.screenWanted = 0;
    if (!openWakePipe(restore.wakeFds))
        restore.wakeFds[0] = restore.wakeFds[1] = -1;
    restore.owed = 1;

    if (!restore.exitHookRegistered) {
        std::atexit(giveTerminalBackAtExit);
        restore.exitHookRegistered = true;
    }
    sigset_t screenSignals;
    sigemptyset(&screenSignals);
    for (const int signalNumber : kScreenSignals)
        sigaddset(&screenSignals, signalNumber);

    struct sigaction ending {};
    ending.sa_handler = giveTerminalBackOnSignal;
    ending.sa_flags = SA_RESETHAND | SA_NODEFER;
    ending.sa_mask = screenSignals;
    for (size_t i = 0; i < kRestoringSignals.size(); ++i)
        sigaction(kRestoringSignals[i], &ending, &previousActions_[i]);

    // Ctrl+Z is caught only where it would stop the game: a shell without job control has it
    // ignored, and then it stays ignored.
    sigaction(SIGTSTP, nullptr, &previousScreenActions_[0]);
    if (previousScreenActions_[0].sa_handler == SIG_DFL) {
        restore.suspendAction.sa_handler = suspendOnSignal;
        restore.suspendAction.sa_flags = SA_RESTART;
        restore.suspendAction.sa_mask = screenSignals;
        for (const int signalNumber : kRestoringSignals)
            sigaddset(&restore.suspendAction.sa_mask, signalNumber);
        sigaction(SIGTSTP, &restore.suspendAction, nullptr);
        addSignalKey(VSUSP, SIGTSTP);
    }
    addSignalKey(VINTR, SIGINT);
    addSignalKey(VQUIT, SIGQUIT);
    struct sigaction screen {};
    screen.sa_flags = SA_RESTART;
    sigemptyset(&screen.sa_mask);
    screen.sa_handler = resumeOnSignal;
    sigaction(SIGCONT, &screen, &previousScreenActions_[1]);
    screen.sa_handler = repaintOnSignal;
    sigaction(SIGWINCH, &screen, &previousScreenActions_[2]);

    setModes(false);
    if (outputIsTerminal_)
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
    for (size_t i = 0; i < kScreenSignals.size(); ++i)
        sigaction(kScreenSignals[i], &previousScreenActions_[i], nullptr);
    giveTerminalBack();
    for (size_t i = 0; i < kRestoringSignals.size(); ++i)
        sigaction(kRestoringSignals[i], &previousActions_[i], nullptr);

    const int wakeFds[2] = {terminalRestore.wakeFds[0], terminalRestore.wakeFds[1]};
    terminalRestore.wakeFds[0] = terminalRestore.wakeFds[1] = -1;
    for (const int fd : wakeFds) {
        if (fd >= 0)
            close(fd);
    }
}

// During a key read the terminal hands its signal keys over as keys; they act all the same.
void TerminalBackend::addSignalKey(int controlCharacter, int signalNumber)
{
    const termios& modes = terminalRestore.modes;
    if (terminalRestore.hasModes && (modes.c_lflag & ISIG) != 0 && modes.c_cc[controlCharacter] != _POSIX_VDISABLE)
        signalKeys_.push_back({modes.c_cc[controlCharacter], signalNumber});
}

void TerminalBackend::setModes(bool keyRead)
{
    if (!terminalRestore.hasModes)
        return;
    terminalRestore.keyRead = keyRead ? 1 : 0;
    // TCSANOW: keys typed ahead must stay in the input.
    tcsetattr(inputFd_, TCSANOW, &terminalRestore.gameModes[terminalRestore.keyRead]);
}

void TerminalBackend::moveCursor(int column, int row)
{
    output_ += cursorTo(column, row);
    drawn_.moveCursor(column, row);
}

void TerminalBackend::clear()
{
    flush(); // the old screen is complete before the new one starts
    output_ += kClearScreen;
    drawn_.clear();
}

void TerminalBackend::write(std::string_view text)
{
    appendAsShown(output_, text);
    drawn_.write(text);
}

void TerminalBackend::appendAsShown(std::string& bytes, std::string_view text) const
{
    for (const char byte : text) {
        if (byte == '\x1e')
            bytes += triangle_;
        else
            bytes += byte;
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
    const std::int64_t target = nanosecondsOf(start_) + targetMs * 1'000'000;
    for (;;) {
        answerScreenRequests();
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const std::int64_t left = target - nanosecondsOf(now);
        if (left <= 0)
            return;
        // Woken early by a stop or a resize, the pause goes on to its own end afterwards.
        pollfd wake{terminalRestore.wakeFds[0], POLLIN, 0};
        if (poll(&wake, 1, pollTimeoutCovering(left)) > 0)
            drainWakePipe();
    }
}

bool TerminalBackend::waitForInput(int timeoutMs)
{
    const std::int64_t deadline = nowMs() + timeoutMs;
    for (;;) {
        answerScreenRequests();
        std::array<pollfd, 2> watched{{{inputFd_, POLLIN, 0}, {terminalRestore.wakeFds[0], POLLIN, 0}}};
        const int limitMs = timeoutMs >= 0 ? static_cast<int>(std::max<std::int64_t>(0, deadline - nowMs())) : -1;
        const int ready = poll(watched.data(), watched.size(), limitMs);
        if (ready < 0 && errno != EINTR)
            return true; // the read will tell what is wrong
        if (watched[1].revents != 0) {
            drainWakePipe();
            continue; // the screen first, then a fresh look at the input
        }
        if (watched[0].revents != 0)
            return true;
        if (ready == 0)
            return false;
    }
}

void TerminalBackend::answerScreenRequests()
{
    if (!terminalRestore.screenWanted)
        return;
    terminalRestore.screenWanted = 0;
    if (!outputIsTerminal_ || restored_)
        return;
    waitForLargeEnoughWindow();
    const winsize size = windowSize(outputFd_);
    if (sizeKnown(size) && (size.ws_col != drawn_.columns() || size.ws_row != drawn_.rows()))
        drawn_ = resized(drawn_, size);
    repaint();
}

void TerminalBackend::waitForLargeEnoughWindow()
{
    winsize size = windowSize(outputFd_);
    if (largeEnough(size))
        return;
    // Meanwhile Ctrl+C ends the game and Ctrl+Z stops it, even in the middle of a key read.
    const bool wasKeyRead = terminalRestore.keyRead != 0;
    setModes(false);
    for (; !largeEnough(size); size = windowSize(outputFd_)) {
        writeAll(outputFd_, std::string(kClearScreen) + std::string(kWindowTooSmall));
        pollfd wake{terminalRestore.wakeFds[0], POLLIN, 0};
        while (!terminalRestore.screenWanted) {
            if (poll(&wake, 1, -1) > 0)
                drainWakePipe();
        }
        terminalRestore.screenWanted = 0;
    }
    discardPendingInput();
    setModes(wasKeyRead);
}

void TerminalBackend::repaint()
{
    std::string screen(kClearScreen);
    for (int row = 1; row <= drawn_.rows(); ++row) {
        std::string text = drawn_.row(row);
        text.erase(text.find_last_not_of(' ') + 1);
        if (text.empty())
            continue;
        screen += cursorTo(1, row);
        appendAsShown(screen, text);
    }
    screen += cursorTo(drawn_.cursorColumn(), drawn_.cursorRow());
    output_ = std::move(screen); // what was still buffered is in the copy already
    flush();
}

KeyPress TerminalBackend::nextKey()
{
    if (inputEnded_)
        return {};
    if (!inputIsTerminal_)
        return readStreamKey();
    setModes(true);
    const KeyPress key = readTerminalKey();
    setModes(false);
    return key;
}

KeyPress TerminalBackend::readTerminalKey()
{
    for (;;) {
        // With no sequence under way the wait has no end; within one, the decoder says how
        // long the next byte may take.
        const int waitMs = decoder_.msUntilTimeout();
        const std::int64_t waitStart = nowMs();
        if (!waitForInput(waitMs)) {
            if (const auto key = decoder_.elapsed(static_cast<int>(nowMs() - waitStart)))
                return *key;
            continue;
        }
        unsigned char byte = 0;
        const ssize_t count = ::read(inputFd_, &byte, 1);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (count <= 0) {
            inputEnded_ = true; // hung up
            return decoder_.finish().value_or(KeyPress{});
        }
        const auto key = decoder_.feed(byte);
        if (!key)
            continue;
        const auto signalKey = std::find_if(signalKeys_.begin(), signalKeys_.end(),
            [&key](const SignalKey& candidate) { return candidate.code == key->code; });
        if (signalKey == signalKeys_.end() || key->secondCode != kNoSecondCode)
            return *key;
        flush();
        raise(signalKey->signalNumber); // after a stop, back here once continued; the wait repaints
    }
}

KeyPress TerminalBackend::readStreamKey()
{
    for (;;) {
        waitForInput(-1);
        unsigned char byte = 0;
        const ssize_t count = ::read(inputFd_, &byte, 1);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
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

bool TerminalBackend::inputIsStream() const
{
    return !inputIsTerminal_;
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
    const winsize size = windowSize(outputFd);
    if (largeEnough(size))
        return {};
    return "blackjack: needs a terminal of at least " + std::to_string(kMinimumColumns) + "x" +
        std::to_string(kMinimumRows) + "; this one is " + std::to_string(size.ws_col) + "x" +
        std::to_string(size.ws_row) + ".";
}
