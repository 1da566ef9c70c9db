#include "table/bet_entry.h"

#include "table/prompts.h"

#include <locale>
#include <sstream>
#include <string>

namespace {

// What the table makes of a stake: 999 stops at once; otherwise it must be from 5 to 100
// (checked first, so no stake outside the table limits ever slips through) and not above
// the bankroll.
enum class BetVerdict { Accepted, Quit, OutOfRange, AboveBankroll };

BetVerdict judgeBet(int bet, float bankroll)
{
    if (bet == kQuitBet)
        return BetVerdict::Quit;
    if (bet < kMinimumBet || bet > kMaximumBet)
        return BetVerdict::OutOfRange;
    if (static_cast<double>(bet) > static_cast<double>(bankroll))
        return BetVerdict::AboveBankroll;
    return BetVerdict::Accepted;
}

// Reads the next line into betLine and converts it; a line without a usable number keeps the
// bet as it was. When the input has ended the player can type no more, so the bet becomes 999
// and play stops; returns false then.
bool readBetLine(Game& game)
{
    TableState& table = game.table;
    if (!readLine(game.console, table.betLine)) {
        table.bet = kQuitBet;
        return false;
    }
    convertBetLine(table.betLine, table.bet);
    return true;
}

void showBankrollMessage(Game& game)
{
    writePrompt(game, "Bet cannot exceed your bankroll of ");
    printMoney(game.console, game.table.bankroll);
    printText(game.console, " or 999 to quit, try again ");
}

} // namespace

bool coversMinimumBet(float bankroll)
{
    return static_cast<double>(bankroll) >= kMinimumBet;
}

bool convertBetLine(std::string_view line, int& value)
{
    // A fresh stream each time, so no failure or locale carries over from an earlier line.
    std::istringstream stream{std::string(line)};
    stream.imbue(std::locale::classic());
    int number = 0;
    if (!(stream >> number))
        return false;
    value = number;
    return true;
}

void enterBet(Game& game)
{
    writePrompt(game, "Place your bet  ");
    if (!readBetLine(game))
        return;
    for (;;) {
        switch (judgeBet(game.table.bet, game.table.bankroll)) {
        case BetVerdict::Quit:
            return;
        case BetVerdict::Accepted:
            cue(game, SoundCue::CueCoin);
            return;
        case BetVerdict::OutOfRange:
            cue(game, SoundCue::CueError);
            writePrompt(game, "Bet  must be from 5 to 100 or 999 to quit ");
            break;
        case BetVerdict::AboveBankroll:
            cue(game, SoundCue::CueError);
            showBankrollMessage(game);
            break;
        }
        if (!readBetLine(game))
            return;
    }
}
