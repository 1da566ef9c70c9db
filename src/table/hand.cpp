#include "table/hand.h"

#include "shoe/draw.h"

namespace {

constexpr int kAceAsOne = 10;   // what an ace gives up when it turns from 11 into 1

void softenIfOver(int& total, int& softAces)
{
    if (total > kBestTotal && softAces > 0) {
        total -= kAceAsOne;
        --softAces;
    }
}

} // namespace

void startHand(int& total, int& softAces, int firstValue, int secondValue)
{
    softAces = (firstValue == kAceValue ? 1 : 0) + (secondValue == kAceValue ? 1 : 0);
    total = firstValue + secondValue;
    softenIfOver(total, softAces);
}

void addCardToHand(int& total, int& softAces, int value)
{
    if (value == kAceValue)
        ++softAces;
    total += value;
    softenIfOver(total, softAces);
}

bool coversTwiceStake(float bankroll, int stake)
{
    return static_cast<double>(bankroll) - 2.0 * stake >= 0.0;
}

void dealCard(Game& game)
{
    game.table.drawnCardValue = 0;
    drawCard(game);
}
