// Drawing a card from the shoe into the table's drawnCard, drawnCardName and drawnCardValue.
// The caller sets drawnCardValue to 0 just before each draw. The first card of a round is
// drawn with roundOpen at 0: only then may the shoe, when 8 or fewer undealt cards are left,
// be reshuffled first, with its own short screen. A draw always gives a card that is not on
// the table: should a long round use up the whole shoe, the cards not on the table go back in.
#pragma once

struct Game;

void drawCard(Game& game);
