#include "e2e/pty_game.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>
#include <vterm.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Output counts as settled when nothing more has come for this long.
constexpr int kQuietMs = 30;

// The game's environment: ours, with the fixed terminal, locale and calendar over it, and
// the test's own settings over those.
std::vector<std::string> gameEnvironment(const std::vector<std::string>& extra)
{
    std::map<std::string, std::string> byName;
    const auto set = [&byName](const std::string& entry) { byName[entry.substr(0, entry.find('='))] = entry; };
    for (char** entry = environ; *entry != nullptr; ++entry)
        set(*entry);
    set("TERM=xterm-256color");
    set("LANG=C.UTF-8");
    set("LC_ALL=C.UTF-8");
    set("LD_PRELOAD=" BLACKJACK_FAKETIME_LIBRARY);
    set("FAKETIME=@2026-03-01 12:00:00");
    // A sanitizer build refuses to start when another library is preloaded before it.
    const char* asanOptions = std::getenv("ASAN_OPTIONS");
    set(std::string("ASAN_OPTIONS=") + (asanOptions ? std::string(asanOptions) + ":" : "") +
        "verify_asan_link_order=0");
    for (const auto& entry : extra)
        set(entry);

    std::vector<std::string> environment;
    for (const auto& [name, entry] : byName)
        environment.push_back(entry);
    return environment;
}

int trackTerminalProperty(VTermProp property, VTermValue* value, void* user)
{
    auto* flags = static_cast<PtyGame::TerminalFlags*>(user);
    if (property == VTERM_PROP_ALTSCREEN)
        flags->alternateScreen = value->boolean != 0;
    else if (property == VTERM_PROP_CURSORVISIBLE)
        flags->cursorVisible = value->boolean != 0;
    return 1;
}

void appendUtf8(std::string& text, uint32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xc0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xe0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        text += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        text += static_cast<char>(0xf0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        text += static_cast<char>(0x80 | (code & 0x3f));
    }
}

// The child side of jobControl: a stand-in for the shell, already the session's leader. It
// starts the game in a process group of its own in the foreground, tells the test the game's
// process id, and ends as the game ends. Only async-signal-safe calls: it runs after a fork.
[[noreturn]] void runAsShell(char* gamePath, char** arguments, char** environment, int reportFd)
{
    const pid_t game = fork();
    if (game == 0) {
        setpgid(0, 0);
        signal(SIGTTOU, SIG_IGN); // a background group may not take the terminal otherwise
        tcsetpgrp(STDIN_FILENO, getpid());
        signal(SIGTTOU, SIG_DFL);
        execve(gamePath, arguments, environment);
        _exit(127);
    }
    setpgid(game, game); // on both sides, as shells do, so neither waits for the other
    [[maybe_unused]] const ssize_t written = write(reportFd, &game, sizeof game);
    close(reportFd);
    for (;;) {
        int status = 0;
        if (waitpid(game, &status, 0) != game) {
            if (errno == EINTR)
                continue;
            _exit(125);
        }
        if (WIFEXITED(status))
            _exit(WEXITSTATUS(status));
        if (WIFSIGNALED(status))
            _exit(128 + WTERMSIG(status));
    }
}

} // namespace

PtyGame::PtyGame(const PtyGameOptions& options)
{
    winsize size{};
    size.ws_col = static_cast<unsigned short>(options.columns);
    size.ws_row = static_cast<unsigned short>(options.rows);
    if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0)
        throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    tcgetattr(slave_, &modesAtStart_);

    terminal_ = vterm_new(options.rows, options.columns);
    vterm_set_utf8(terminal_, 1);
    screen_ = vterm_obtain_screen(terminal_);
    vterm_screen_enable_altscreen(screen_, 1);
    static const VTermScreenCallbacks callbacks = [] {
        VTermScreenCallbacks result{};
        result.settermprop = trackTerminalProperty;
        return result;
    }();
    vterm_screen_set_callbacks(screen_, &callbacks, &flags_);
    vterm_screen_reset(screen_, 1);

    // Everything the child needs is made before the fork.
    const std::vector<std::string> environment = gameEnvironment(options.environment);
    std::vector<char*> environmentPointers;
    for (const auto& entry : environment)
        environmentPointers.push_back(const_cast<char*>(entry.c_str()));
    environmentPointers.push_back(nullptr);
    std::vector<std::string> command = options.command;
    if (command.empty())
        command.emplace_back(BLACKJACK_GAME_PATH);
    std::vector<char*> arguments;
    for (auto& argument : command)
        arguments.push_back(argument.data());
    arguments.push_back(nullptr);
    char* gamePath = arguments.front();

    int report[2] = {-1, -1};
    if (options.jobControl && pipe2(report, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));

    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid_ == 0) {
        // login_tty makes the terminal the child's own: new session, controlling terminal,
        // standard input, output and error.
        if (login_tty(dup(slave_)) != 0)
            _exit(126);
        if (options.jobControl)
            runAsShell(gamePath, arguments.data(), environmentPointers.data(), report[1]);
        execve(gamePath, arguments.data(), environmentPointers.data());
        _exit(127);
    }
    waitedPid_ = pid_;
    if (options.jobControl) {
        close(report[1]);
        pid_t game = -1;
        ssize_t got = 0;
        while ((got = read(report[0], &game, sizeof game)) < 0 && errno == EINTR) {
        }
        close(report[0]);
        if (got != sizeof game)
            throw std::runtime_error("the stand-in shell did not start the game");
        pid_ = game;
    }
}

