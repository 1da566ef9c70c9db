// The console calls the game makes, all of them: a screen buffer of its own made active
// (CreateConsoleScreenBuffer, SetConsoleActiveScreenBuffer) and sized to the window
// (SetConsoleScreenBufferSize); the rows that changed written in one call (WriteConsoleOutputW),
// which also clears; the cursor put (SetConsoleCursorPosition); key events read
// (ReadConsoleInputW, PeekConsoleInputW) and thrown away (FlushConsoleInputBuffer); and the
// input's modes (GetConsoleMode, SetConsoleMode). No shell, no "cls".
#include "console/windows_backend.h"

#include "console/windows_translation.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <mmsystem.h>

namespace {

// No echo and no line editing; Ctrl+C goes to the control handler and ends the game, at a key
// read as at any other moment; a new window size comes as an event.
constexpr DWORD kGameMode = ENABLE_PROCESSED_INPUT | ENABLE_WINDOW_INPUT;
constexpr std::string_view kWindowTooSmall = "Please make the window at least 80x24";
constexpr SHORT kMinimumColumns = 80;
constexpr SHORT kMinimumRows = 24;

// What the control handler, the crash filter and the exit hook need to give the console back.
// Filled in while the console is taken over, before any of them is installed.
struct ConsoleRestore {
    HANDLE input = INVALID_HANDLE_VALUE;
    DWORD inputMode = 0;                          // the input's modes as they were
    bool hasInputMode = false;                    // the input is a console whose modes were changed
    HANDLE playerBuffer = INVALID_HANDLE_VALUE;   // the screen buffer shown before the game's
    bool switchedBuffer = false;                  // the game's own buffer was made active
    std::atomic<bool> owed{false};                // taken over and not yet given back
    bool exitHookRegistered = false;
    LPTOP_LEVEL_EXCEPTION_FILTER previousCrashFilter = nullptr;
};

ConsoleRestore consoleRestore;

// Safe from any thread, and once only: the control handler runs on a thread of its own.
void giveConsoleBack()
{
    if (!consoleRestore.owed.exchange(false))
        return;
    if (consoleRestore.switchedBuffer)
        SetConsoleActiveScreenBuffer(consoleRestore.playerBuffer);
    if (consoleRestore.hasInputMode) {
        // Keys typed at the end of the game would otherwise spill into the shell.
        FlushConsoleInputBuffer(consoleRestore.input);
        SetConsoleMode(consoleRestore.input, consoleRestore.inputMode);
    }
}

extern "C" void giveConsoleBackAtExit()
{
    giveConsoleBack();
}

// Ends the game as Windows ends a program at Ctrl+C, with the console given back first.
[[noreturn]] void endOnInterrupt()
{
    giveConsoleBack();
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

// Ctrl+C and Ctrl+Break end the game; the window closed, a log-off or a shut-down end it
// anyway once the console is given back.
BOOL WINAPI giveConsoleBackOnControl(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        endOnInterrupt();
    giveConsoleBack();
    return FALSE;
}

LONG WINAPI giveConsoleBackOnCrash(EXCEPTION_POINTERS*)
{
    giveConsoleBack();
    return EXCEPTION_CONTINUE_SEARCH;
}

extern "C" void giveConsoleBackOnAbort(int signalNumber)
{
    giveConsoleBack();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

std::optional<COORD> windowSizeOf(HANDLE output)
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(output, &info))
        return std::nullopt;
    return COORD{static_cast<SHORT>(info.srWindow.Right - info.srWindow.Left + 1),
        static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1)};
}

bool largeEnough(COORD size)
{
    return size.X >= kMinimumColumns && size.Y >= kMinimumRows;
}

bool isConsoleInput(HANDLE input)
{
    DWORD mode = 0;
    return GetConsoleMode(input, &mode) != 0;
}

// The game's screen as large as the window, so that nothing scrolls out of sight.
VirtualScreen screenLike(std::optional<COORD> window)
{
    if (window && largeEnough(*window))
        return VirtualScreen(window->X, window->Y);
    return VirtualScreen();
}

} // namespace

