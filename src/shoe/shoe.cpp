#include "shoe/shoe.h"

void seedRandom(Shoe& shoe, std::uint32_t seed) { shoe.randomState = seed; }
int nextRandom(Shoe&) { return 0; }
std::string cardName(int) { return "ACE OF CLUBS"; }
int cardValue(int) { return 11; }
