#include "console/terminal_backend.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <thread>
#include <vector>

namespace {

// A pseudo-terminal for the backend to take over; the test plays the terminal at the master.
struct PseudoTerminal {
    int master = -1;
    int slave = -1;

    explicit PseudoTerminal(unsigned short columns = 80, unsigned short rows = 25)
    {
        winsize size{};
        size.ws_col = columns;
        size.ws_row = rows;
        if (openpty(&master, &slave, nullptr, nullptr, &size) != 0)
            throw std::runtime_error("openpty failed");
    }
    ~PseudoTerminal()
    {
        close(master);
        close(slave);
    }

    termios modes() const
    {
        termios result{};
        tcgetattr(slave, &result);
        return result;
    }

    // The window's new size. The test process is not in the terminal's session, so it raises
    // the SIGWINCH itself that the player's resizing would bring.
    void resize(unsigned short columns, unsigned short rows) const
    {
        winsize size{};
        size.ws_col = columns;
        size.ws_row = rows;
        ioctl(master, TIOCSWINSZ, &size);
        raise(SIGWINCH);
    }

    void type(std::string_view bytes) const
    {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // What the backend wrote, up to a moment of quiet.
    std::string output() const
    {
        std::string text;
        pollfd readable{master, POLLIN, 0};
        char buffer[1024];
        while (poll(&readable, 1, 50) > 0) {
            const ssize_t count = ::read(master, buffer, sizeof buffer);
            if (count <= 0)
                break;
            text.append(buffer, static_cast<size_t>(count));
        }
        return text;
    }
};

std::pair<int, int> codes(const KeyPress& key)
{
    return {key.code, key.secondCode};
}

TEST(TerminalBackend, takes_the_terminal_over_for_the_run_and_gives_it_back_as_it_was)
{
    PseudoTerminal terminal;
    const termios before = terminal.modes();
    {
        TerminalBackend backend(terminal.slave, terminal.slave);
        const termios during = terminal.modes();
        EXPECT_EQ(during.c_lflag & ECHO, 0u);
        EXPECT_EQ(during.c_lflag & ICANON, 0u);
        EXPECT_NE(during.c_lflag & ISIG, 0u);   // Ctrl+C still interrupts a pause
        EXPECT_NE(during.c_oflag & OPOST, 0u);  // a line break still goes to column 1
        EXPECT_EQ(during.c_cc[VSUSP], before.c_cc[VSUSP]); // Ctrl+Z stops the game
        EXPECT_EQ(terminal.output(), "\x1b[?1049h");

        backend.moveCursor(33, 20);
        backend.write("Bet");
        EXPECT_EQ(terminal.output(), "") << "written before any flush";
    }
    const termios after = terminal.modes();
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(std::string(after.c_cc, after.c_cc + NCCS), std::string(before.c_cc, before.c_cc + NCCS));
    EXPECT_EQ(terminal.output(), "\x1b[20;33HBet\x1b[?25h\x1b[?1049l");
}

TEST(TerminalBackend, key_read_hands_over_ctrl_s_and_enter_as_their_codes)
{
    PseudoTerminal terminal;
    TerminalBackend backend(terminal.slave, terminal.slave);
    // The keys must reach the terminal while the read is under way, as a player's would.
    std::thread player([&terminal] {
        while ((terminal.modes().c_lflag & ISIG) != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        terminal.type("\x13\r");
    });
    EXPECT_EQ(backend.nextKey().code, 19);
    EXPECT_EQ(backend.nextKey().code, 13);
    player.join();
    EXPECT_NE(terminal.modes().c_lflag & ISIG, 0u) << "the run's modes are back after the read";
}

TEST(TerminalBackend, decodes_special_keys_and_a_lone_escape_from_the_terminal)
{
    PseudoTerminal terminal;
    TerminalBackend backend(terminal.slave, terminal.slave);
    terminal.type("\x1b[A\x1bOP\x7f");
    EXPECT_EQ(codes(backend.nextKey()), std::make_pair(224, 72));
    EXPECT_EQ(codes(backend.nextKey()), std::make_pair(0, 59));
    EXPECT_EQ(codes(backend.nextKey()), std::make_pair(8, kNoSecondCode));

    terminal.type("\x1b");
    const std::int64_t start = backend.nowMs();
    EXPECT_EQ(codes(backend.nextKey()), std::make_pair(27, kNoSecondCode));
    EXPECT_GE(backend.nowMs() - start, 45);
}

TEST(TerminalBackend, discarding_drops_keys_typed_ahead_but_not_later_ones)
{
    PseudoTerminal terminal;
    TerminalBackend backend(terminal.slave, terminal.slave);
    terminal.type("nyy\x1b[B");
    EXPECT_EQ(backend.nextKey().code, 'n');
    backend.discardPendingInput();
    terminal.type("8");
    EXPECT_EQ(backend.nextKey().code, '8');
}

TEST(TerminalBackend, input_from_a_pipe_is_every_byte_in_order_with_nothing_discarded_until_its_end)
{
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const std::string_view input = "ny\x1b[A50\n";
    ASSERT_EQ(::write(pipeEnds[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    close(pipeEnds[1]);
    const int nowhere = open("/dev/null", O_WRONLY);

    std::vector<int> keys;
    {
        TerminalBackend backend(pipeEnds[0], nowhere);
        for (size_t i = 0; i <= input.size(); ++i) {
            keys.push_back(backend.nextKey().code);
            backend.discardPendingInput();
        }
        keys.push_back(backend.nextKey().code);
    }
    close(pipeEnds[0]);
    close(nowhere);
    EXPECT_EQ(keys, (std::vector<int>{'n', 'y', 27, '[', 'A', '5', '0', 10, kEndOfInput, kEndOfInput}));
}

TEST(TerminalBackend, sleeps_until_its_target_on_the_clock)
{
    PseudoTerminal terminal;
    TerminalBackend backend(terminal.slave, terminal.slave);
    const std::int64_t now = backend.nowMs();
    // The last target ends in 999 ms, so its nanoseconds overflow into the next second.
    for (const std::int64_t target : {now - 5, now, now + 30, now + (999 - now % 1000 + 1000) % 1000}) {
        backend.sleepUntilMs(target);
        const std::int64_t woke = backend.nowMs();
        EXPECT_GE(woke, target);
        EXPECT_LT(woke, std::max(target, now) + 500);
    }
}

TEST(TerminalBackend, resize_repaints_every_row_drawn_as_the_window_scrolled_it_with_the_cursor_back_in_place)
{
    PseudoTerminal terminal;
    TerminalBackend backend(terminal.slave, terminal.slave);
    backend.clear();
    backend.moveCursor(33, 20);
    backend.write("Place your bet \x1e 75");
    backend.moveCursor(1, 25);
    backend.write("first\nsecond"); // the line break on the last row scrolls the screen up
    backend.flush();
    terminal.output();

    terminal.resize(100, 30);
    backend.sleepUntilMs(backend.nowMs());
    EXPECT_EQ(terminal.output(), "\x1b[H\x1b[2J"
        "\x1b[19;1H                                Place your bet \u25b2 75"
        "\x1b[24;1Hfirst"
        "\x1b[25;1Hsecond"
        "\x1b[25;7H");
}

TEST(TerminalBackend, window_too_small_asks_for_room_with_signals_on_and_throws_away_the_keys_typed_meanwhile)
{
    PseudoTerminal terminal;
    TerminalBackend backend(terminal.slave, terminal.slave);
    backend.moveCursor(23, 21);
    backend.write("Do you want instructions?");
    terminal.output();
    terminal.resize(60, 20);

    bool signalsOnWhileWaiting = false;
    std::thread player([&] {
        std::string shown;
        while (shown.find("Please make the window at least 80x24") == std::string::npos)
            shown += terminal.output();
        signalsOnWhileWaiting = (terminal.modes().c_lflag & ISIG) != 0;
        terminal.type("n");
        terminal.resize(80, 24);
        while (shown.find("Do you want instructions?") == std::string::npos)
            shown += terminal.output();
        terminal.type("y");
    });
    EXPECT_EQ(backend.nextKey().code, 'y');
    player.join();
    EXPECT_TRUE(signalsOnWhileWaiting) << "Ctrl+C and Ctrl+Z must still work while the game waits";
}

TEST(TerminalBackend, continued_after_a_stop_it_sets_its_own_modes_again_whatever_the_shell_left)
{
    PseudoTerminal terminal;
    const termios shellModes = terminal.modes();
    TerminalBackend backend(terminal.slave, terminal.slave);
    const termios gameModes = terminal.modes();
    backend.moveCursor(33, 22);
    backend.write("Bankroll is $1000");
    backend.flush();
    terminal.output();

    tcsetattr(terminal.slave, TCSANOW, &shellModes);
    raise(SIGCONT);
    EXPECT_EQ(terminal.modes().c_lflag, gameModes.c_lflag);
    backend.sleepUntilMs(backend.nowMs());
    EXPECT_EQ(terminal.output(), "\x1b[H\x1b[2J\x1b[22;1H                                Bankroll is $1000\x1b[22;50H");
}

struct SizeCase {
    unsigned short columns;
    unsigned short rows;
    std::string expected;
};

TEST(TerminalSize, only_a_terminal_known_to_be_smaller_than_80x24_is_refused)
{
    const std::vector<SizeCase> cases = {
        {80, 24, ""},
        {132, 50, ""},
        {0, 0, ""}, // a terminal that does not know its size
        {79, 24, "blackjack: needs a terminal of at least 80x24; this one is 79x24."},
        {80, 23, "blackjack: needs a terminal of at least 80x24; this one is 80x23."},
        {40, 10, "blackjack: needs a terminal of at least 80x24; this one is 40x10."},
    };
    for (const SizeCase& sizeCase : cases) {
        PseudoTerminal terminal(sizeCase.columns, sizeCase.rows);
        EXPECT_EQ(terminalSizeProblem(terminal.slave), sizeCase.expected)
            << sizeCase.columns << "x" << sizeCase.rows;
    }
    const int nowhere = open("/dev/null", O_WRONLY);
    EXPECT_EQ(terminalSizeProblem(nowhere), "");
    close(nowhere);
}

} // namespace
