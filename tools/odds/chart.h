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
inline HandTotal handTotal(int hardSum, bool hasAce)
{
    if (hasAce && hardSum + 10 <= 21)
        return {hardSum + 10, true};
    return {hardSum, false};
}

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

// Inline, as they are looked up for every card of hundreds of millions of simulated hands.

// The first decision on two cards not being split: stand, hit or double down.
inline Play firstPlay(const Chart& chart, int first, int second, int up)
{
    if (first == second)
        return chart.pairPlay[static_cast<size_t>(first)][static_cast<size_t>(up)];
    const HandTotal hand = handTotal(first + second, first == kAce || second == kAce);
    const auto& rows = hand.soft ? chart.soft : chart.hard;
    return rows[static_cast<size_t>(hand.total)][static_cast<size_t>(up)];
}

inline bool hitsLater(const Chart& chart, HandTotal hand, int up)
{
    const auto& rows = hand.soft ? chart.hitSoft : chart.hitHard;
    return rows[static_cast<size_t>(hand.total)][static_cast<size_t>(up)];
}
