#include "table/round_table.h"

#include "shoe/shoe.h"
#include "table/round_play.h"

#include <gtest/gtest.h>

#include <algorithm>

RoundTable::RoundTable(int bet, float bankroll)
{
    table.soundChoice = 'y';
    table.deckCount = kTestDecks;
    table.bet = bet;
    table.bankroll = bankroll;
}

bool RoundTable::play(const Deal& deal, std::string_view keys)
{
    EXPECT_EQ(checkDeal(deal, kTestDecks), "");
    seedRandom(game.shoe, deal.seed);
    backend.type(keys);
    try {
        playRounds(game);
    } catch (const InputEnded&) {
        return false;
    }
    return true;
}

std::string RoundTable::at(int column, int row, size_t length) const
{
    return backend.screen.textAt(column, row, static_cast<int>(length));
}

bool RoundTable::blank(int column, int row, size_t length) const
{
    return at(column, row, length) == std::string(length, ' ');
}

int RoundTable::timesWritten(std::string_view text) const
{
    const auto texts = backend.eventsOf("text");
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}