WindowsBackend::WindowsBackend()
    : input_(GetStdHandle(STD_INPUT_HANDLE)), output_(GetStdHandle(STD_OUTPUT_HANDLE)),
      inputIsConsole_(isConsoleInput(input_)), outputIsConsole_(windowSizeOf(output_).has_value()),
      start_(std::chrono::steady_clock::now()), drawn_(screenLike(windowSizeOf(output_))),
      shown_(drawn_.columns(), drawn_.rows())
{
    // Pauses end within a millisecond of their time rather than the scheduler's 16.
    timeBeginPeriod(1);

    ConsoleRestore& restore = consoleRestore;
    restore.input = input_;
    restore.hasInputMode = inputIsConsole_ && GetConsoleMode(input_, &restore.inputMode) != 0;
    restore.playerBuffer = output_;
    restore.switchedBuffer = false;
    if (outputIsConsole_) {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        GetConsoleScreenBufferInfo(output_, &info);
        colours_ = info.wAttributes;
        const HANDLE gameBuffer = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
        if (gameBuffer != INVALID_HANDLE_VALUE) {
            SetConsoleScreenBufferSize(gameBuffer, COORD{static_cast<SHORT>(drawn_.columns()), static_cast<SHORT>(drawn_.rows())});
            output_ = gameBuffer;
            restore.switchedBuffer = true;
        }
        // Without a buffer of its own the game draws on the player's.
    }
    restore.owed = true;

    if (!restore.exitHookRegistered) {
        std::atexit(giveConsoleBackAtExit);
        restore.exitHookRegistered = true;
    }
    SetConsoleCtrlHandler(giveConsoleBackOnControl, TRUE);
    restore.previousCrashFilter = SetUnhandledExceptionFilter(giveConsoleBackOnCrash);
    std::signal(SIGABRT, giveConsoleBackOnAbort);

    if (restore.hasInputMode)
        SetConsoleMode(input_, kGameMode);
    if (restore.switchedBuffer)
        SetConsoleActiveScreenBuffer(output_);
}

WindowsBackend::~WindowsBackend()
{
    restoreConsole();
}

void WindowsBackend::restoreConsole()
{
    if (restored_)
        return;
    restored_ = true;
    flush();
    giveConsoleBack();
    std::signal(SIGABRT, SIG_DFL);
    SetUnhandledExceptionFilter(consoleRestore.previousCrashFilter);
    SetConsoleCtrlHandler(giveConsoleBackOnControl, FALSE);
    if (consoleRestore.switchedBuffer) {
        CloseHandle(output_);
        output_ = consoleRestore.playerBuffer;
        consoleRestore.switchedBuffer = false;
    }
    timeEndPeriod(1);
}

void WindowsBackend::moveCursor(int column, int row)
{
    drawn_.moveCursor(column, row);
}

void WindowsBackend::clear()
{
    flush(); // the old screen is complete before the new one starts
    drawn_.clear();
}

void WindowsBackend::write(std::string_view text)
{
    drawn_.write(text);
    if (!outputIsConsole_)
        plainOutput_ += text;
}

void WindowsBackend::flush()
{
    if (!outputIsConsole_) {
        DWORD written = 0;
        if (!plainOutput_.empty())
            WriteFile(output_, plainOutput_.data(), static_cast<DWORD>(plainOutput_.size()), &written, nullptr);
        plainOutput_.clear();
        return;
    }
    int firstChanged = 0;
    int lastChanged = 0;
    for (int row = 1; row <= drawn_.rows(); ++row) {
        if (drawn_.row(row) == shown_.row(row))
            continue;
        if (firstChanged == 0)
            firstChanged = row;
        lastChanged = row;
    }
    if (firstChanged != 0)
        showCells(drawn_, firstChanged, lastChanged);
    if (drawn_.cursorColumn() != shown_.cursorColumn() || drawn_.cursorRow() != shown_.cursorRow())
        showCursor();
    shown_ = drawn_;
}

void WindowsBackend::repaint()
{
    showCells(drawn_, 1, drawn_.rows());
    showCursor();
    shown_ = drawn_;
}

void WindowsBackend::showCursor()
{
    SetConsoleCursorPosition(output_, COORD{static_cast<SHORT>(drawn_.cursorColumn() - 1), static_cast<SHORT>(drawn_.cursorRow() - 1)});
}

void WindowsBackend::showCells(const VirtualScreen& screen, int firstRow, int lastRow)
{
    const std::vector<CHAR_INFO> cells = cellsOf(screen, firstRow, lastRow, colours_);
    const auto columns = static_cast<SHORT>(screen.columns());
    SMALL_RECT area{0, static_cast<SHORT>(firstRow - 1), static_cast<SHORT>(columns - 1), static_cast<SHORT>(lastRow - 1)};
    WriteConsoleOutputW(output_, cells.data(), COORD{columns, static_cast<SHORT>(lastRow - firstRow + 1)}, COORD{0, 0}, &area);
}

std::int64_t WindowsBackend::nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
}