PtyGame::~PtyGame()
{
    if (!exitStatus_ && waitedPid_ > 0) {
        kill(pid_, SIGKILL);
        kill(waitedPid_, SIGKILL);
        waitpid(waitedPid_, nullptr, 0);
    }
    vterm_free(terminal_);
    close(master_);
    close(slave_);
}

bool PtyGame::readOutput(int waitMs)
{
    pollfd output{master_, POLLIN, 0};
    if (poll(&output, 1, waitMs) <= 0)
        return false;
    bool gotSome = false;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(master_, buffer, sizeof buffer);
        if (count <= 0)
            return gotSome;
        takeOutput(buffer, static_cast<size_t>(count));
        gotSome = true;
    }
}

void PtyGame::takeOutput(const char* bytes, size_t count)
{
    const auto notSeen = [](const Watch& watch) { return watch.rows.empty(); };
    while (count > 0) {
        // Up to the next escape sequence: what stood on the screen before it may be gone after.
        size_t piece = std::any_of(watches_.begin(), watches_.end(), notSeen) ? 1 : count;
        while (piece < count && bytes[piece] != '\x1b')
            ++piece;
        vterm_input_write(terminal_, bytes, piece);
        bytes += piece;
        count -= piece;
        for (Watch& watch : watches_) {
            const int length = static_cast<int>(watch.text.size());
            if (notSeen(watch) && screenText(watch.column, watch.row, length).starts_with(watch.text))
                watch.rows = screenRows();
        }
    }
}

void PtyGame::readOutputUntilQuiet()
{
    while (readOutput(kQuietMs)) {
    }
}

