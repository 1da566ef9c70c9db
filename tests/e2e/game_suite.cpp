#include "e2e/game_suite.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <sstream>
#include <unistd.h>

namespace {

constexpr int kColumns = 80;
constexpr int kRows = 25;

// One cell per character: the UTF-8 bytes of each character go together.
std::vector<std::string> cellsOf(std::string_view text)
{
    std::vector<std::string> cells;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        cells.emplace_back(text.substr(i, length));
        i += length;
    }
    return cells;
}

std::vector<std::string> screenRows(const ExpectedScreen& expected)
{
    std::vector<std::vector<std::string>> cells(kRows, std::vector<std::string>(kColumns, " "));
    for (const ScreenText& text : expected) {
        int column = text.column;
        for (const std::string& cell : cellsOf(text.text)) {
            if (text.row < 1 || text.row > kRows || column < 1 || column > kColumns)
                throw std::invalid_argument("\"" + text.text + "\" runs off the screen");
            cells[static_cast<size_t>(text.row - 1)][static_cast<size_t>(column - 1)] = cell;
            ++column;
        }
    }
    std::vector<std::string> rows;
    for (const auto& row : cells) {
        std::string joined;
        for (const std::string& cell : row)
            joined += cell;
        rows.push_back(joined);
    }
    return rows;
}

// An empty file of its own, for the sound of one game.
std::filesystem::path freshSoundFile()
{
    std::string path = (std::filesystem::temp_directory_path() / "blackjack-sound-XXXXXX").string();
    const int file = mkstemp(path.data());
    if (file < 0)
        throw std::runtime_error("cannot make a file for the game's sound");
    close(file);
    return path;
}

} // namespace

ExpectedScreen with(ExpectedScreen screen, const ExpectedScreen& more)
{
    screen.insert(screen.end(), more.begin(), more.end());
    return screen;
}

SuiteGame::SuiteGame(std::string_view startTime)
    : soundFile_(freshSoundFile())
{
    game_ = std::make_unique<PtyGame>(PtyGameOptions{.environment = {
        "FAKETIME=@" + std::string(startTime),
        "TZ=UTC0",
        "SDL_AUDIODRIVER=disk",
        "SDL_DISKAUDIOFILE=" + soundFile_.string(),
    }});
}

SuiteGame::~SuiteGame()
{
    game_.reset();
    std::error_code ignored;
    std::filesystem::remove(soundFile_, ignored);
}

bool SuiteGame::soundWasPlayed() const
{
    std::error_code error;
    return std::filesystem::file_size(soundFile_, error) > 0 && !error;
}

void SuiteGame::bet(std::string_view stake)
{
    game_->type(stake);
    game_->type("\r");
    game_->waitForKeyRead();
}

void SuiteGame::answer(std::string_view keys)
{
    game_->type(keys);
    game_->waitForKeyRead();
}

void SuiteGame::expectScreen(const ExpectedScreen& expected, std::source_location where)
{
    std::vector<std::string> rows;
    for (int row = 1; row <= kRows; ++row)
        rows.push_back(game_->row(row));
    expectScreen(rows, expected, where);
}

void SuiteGame::expectScreen(const std::vector<std::string>& rows, const ExpectedScreen& expected,
    std::source_location where)
{
    const std::vector<std::string> wanted = screenRows(expected);
    std::ostringstream differences;
    for (size_t row = 0; row < wanted.size(); ++row) {
        const std::string shown = row < rows.size() ? rows[row] : std::string();
        if (shown != wanted[row])
            differences << "row " << row + 1 << "\n  wanted |" << wanted[row] << "|\n  shown  |" << shown
                        << "|\n";
    }
    if (!differences.str().empty()) {
        std::ostringstream screen;
        for (size_t row = 0; row < rows.size(); ++row)
            screen << (row < 9 ? " " : "") << row + 1 << "|" << rows[row] << "\n";
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
            << differences.str() << "the whole screen:\n" << screen.str();
    }
}

void SuiteGame::expectCursorAt(int column, int row, std::source_location where)
{
    const int shownColumn = game_->cursorColumn();
    const int shownRow = game_->cursorRow();
    if (shownColumn != column || shownRow != row) {
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
            << "the cursor waits at (" << shownColumn << ", " << shownRow << "), not at (" << column << ", "
            << row << ")\n" << game_->dump();
    }
}

void SuiteGame::expectFarewell(const ExpectedScreen& resultLines, std::source_location where)
{
    game_->waitForKeyRead();
    expectScreen(with(resultLines, {
        {1, 17, "Thank you for playing Corvale Blackjack! Ideas and fixes are welcome."},
        {1, 18, "To find the project and its notes, see its README.md file."},
        {34, 21, "Bye for now pal!"},
        {34, 22, "Press ESCAPE to exit "},
    }), where);
    expectCursorAt(55, 22, where);
}

void SuiteGame::leave()
{
    game_->press("\x1b");
    EXPECT_EQ(game_->waitForExit(), 0);
    EXPECT_TRUE(sameModes(game_->modesNow(), game_->modesAtStart()));
    EXPECT_FALSE(game_->alternateScreenShown());
}
