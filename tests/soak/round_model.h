// What a single round should cost or pay, worked out from outside the game: from the cards the
// round drew, in order, and the keys read at its questions. It knows the house rules but none
// of the game's code, so a soak test can hold every round the game plays against it.
#pragma once

#include <string>
#include <vector>

// A key read at one of the round's questions: the question on the prompt line (trailing spaces
// cut) and the code the question received. A special key is two entries, one for each code.
struct PromptKey {
    std::string question;
    int code;
};

// What one round did.
struct RoundRecord {
    int stake = 0;                  // the bet when the first card was drawn
    float bankrollBefore = 0.0f;
    int deckCount = 1;
    std::vector<int> cards;         // card numbers, in the order drawn
    std::vector<PromptKey> keys;    // in the order read
};

struct RoundVerdict {
    bool settled = false;           // false when the keys ran out at a question: no settlement
    double change = 0.0;            // what the round adds to the bankroll
    std::string problem;            // empty, or how the round strayed from the rules
};

RoundVerdict judgeRound(const RoundRecord& round);

// "TEN OF HEARTS (36)", for failure messages.
std::string describeCard(int cardNumber);
