#include "e2e/pty_game.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

// Everything the player sees: each row of the window and the cursor.
struct Screen {
    std::vector<std::string> rows;
    int cursorColumn = 0;
    int cursorRow = 0;
    bool operator==(const Screen&) const = default;
};

Screen screenOf(PtyGame& game, int rows = 25)
{
    Screen screen;
    for (int row = 1; row <= rows; ++row)
        screen.rows.push_back(game.row(row));
    screen.cursorColumn = game.cursorColumn();
    screen.cursorRow = game.cursorRow();
    return screen;
}

void expectTerminalGivenBack(PtyGame& game)
{
    EXPECT_TRUE(sameModes(game.modesNow(), game.modesAtStart()));
    EXPECT_FALSE(game.alternateScreenShown());
    EXPECT_TRUE(game.cursorVisible());
}

constexpr std::string_view kBetPrompt = "Place your bet  ";

// From the title to the seat screen with one deck, and "75" typed at the bet prompt.
void sitDownWithABetTyped(PtyGame& game)
{
    game.type("nn1");
    game.waitForKeyRead();
    game.type("75");
    game.waitForKeyRead();
    ASSERT_EQ(game.textAt(33, 20, 18), "Place your bet  75") << game.dump();
}

// Sound through SDL's disk driver, which takes as long as a sound card to play a sound.
const std::vector<std::string> kTimedSound = {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=/dev/null"};

// Once the game plays sounds, the sound system's thread runs beside the main one.
void waitForSoundToStart(PtyGame& game)
{
    const std::filesystem::path threads = "/proc/" + std::to_string(game.pid()) + "/task";
    const auto deadline = std::chrono::steady_clock::now() + PtyGame::kPatience;
    while (std::distance(std::filesystem::directory_iterator(threads), std::filesystem::directory_iterator()) < 2) {
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("no sound started\n" + game.dump());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

struct SignalCase {
    int signalNumber;
    const char* moment;
    std::function<void(PtyGame&)> reachMoment;
    const char* key = nullptr; // the key typed to send it; none: the signal is sent by kill
};

TEST(Hardening, signals_at_a_prompt_in_a_pause_and_in_a_sound_end_the_game_with_the_terminal_given_back)
{
    const auto atBetPrompt = [](PtyGame& game) { sitDownWithABetTyped(game); };
    const auto inPause = [](PtyGame& game) {
        game.type("nn1");
        game.waitForText(23, 22, "Playing with one deck"); // half a second passes before the seat
    };
    const auto inSound = [](PtyGame& game) {
        game.type("ny"); // the opening sound plays for over a second
        waitForSoundToStart(game);
    };
    const auto atStandOrHit = [](PtyGame& game) {
        sitDownWithABetTyped(game);
        game.type("\r");
        game.waitForKeyRead();
        game.type("h");
        game.waitForText(33, 20, "Stand or Hit ");
        game.waitForKeyRead();
    };
    const std::vector<SignalCase> cases = {
        {SIGINT, "typed as Ctrl+C at Stand or Hit", atStandOrHit, "\x03"},
        {SIGINT, "at the bet prompt", atBetPrompt},
        {SIGTERM, "at the bet prompt", atBetPrompt},
        {SIGHUP, "at the bet prompt", atBetPrompt},
        {SIGTERM, "in a pause", inPause},
        {SIGHUP, "in a pause", inPause},
        {SIGTERM, "in a sound", inSound},
        {SIGHUP, "in a sound", inSound},
    };
    std::vector<std::future<void>> games;
    for (const SignalCase& signalCase : cases) {
        games.push_back(std::async(std::launch::async, [&signalCase] {
            SCOPED_TRACE(std::string(strsignal(signalCase.signalNumber)) + " " + signalCase.moment);
            PtyGame game({.environment = kTimedSound});
            signalCase.reachMoment(game);
            if (signalCase.key != nullptr)
                game.press(signalCase.key);
            else
                game.sendSignal(signalCase.signalNumber);
            EXPECT_EQ(game.waitForExit(), 128 + signalCase.signalNumber);
            expectTerminalGivenBack(game);
        }));
    }
    for (auto& game : games)
        game.get();
}

// Ctrl+Z, then fg: between the two the player's terminal is as it was before the game.
void stopAndContinue(PtyGame& game, const std::function<void(PtyGame&)>& pressCtrlZ)
{
    pressCtrlZ(game);
    game.waitForStop();
    expectTerminalGivenBack(game);
    game.sendSignal(SIGCONT);
}

struct SuspendCase {
    const char* moment;
    std::function<void(PtyGame&)> reachMoment;
    std::function<void(PtyGame&)> goOn; // and check that the game went on as it should
};

TEST(Hardening, ctrl_z_at_a_key_read_stops_the_game_and_fg_brings_its_screen_and_modes_back_exactly)
{
    const std::vector<SuspendCase> cases = {
        {"at a set-up question",
            [](PtyGame& game) { game.waitForKeyRead(); },
            [](PtyGame& game) {
                game.type("n");
                game.waitForKeyRead();
                EXPECT_EQ(game.textAt(23, 21, 34), "Do you want sound effects?  Y or N") << game.dump();
            }},
        {"at the bet prompt with a bet typed",
            sitDownWithABetTyped,
            [](PtyGame& game) {
                game.type("\r");
                game.waitForText(22, 3, "You have:");
            }},
    };
    std::vector<std::future<void>> games;
    for (const SuspendCase& suspendCase : cases) {
        games.push_back(std::async(std::launch::async, [&suspendCase] {
            SCOPED_TRACE(suspendCase.moment);
            PtyGame game({.environment = {}, .jobControl = true});
            suspendCase.reachMoment(game);
            const Screen before = screenOf(game);
            const termios modesBefore = game.modesNow();

            stopAndContinue(game, [](PtyGame& stopped) { stopped.press("\x1a"); });
            // Taking the terminal again starts from a blank screen: the repaint is what shows.
            game.waitForText(1, before.cursorRow, before.rows[static_cast<size_t>(before.cursorRow - 1)]);
            game.waitForKeyRead();
            EXPECT_EQ(screenOf(game), before) << game.dump();
            EXPECT_TRUE(sameModes(game.modesNow(), modesBefore));
            EXPECT_TRUE(game.alternateScreenShown());
            suspendCase.goOn(game);
        }));
    }
    for (auto& game : games)
        game.get();
}

TEST(Hardening, ctrl_z_in_a_pause_stops_the_game_and_after_fg_it_goes_on_to_the_next_screen)
{
    PtyGame game({.environment = {}, .jobControl = true});
    game.type("nn1");
    game.waitForText(23, 22, "Playing with one deck"); // half a second passes before the seat
    stopAndContinue(game, [](PtyGame& stopped) { stopped.typeAhead("\x1a"); });
    game.waitForText(33, 20, kBetPrompt);
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(15, 11, 48), "* YOU HAVE TAKEN A SEAT AT THE BLACKJACK TABLE *") << game.dump();
    EXPECT_TRUE(game.alternateScreenShown());
}

TEST(Hardening, resized_window_is_repainted_and_one_too_small_is_asked_to_grow_with_keys_typed_meanwhile_dropped)
{
    PtyGame game;
    sitDownWithABetTyped(game);
    const Screen before = screenOf(game);

    game.resize(100, 30);
    game.waitForText(33, 20, "Place your bet  75");
    game.waitForKeyRead();
    const Screen larger = screenOf(game, 30);
    EXPECT_EQ(larger.cursorColumn, before.cursorColumn);
    EXPECT_EQ(larger.cursorRow, before.cursorRow);
    for (int row = 1; row <= 30; ++row) {
        const std::string expected = row <= 25 ? before.rows[static_cast<size_t>(row - 1)] : "";
        EXPECT_EQ(larger.rows[static_cast<size_t>(row - 1)], expected + std::string(100 - expected.size(), ' '))
            << "row " << row;
    }

    game.resize(79, 30);
    game.waitForText(1, 1, "Please make the window at least 80x24");
    game.resize(60, 20);
    game.waitForText(1, 1, "Please make the window at least 80x24");
    game.typeAhead("0\r"); // unseen: the bet must not become 750, nor be placed
    game.resize(80, 25);
    game.waitForText(33, 20, "Place your bet  75");
    game.waitForKeyRead();
    EXPECT_EQ(screenOf(game), before) << game.dump();

    game.type("\r");
    game.waitForText(22, 3, "You have:");
}

// A whole game from a file of keys and lines: two rounds, a hit, a stand and a double down,
// then 999 and Escape at the farewell.
constexpr std::string_view kWholeGame = "nn1" "50\n" "h" "s" "25\n" "d" "999\n" "\x1b";

TEST(Hardening, whole_game_played_from_a_file_ends_at_the_farewell_with_status_0_with_one_answer_a_line_or_not)
{
    const std::vector<std::string_view> files = {kWholeGame,
        "n\nn\n1\n50\nh\ns\n25\nd\n999\n\x1b\n",
        "n\r\nn\r\n1\r\n50\r\nh\r\ns\r\n25\r\nd\r\n999\r\n\x1b\r\n"};
    std::vector<std::future<FileGame>> games;
    for (const std::string_view input : files)
        games.push_back(std::async(std::launch::async, [input] { return playFromFile(input, std::chrono::seconds(60)); }));
    const FileGame game = games[0].get();
    EXPECT_EQ(game.exitStatus, 0) << game.output;
    for (const std::string_view text : {"Dealer wins with 18", "Bankroll is $950", "Dealer wins with 20",
             "Bankroll is $900", "You lost $100", "Press ESCAPE to exit "})
        EXPECT_NE(game.output.find(text), std::string::npos) << text << "\n" << game.output;
    for (size_t i = 1; i < files.size(); ++i) {
        SCOPED_TRACE(testing::PrintToString(std::string(files[i])));
        const FileGame sameGame = games[i].get();
        EXPECT_EQ(sameGame.exitStatus, 0);
        EXPECT_EQ(sameGame.output, game.output);
    }
}

TEST(Hardening, file_that_ends_early_ends_the_game_through_the_farewell_with_status_0)
{
    const std::vector<std::string_view> truncatedGames = {
        "nn15",                    // in the middle of the first bet
        "nn150\n",                 // at the first decision
        "nn150\nh",                // at the second decision
        "nn150\nhs2",              // in the middle of the second bet
        "nn150\nhs25\nd999\n",     // at the farewell, before Escape
    };
    std::vector<std::future<FileGame>> games;
    for (const std::string_view input : truncatedGames)
        games.push_back(std::async(std::launch::async, [input] { return playFromFile(input, std::chrono::seconds(60)); }));
    for (size_t i = 0; i < games.size(); ++i) {
        SCOPED_TRACE(testing::PrintToString(std::string(truncatedGames[i])));
        const FileGame game = games[i].get();
        EXPECT_EQ(game.exitStatus, 0) << game.output;
        EXPECT_NE(game.output.find("Press ESCAPE to exit "), std::string::npos) << game.output;
    }
}

} // namespace
