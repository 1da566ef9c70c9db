// The exact odds of this table for a shoe of 1 to 8 decks, from the shoe's composition with every
// card removed as it is dealt: the value of standing, hitting, doubling and splitting each
// two-card hand against each up card, the chart that plays best by them, and the house edge of a
// full shoe played by that chart.
//
// The table's own rules: no hole card, so the dealer's second card comes after the player has
// played and a player who busts has lost, doubled stake included; a dealer blackjack otherwise
// takes only the stake the round began with, after a double down or a split too; one split, no
// resplit, ten-value cards only as two of one rank; split aces take one card each, and 21 on a
// split hand is no blackjack; both split hands may double; blackjack pays 3 to 2.
#pragma once

#include "chart.h"
#include "dealer.h"

#include <vector>

// The table's rules, and the variations that price each of them.
struct Rules {
    bool doubleDown = true;           // on any first two cards
    bool doubleAfterSplit = true;
    bool split = true;
    bool blackjackTakesFirstStake = true;  // a dealer blackjack after a double or split takes only that
    double blackjackPays = 1.5;
};

// What each play of a two-card hand is worth against an up card, per unit staked at the start.
struct StartingHand {
    int first = 0;
    int second = 0;
    int up = 0;
    double stand = 0;
    double hit = 0;
    double doubleDown = 0;
    double split = 0;  // pairs only
};

struct DeckOdds {
    int decks = 0;
    Chart chart;
    double edge = 0;       // the house's expected gain per unit staked at the start of a round
    double insurance = 0;  // expected gain of a unit of insurance, over the hands it is offered to
    std::vector<StartingHand> hands;
};

DeckOdds analyseShoe(int decks, const Rules& rules = {});

// What each of the table's rules is worth to the player: the house edge without it less the
// edge with it, each played by its own best chart.
struct RuleValue {
    const char* rule;
    double value = 0;
};
std::vector<RuleValue> ruleValues(int decks);

// The value of standing on `total` (no blackjack) with `stake` against the dealer's odds, where a
// dealer blackjack costs `blackjackLoss`.
double standValue(const DealerOdds& odds, int total, double stake, double blackjackLoss);
