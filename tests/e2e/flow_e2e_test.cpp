#include "e2e/pty_game.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

void expectTerminalGivenBack(PtyGame& game)
{
    EXPECT_TRUE(sameModes(game.modesNow(), game.modesAtStart()));
    EXPECT_FALSE(game.alternateScreenShown());
    EXPECT_TRUE(game.cursorVisible());
}

void expectPage(PtyGame& game, std::string_view prompt)
{
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(1, 24, static_cast<int>(prompt.size())), prompt) << game.dump();
}

constexpr std::string_view kFirstPagePrompt = "Press C to continue or R to return to the game  ";
constexpr std::string_view kSecondPagePrompt = "Press C to continue or B to back up or R to return to the game  ";
constexpr std::string_view kThirdPagePrompt = "Press B to back up or R to return to the game  ";

TEST(FlowEndToEnd, PagesTurnBothWaysThenEscapeAtTheSoundQuestionLeavesEarly)
{
    PtyGame game;
    game.type("y");
    expectPage(game, kFirstPagePrompt);
    EXPECT_EQ(game.textAt(11, 3, 63), "* INSTRUCTIONS FOR CORVALE BLACKJACK, Version 3.1 for Windows *");
    game.press("\x1b[A");   // an arrow key turns no page
    expectPage(game, kFirstPagePrompt);
    game.type("C");
    expectPage(game, kSecondPagePrompt);
    game.type("c");
    expectPage(game, kThirdPagePrompt);
    game.type("b");
    expectPage(game, kSecondPagePrompt);
    game.type("r");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(28, 9, 17), "CORVALE BLACKJACK");
    EXPECT_EQ(game.textAt(23, 21, 39), "Do you want sound effects?  Y or N     ") << game.dump();

    game.press("\x1b");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(19, 12, 42), "IT IS A SHAME THAT YOU MUST LEAVE SO SOON.");
    game.type("q");
    EXPECT_EQ(game.waitForExit(), 0);
    expectTerminalGivenBack(game);
}

TEST(FlowEndToEnd, EscapeOnAPageLeavesEarly)
{
    PtyGame game;
    game.type("yc");
    expectPage(game, kSecondPagePrompt);
    game.press("\x1b");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(19, 12, 42), "IT IS A SHAME THAT YOU MUST LEAVE SO SOON.") << game.dump();
    game.press("\x1b");
    EXPECT_EQ(game.waitForExit(), 0);
    expectTerminalGivenBack(game);
}

TEST(FlowEndToEnd, FarewellWaitsForEscapeAlone)
{
    PtyGame game;
    game.type("nn4");
    game.waitForKeyRead();
    game.type("999\r");
    game.waitForText(34, 22, "Press ESCAPE to exit ");
    EXPECT_EQ(game.textAt(33, 12, 15), "You broke even!");
    for (const std::string_view key : {"x", "\r", "\x1b[B", "\x1bOP", " "}) {
        game.press(key);
        game.waitForKeyRead();
    }
    EXPECT_EQ(game.textAt(34, 22, 21), "Press ESCAPE to exit ") << game.dump();
    game.press("\x1b");
    EXPECT_EQ(game.waitForExit(), 0);
    expectTerminalGivenBack(game);
}

// The game fed from a file that ends: it must come to an end by itself, with status 0.
struct PipedRun {
    int status = -1;
    std::string output;
};

PipedRun runWithInput(const std::string& input)
{
    char inputPath[] = "/tmp/blackjack-input-XXXXXX";
    char outputPath[] = "/tmp/blackjack-output-XXXXXX";
    const int inputFile = mkstemp(inputPath);
    const int outputFile = mkstemp(outputPath);
    if (inputFile < 0 || outputFile < 0 || write(inputFile, input.data(), input.size()) != static_cast<ssize_t>(input.size()))
        throw std::runtime_error("cannot make the files of a piped run");
    lseek(inputFile, 0, SEEK_SET);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inputFile, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFile, STDOUT_FILENO);
    char gamePath[] = BLACKJACK_GAME_PATH;
    char* arguments[] = {gamePath, nullptr};
    char* environment[] = {nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, gamePath, &actions, nullptr, arguments, environment);
    posix_spawn_file_actions_destroy(&actions);
    close(inputFile);
    if (spawned != 0)
        throw std::runtime_error("cannot start the game");

    PipedRun run;
    int waitStatus = 0;
    const auto deadline = std::chrono::steady_clock::now() + PtyGame::kPatience;
    while (waitpid(pid, &waitStatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &waitStatus, 0);
            run.output = "the game never ended";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(waitStatus) && run.output.empty())
        run.status = WEXITSTATUS(waitStatus);

    lseek(outputFile, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t got; (got = read(outputFile, buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, static_cast<size_t>(got));
    close(outputFile);
    unlink(inputPath);
    unlink(outputPath);
    return run;
}

struct EndedInputCase {
    const char* name;
    const char* input;
    const char* lastScreenText;
};

class InputEndingAt : public testing::TestWithParam<EndedInputCase> {};

TEST_P(InputEndingAt, EndsTheGameWithStatusZero)
{
    const PipedRun run = runWithInput(GetParam().input);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(GetParam().lastScreenText), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Screens, InputEndingAt, testing::Values(
    EndedInputCase{"InstructionsQuestion", "", "IT IS A SHAME THAT YOU MUST LEAVE SO SOON."},
    EndedInputCase{"SoundQuestion", "n", "IT IS A SHAME THAT YOU MUST LEAVE SO SOON."},
    EndedInputCase{"DeckQuestion", "nn0", "IT IS A SHAME THAT YOU MUST LEAVE SO SOON."},
    EndedInputCase{"InstructionPage", "yc", "IT IS A SHAME THAT YOU MUST LEAVE SO SOON."},
    EndedInputCase{"Farewell", "nn2999\n", "Press ESCAPE to exit "}),
    [](const testing::TestParamInfo<EndedInputCase>& testCase) { return std::string(testCase.param.name); });

} // namespace
