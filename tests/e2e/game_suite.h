// Whole games through the built game in a pseudo-terminal, and the screens they must show.
//
// A game starts with the calendar at a chosen second: the deal depends only on that seed, the
// number of decks and how many cards were drawn before, so each game picks the start that
// deals it the situations it plays through. Its sound goes to a file (SDL's disk driver)
// rather than to a sound card, so a test can tell whether any sound was played at all.
#pragma once

#include "e2e/pty_game.h"

#include <filesystem>
#include <memory>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

// A text on the screen at (column, row), counted from 1. The triangle the game uses as a
// separator is written "\u25b2", as the terminal shows it.
struct ScreenText {
    int column;
    int row;
    std::string text;
};

// The whole screen: the texts at their places, written in order (a later text covers an earlier
// one), and every other cell blank.
using ExpectedScreen = std::vector<ScreenText>;

// The screen with more texts written over it.
ExpectedScreen with(ExpectedScreen screen, const ExpectedScreen& more);

inline const std::string kStandHitDouble = "Stand \u25b2 Hit or Double  ";

class SuiteGame {
public:
    // Starts the game with the calendar at startTime, UTC ("2026-03-01 12:05:34").
    explicit SuiteGame(std::string_view startTime);
    ~SuiteGame();
    SuiteGame(const SuiteGame&) = delete;
    SuiteGame& operator=(const SuiteGame&) = delete;

    PtyGame& terminal() { return *game_; }
    bool soundWasPlayed() const;

    // Types a stake and its Enter, then waits for the game to ask for a key again.
    void bet(std::string_view stake);
    // Types the keys, each once the game asks for it, then waits for the next question.
    void answer(std::string_view keys);

    // Every cell of the screen as it stands now (or as it stood when a watched text was seen),
    // and where the cursor waits.
    // A failure is reported at the test's line.
    void expectScreen(const ExpectedScreen& expected,
        std::source_location where = std::source_location::current());
    void expectScreen(const std::vector<std::string>& rows, const ExpectedScreen& expected,
        std::source_location where = std::source_location::current());
    void expectCursorAt(int column, int row, std::source_location where = std::source_location::current());

    // The farewell screen waiting for Escape: the result lines and the closing lines below them.
    void expectFarewell(const ExpectedScreen& resultLines,
        std::source_location where = std::source_location::current());
    // Escape on the farewell screen: the game ends with status 0 and gives the terminal back.
    void leave();

private:
    std::filesystem::path soundFile_;
    std::unique_ptr<PtyGame> game_;
};
