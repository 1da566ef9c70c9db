// The playing chart the odds tool finds and plays by: for each dealer up card, the first decision
// on two cards (stand, hit, double down or split) and the hit-or-stand decision on every later
// total. Card values here run from 1 (ace) to 10 (ten-value cards).
#pragma once

#include "shoe/shoe.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The odds tool counts an ace as 1, its lowest value; ten-value cards are kTenValue.
inline constexpr int kAce = 1;

enum class Play : std::uint8_t { Stand, Hit, Double, Split };

// A hand's total with its aces: soft while an ace counts 11 without going over 21.
struct HandTotal {
    int total = 0;
    bool soft = false;
};
HandTotal handTotal(int hardSum, bool hasAce);

template <typename Cell>
using ChartRows = std::array<std::array<Cell, kTenValue + 1>, 22>;  // [total][up card value]

struct Chart {
    ChartRows<Play> hard{};       // first decision on two cards that are not a pair
    ChartRows<Play> soft{};
    ChartRows<bool> split{};      // [pair card value][up]: split the pair
    ChartRows<Play> pairPlay{};   // [pair card value][up]: the play for a pair kept together
    ChartRows<bool> hitHard{};    // after the first decision: hit (otherwise stand)
    ChartRows<bool> hitSoft{};
};

// The first decision on two cards not being split: stand, hit or double down.
Play firstPlay(const Chart& chart, int first, int second, int up);
bool hitsLater(const Chart& chart, HandTotal hand, int up);
