// The one record of everything the game knows: money, set-up answers, the hands of the round
// in play and the last card drawn. One lives in each Game for the whole run; nothing is saved.
#pragma once

#include <cstdint>
#include <string>

struct TableState {
    // Money and set-up.
    float bankroll = 1000.0f;     // the player's money, in dollars
    int bet = 0;                  // the round's stake as typed; 999 asks to stop playing
    float insuranceBet = 0.0f;    // half the bet when insurance was taken this round, else 0
    int deckCount = 0;            // decks in the shoe, 1 to 8
    char soundChoice = 0;         // 'y', 'n' or Escape (27): the sound answer, lower case
    std::string betLine;          // the last line typed at a bet prompt

    // The round in play. A total always travels with its count of aces still counted as 11.
    int playerTotal = 0;
    int playerSoftAces = 0;
    int dealerTotal = 0;
    int dealerSoftAces = 0;
    int playerFirstValue = 0;     // point values (2 to 11) of the player's first two cards
    int playerSecondValue = 0;
    int dealerUpValue = 0;        // point value of the dealer's face-up card
    std::string playerFirstName;  // card names, at most 17 characters ("QUEEN OF DIAMONDS")
    std::string playerSecondName;
    std::string dealerUpName;
    int playerNatural = 0;        // 1 when the player's first two cards make 21
    int roundOpen = 0;            // 0 only while a round's first card is drawn: the shoe may reshuffle

    // The last card drawn, as the draw leaves it.
    std::uint32_t drawnCard = 0;  // its card number, 1 to the shoe's size
    std::string drawnCardName;
    int drawnCardValue = 0;       // 11 for an ace, 10 for a ten or a face card; set to 0 before each draw
};
