#include "chart.h"

HandTotal handTotal(int hardSum, bool hasAce)
{
    if (hasAce && hardSum + 10 <= 21)
        return {hardSum + 10, true};
    return {hardSum, false};
}

Play firstPlay(const Chart& chart, int first, int second, int up)
{
    if (first == second)
        return chart.pairPlay[static_cast<size_t>(first)][static_cast<size_t>(up)];
    const HandTotal hand = handTotal(first + second, first == kAce || second == kAce);
    const auto& rows = hand.soft ? chart.soft : chart.hard;
    return rows[static_cast<size_t>(hand.total)][static_cast<size_t>(up)];
}

bool hitsLater(const Chart& chart, HandTotal hand, int up)
{
    const auto& rows = hand.soft ? chart.hitSoft : chart.hitHard;
    return rows[static_cast<size_t>(hand.total)][static_cast<size_t>(up)];
}