bool PtyGame::hasEnded()
{
    if (exitStatus_)
        return true;
    int status = 0;
    if (waitpid(waitedPid_, &status, WNOHANG) != waitedPid_)
        return false;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

// Waiting for a key with nothing left to read: the game's key read waits in poll() on two
// descriptors (its input and its own wake-up pipe) with no time limit, or in read() on its
// standard input; nothing else of the game does. Where the system has no poll call of its own
// (aarch64), the C library's poll() is a ppoll call with no time limit. The wait for the rest of an escape
// sequence has a time limit, and a pause watches one descriptor only.
bool PtyGame::isBlockedReadingKey() const
{
    std::ifstream syscallFile("/proc/" + std::to_string(pid_) + "/syscall");
    std::string number;
    std::string firstArgument;
    std::string secondArgument;
    std::string thirdArgument;
    if (!(syscallFile >> number >> firstArgument >> secondArgument >> thirdArgument))
        return false;
    const bool reading = number == std::to_string(SYS_read) && firstArgument == "0x0";
#ifdef SYS_poll
    const bool waiting = number == std::to_string(SYS_poll) && secondArgument == "0x2" && thirdArgument == "0xffffffff";
#else
    const bool waiting = number == std::to_string(SYS_ppoll) && secondArgument == "0x2" && thirdArgument == "0x0";
#endif
    if (!(reading || waiting) || isStopped())
        return false;
    int pending = 0;
    return ioctl(slave_, FIONREAD, &pending) == 0 && pending == 0;
}

bool PtyGame::isStopped() const
{
    std::ifstream statFile("/proc/" + std::to_string(pid_) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // "pid (name) state ...": the name may hold anything, so the state follows its last ')'.
    const size_t nameEnd = stat.rfind(')');
    return nameEnd != std::string::npos && nameEnd + 2 < stat.size() && stat[nameEnd + 2] == 'T';
}

void PtyGame::waitForStop(std::chrono::milliseconds patience)
{
    const auto deadline = Clock::now() + patience;
    while (!isStopped()) {
        if (hasEnded())
            fail("the game ended instead of stopping");
        if (Clock::now() > deadline)
            fail("the game did not stop");
        readOutput(5);
    }
    readOutputUntilQuiet();
}

void PtyGame::sendSignal(int signalNumber)
{
    kill(pid_, signalNumber);
}

void PtyGame::resize(int columns, int rows)
{
    readOutputUntilQuiet();
    vterm_set_size(terminal_, rows, columns);
    constexpr std::string_view kBlank = "\x1b[H\x1b[2J";
    vterm_input_write(terminal_, kBlank.data(), kBlank.size());
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = static_cast<unsigned short>(rows);
    if (ioctl(master_, TIOCSWINSZ, &size) != 0)
        fail(std::string("resizing the terminal: ") + std::strerror(errno));
}

long long PtyGame::bytesReadByGame() const
{
    std::ifstream io("/proc/" + std::to_string(pid_) + "/io");
    std::string name;
    long long value = 0;
    while (io >> name >> value) {
        if (name == "rchar:")
            return value;
    }
    return -1;
}

void PtyGame::waitForKeyRead(std::chrono::milliseconds patience)
{
    const auto deadline = Clock::now() + patience;
    while (Clock::now() < deadline) {
        readOutput(5);
        if (hasEnded())
            fail("the game ended while a key was to be typed");
        if (!isBlockedReadingKey())
            continue;
        // Output written just before the read may still be on its way through the terminal.
        readOutputUntilQuiet();
        if (isBlockedReadingKey())
            return;
    }
    fail("the game did not come to read a key");
}

void PtyGame::press(std::string_view bytes)
{
    waitForKeyRead();
    const long long readBefore = bytesReadByGame();
    typeAhead(bytes);
    const auto deadline = Clock::now() + kPatience;
    while (bytesReadByGame() <= readBefore && !hasEnded()) {
        if (Clock::now() > deadline)
            fail("the game did not take the key");
        readOutput(2);
    }
}

void PtyGame::type(std::string_view keys)
{
    for (size_t i = 0; i < keys.size(); ++i)
        press(keys.substr(i, 1));
}

void PtyGame::typeAhead(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(master_, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR && errno != EAGAIN)
            fail(std::string("writing to the terminal: ") + std::strerror(errno));
        if (written > 0)
            bytes.remove_prefix(static_cast<size_t>(written));
    }
}

std::string PtyGame::textAt(int column, int row, int length)
{
    readOutput(0);
    return screenText(column, row, length);
}

std::string PtyGame::screenText(int column, int row, int length) const
{
    std::string text;
    for (int col = column; col < column + length; ++col) {
        VTermScreenCell cell{};
        vterm_screen_get_cell(screen_, VTermPos{row - 1, col - 1}, &cell);
        if (cell.chars[0] == 0)
            text += ' ';
        for (int i = 0; i < VTERM_MAX_CHARS_PER_CELL && cell.chars[i] != 0; ++i)
            appendUtf8(text, cell.chars[i]);
    }
    return text;
}

std::string PtyGame::row(int row)
{
    int rows = 0;
    int columns = 0;
    vterm_get_size(terminal_, &rows, &columns);
    return textAt(1, row, columns);
}

std::vector<std::string> PtyGame::screenRows() const
{
    int rows = 0;
    int columns = 0;
    vterm_get_size(terminal_, &rows, &columns);
    std::vector<std::string> texts;
    for (int r = 1; r <= rows; ++r)
        texts.push_back(screenText(1, r, columns));
    return texts;
}

int PtyGame::cursorColumn()
{
    readOutput(0);
    VTermPos position{};
    vterm_state_get_cursorpos(vterm_obtain_state(terminal_), &position);
    return position.col + 1;
}

int PtyGame::cursorRow()
{
    readOutput(0);
    VTermPos position{};
    vterm_state_get_cursorpos(vterm_obtain_state(terminal_), &position);
    return position.row + 1;
}

bool PtyGame::alternateScreenShown()
{
    readOutput(0);
    return flags_.alternateScreen;
}

bool PtyGame::cursorVisible()
{
    readOutput(0);
    return flags_.cursorVisible;
}

std::string PtyGame::dump()
{
    int rows = 0;
    int columns = 0;
    vterm_get_size(terminal_, &rows, &columns);
    std::ostringstream out;
    for (int r = 1; r <= rows; ++r)
        out << (r < 10 ? " " : "") << r << "|" << row(r) << "\n";
    out << "cursor at column " << cursorColumn() << ", row " << cursorRow() << "\n";
    return out.str();
}

void PtyGame::waitForText(int column, int row, std::string_view text, std::chrono::milliseconds patience)
{
    const auto deadline = Clock::now() + patience;
    const int length = static_cast<int>(text.size());
    while (textAt(column, row, length).substr(0, text.size()) != text) {
        if (Clock::now() > deadline)
            fail("\"" + std::string(text) + "\" did not appear at (" + std::to_string(column) + ", " +
                std::to_string(row) + ")");
        readOutput(10);
    }
}

void PtyGame::watchFor(int column, int row, std::string_view text)
{
    readOutput(0);
    watches_.push_back(Watch{column, row, std::string(text), {}});
}

std::vector<std::string> PtyGame::sighting(int column, int row, std::string_view text,
    std::chrono::milliseconds patience)
{
    const auto watch = std::find_if(watches_.begin(), watches_.end(), [&](const Watch& candidate) {
        return candidate.column == column && candidate.row == row && candidate.text == text;
    });
    if (watch == watches_.end())
        fail("\"" + std::string(text) + "\" was never watched for");
    const auto deadline = Clock::now() + patience;
    while (watch->rows.empty()) {
        if (Clock::now() > deadline)
            fail("\"" + std::string(text) + "\" was not seen at (" + std::to_string(column) + ", " +
                std::to_string(row) + ")");
        readOutput(10);
    }
    return watch->rows;
}

int PtyGame::waitForExit(std::chrono::milliseconds patience)
{
    const auto deadline = Clock::now() + patience;
    while (!hasEnded()) {
        if (Clock::now() > deadline)
            fail("the game did not end");
        readOutput(10);
    }
    readOutputUntilQuiet();
    return *exitStatus_;
}

termios PtyGame::modesNow() const
{
    termios modes{};
    tcgetattr(slave_, &modes);
    return modes;
}

void PtyGame::fail(const std::string& what)
{
    throw std::runtime_error(what + "\n" + dump());
}

FileGame playFromFile(std::string_view input, std::chrono::milliseconds patience)
{
    char inputPath[] = "/tmp/blackjack-input-XXXXXX";
    char outputPath[] = "/tmp/blackjack-output-XXXXXX";
    const int inputFile = mkostemp(inputPath, O_CLOEXEC);
    const int outputFile = mkostemp(outputPath, O_CLOEXEC);
    unlink(inputPath);
    unlink(outputPath);
    if (inputFile < 0 || outputFile < 0 ||
        write(inputFile, input.data(), input.size()) != static_cast<ssize_t>(input.size()))
        throw std::runtime_error("cannot make the files of a game played from a file");
    lseek(inputFile, 0, SEEK_SET);

    const std::vector<std::string> environment = gameEnvironment({});
    std::vector<char*> environmentPointers;
    for (const auto& entry : environment)
        environmentPointers.push_back(const_cast<char*>(entry.c_str()));
    environmentPointers.push_back(nullptr);
    char gamePath[] = BLACKJACK_GAME_PATH;
    char* arguments[] = {gamePath, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inputFile, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFile, STDOUT_FILENO);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, gamePath, &actions, nullptr, arguments, environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(inputFile);
    if (spawned != 0)
        throw std::runtime_error("cannot start the game");

    FileGame game;
    int status = 0;
    const auto deadline = Clock::now() + patience;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        poll(nullptr, 0, 20);
    }
    if (WIFEXITED(status))
        game.exitStatus = WEXITSTATUS(status);

    lseek(outputFile, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t got; (got = read(outputFile, buffer, sizeof buffer)) > 0;)
        game.output.append(buffer, static_cast<size_t>(got));
    close(outputFile);
    return game;
}

bool sameModes(const termios& first, const termios& second)
{
    return first.c_iflag == second.c_iflag && first.c_oflag == second.c_oflag &&
        first.c_cflag == second.c_cflag && first.c_lflag == second.c_lflag &&
        std::memcmp(first.c_cc, second.c_cc, sizeof first.c_cc) == 0;
}
