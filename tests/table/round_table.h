// A table for whole-round tests: sound on, a shoe of six decks, and rounds played from a
// chosen deal with the keys a test types, on the scripted console.
#pragma once

#include "console/scripted_backend.h"
#include "table/deal_search.h"
#include "table/game.h"

#include <string>
#include <string_view>

inline constexpr int kTestDecks = 6;

inline const std::string kDoublePrompt = std::string("Stand ") + kTriangle + " Hit or Double  ";

struct RoundTable {
    ScriptedBackend backend;
    Game game{backend};
    TableState& table = game.table;

    explicit RoundTable(int bet = 10, float bankroll = 1000.0f);

    // Seeds the shoe for the deal (failing the test when the seed no longer deals it) and plays
    // rounds with the keys given until the input runs out at the next bet prompt, which stops
    // play. Returns false when the input ran out at a prompt inside a round instead.
    bool play(const Deal& deal, std::string_view keys = "");

    std::string at(int column, int row, size_t length) const;
    bool blank(int column, int row, size_t length) const;
    int timesWritten(std::string_view text) const;
    std::string screen() const { return backend.screen.dump(); }
};
