#include "table/prompts.h"

#include "console/keys.h"

#include <string>

namespace {

using namespace std::string_view_literals;

constexpr int kFieldColumn = 33;
constexpr int kFieldRow = 20;
constexpr int kRedrawPauseMs = 200;

// Asks until one of the answer keys comes, then erases the question and returns the key.
char askForKey(Game& game, std::string_view question, std::string_view answers)
{
    for (;;) {
        writePrompt(game, question);
        const int key = readKey(game.console);
        if (key == kEndOfInput)
            throw InputEnded{};
        const int folded = lowerCaseKey(key);
        if (folded > 0 && answers.find(static_cast<char>(folded)) != std::string_view::npos) {
            erasePromptField(game);
            return static_cast<char>(folded);
        }
    }
}

} // namespace

void erasePromptField(Game& game)
{
    moveTo(game.console, kFieldColumn, kFieldRow);
    printText(game.console, blankField);
}

void writePrompt(Game& game, std::string_view text)
{
    erasePromptField(game);
    // The cursor waits where the question will appear, not behind the blanks.
    moveTo(game.console, kFieldColumn, kFieldRow);
    pauseMs(game.console, kRedrawPauseMs);
    printText(game.console, text);
}

char askStandHit(Game& game)
{
    return askForKey(game, "Stand or Hit "sv, "hs"sv);
}

char askStandHitDouble(Game& game)
{
    // The triangle between "Stand" and "Hit" sets the three choices apart.
    const std::string question = std::string("Stand ") + kTriangle + " Hit or Double  ";
    return askForKey(game, question, "hsd"sv);
}

void askInsurance(Game& game)
{
    if (askForKey(game, "Do you want insurance?  Y or N"sv, "yn"sv) == 'y')
        game.table.insuranceBet = static_cast<float>(game.table.bet * 0.5);
}
