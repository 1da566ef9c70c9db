// Seeds for whole-round tests. What a fresh shoe deals depends only on the seed, the number of
// decks and how many cards were drawn before, so a test that needs a certain deal names the
// cards it wants and keeps a seed that deals them.
//
// A wanted card is a rank word ("ACE", "KING"), a point value ("10", "7"), a point value it must
// not have ("!10"), or "?" for any card; "2|3" takes either. Cards are wanted in the order the
// round draws them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Deal {
    std::uint32_t seed;
    std::vector<std::string> cards;
};

// The names of the first count cards a fresh shoe of deckCount decks deals after seeding.
std::vector<std::string> dealtCards(std::uint32_t seed, int deckCount, int count);

bool dealMatches(std::uint32_t seed, int deckCount, const std::vector<std::string>& wanted);

// The first seed from 1 up that deals the wanted cards, or 0 if none within a few million.
std::uint32_t findSeed(int deckCount, const std::vector<std::string>& wanted);

// Empty when the seed deals what the deal wants; otherwise a message with what it deals and a
// seed that would do, for the test to show.
std::string checkDeal(const Deal& deal, int deckCount);
