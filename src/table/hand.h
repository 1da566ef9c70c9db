// What round play and split play share about hands: counting a card into a total that
// travels with its soft aces (aces still counted as 11), the money test for doubling and for
// splitting ten-value pairs, and dealing the next card from the shoe.
#pragma once

#include "shoe/shoe.h"
#include "table/game.h"

// The best total a hand can hold; two cards making it are a blackjack.
inline constexpr int kBestTotal = 21;
// The dealer draws below this total and stands on it, a soft 17 included.
inline constexpr int kDealerStandsOn = 17;

// A hand's first two cards: their sum, each ace a soft ace; two aces (22) count 12 with one
// soft ace.
void startHand(int& total, int& softAces, int firstValue, int secondValue);

// One more card: an ace is a soft ace; a total above 21 turns one soft ace, if any, into a 1.
void addCardToHand(int& total, int& softAces, int value);

// True when the bankroll still covers twice the stake (an equal amount is enough).
bool coversTwiceStake(float bankroll, int stake);

// Draws the next card into drawnCard, drawnCardName and drawnCardValue.
void dealCard(Game& game);