void WindowsBackend::sleepUntilMs(std::int64_t targetMs)
{
    for (;;) {
        const std::int64_t left = targetMs - nowMs();
        if (left <= 0)
            return;
        // The input's handle stays signalled while a key waits in it, so then a plain sleep;
        // otherwise the wait wakes for a new window size too.
        if (!inputIsConsole_ || keyIsWaiting())
            Sleep(static_cast<DWORD>(left));
        else
            WaitForSingleObject(input_, static_cast<DWORD>(left));
    }
}

bool WindowsBackend::keyIsWaiting()
{
    bool keyWaiting = false;
    bool sizeChanged = false;
    for (;;) {
        INPUT_RECORD record{};
        DWORD count = 0;
        if (!PeekConsoleInputW(input_, &record, 1, &count) || count == 0)
            break;
        if (record.EventType == KEY_EVENT && keyOfEvent(record.Event.KeyEvent)) {
            keyWaiting = true;
            break;
        }
        // Not a key for the game (a release, Shift alone, focus, mouse): taken out of the way.
        ReadConsoleInputW(input_, &record, 1, &count);
        sizeChanged = sizeChanged || record.EventType == WINDOW_BUFFER_SIZE_EVENT;
    }
    if (sizeChanged)
        followWindowSize();
    return keyWaiting;
}

KeyPress WindowsBackend::nextKey()
{
    if (inputEnded_)
        return {};
    return inputIsConsole_ ? readConsoleKey() : readStreamKey();
}

KeyPress WindowsBackend::readConsoleKey()
{
    for (;;) {
        INPUT_RECORD record{};
        DWORD count = 0;
        if (!ReadConsoleInputW(input_, &record, 1, &count)) {
            inputEnded_ = true;
            return {};
        }
        if (count == 0)
            continue;
        if (record.EventType == WINDOW_BUFFER_SIZE_EVENT)
            followWindowSize();
        else if (record.EventType == KEY_EVENT) {
            if (const auto key = keyOfEvent(record.Event.KeyEvent))
                return *key;
        }
    }
}

KeyPress WindowsBackend::readStreamKey()
{
    unsigned char byte = 0;
    DWORD count = 0;
    if (!ReadFile(input_, &byte, 1, &count, nullptr) || count == 0) {
        inputEnded_ = true;
        return {};
    }
    return {byte};
}

void WindowsBackend::discardPendingInput()
{
    if (inputIsConsole_)
        FlushConsoleInputBuffer(input_);
}

bool WindowsBackend::inputIsStream() const
{
    return !inputIsConsole_;
}

void WindowsBackend::interrupt()
{
    // Ctrl+C does not come as a key from the console; from a pipe it ends the game all the same.
    flush();
    endOnInterrupt();
}

void WindowsBackend::playSoundFile(std::string_view fileName)
{
    flush();
    if (!sound_)
        sound_.emplace();
    sound_->play(fileName);
}

void WindowsBackend::followWindowSize()
{
    if (!outputIsConsole_ || restored_)
        return;
    const bool waited = waitForLargeEnoughWindow();
    const std::optional<COORD> window = windowSizeOf(output_);
    if (!window)
        return;
    const bool resized = window->X != drawn_.columns() || window->Y != drawn_.rows();
    // The game's own resizing of its buffer reports a new size too, the one it already has.
    if (!waited && !resized)
        return;
    if (resized) {
        SetConsoleScreenBufferSize(output_, *window);
        drawn_ = drawn_.resizedTo(window->X, window->Y);
    }
    // The console may have moved or cut the buffer's text: every row is written again.
    repaint();
}

bool WindowsBackend::waitForLargeEnoughWindow()
{
    std::optional<COORD> window = windowSizeOf(output_);
    if (!window || largeEnough(*window))
        return false;
    while (window && !largeEnough(*window)) {
        SetConsoleScreenBufferSize(output_, *window);
        VirtualScreen notice(window->X, window->Y);
        notice.write(kWindowTooSmall);
        showCells(notice, 1, notice.rows());
        INPUT_RECORD record{};
        DWORD count = 0;
        do {
            if (!ReadConsoleInputW(input_, &record, 1, &count))
                return true;
        } while (record.EventType != WINDOW_BUFFER_SIZE_EVENT);
        window = windowSizeOf(output_);
    }
    FlushConsoleInputBuffer(input_);
    return true;
}

std::string consoleSizeProblem()
{
    const std::optional<COORD> window = windowSizeOf(GetStdHandle(STD_OUTPUT_HANDLE));
    if (!window || largeEnough(*window))
        return {};
    return "blackjack: needs a console window of at least " + std::to_string(kMinimumColumns) + "x" +
        std::to_string(kMinimumRows) + "; this one is " + std::to_string(window->X) + "x" +
        std::to_string(window->Y) + ".";
}
