#include "console/virtual_screen.h"

#include <algorithm>
#include <cstdio>

VirtualScreen::VirtualScreen(int columns, int rows)
    : columns_(columns), rows_(rows), cells_(static_cast<size_t>(rows), std::string(static_cast<size_t>(columns), ' '))
{
}

void VirtualScreen::moveCursor(int column, int row)
{
    cursorColumn_ = std::clamp(column, 1, columns_);
    cursorRow_ = std::clamp(row, 1, rows_);
    wrapPending_ = false;
}

void VirtualScreen::clear()
{
    for (auto& line : cells_)
        line.assign(static_cast<size_t>(columns_), ' ');
    moveCursor(1, 1);
}

void VirtualScreen::newLine()
{
    cursorColumn_ = 1;
    wrapPending_ = false;
    if (cursorRow_ < rows_) {
        ++cursorRow_;
        return;
    }
    cells_.erase(cells_.begin());
    cells_.emplace_back(static_cast<size_t>(columns_), ' ');
}

void VirtualScreen::put(char byte)
{
    if (wrapPending_)
        newLine();
    cells_[static_cast<size_t>(cursorRow_ - 1)][static_cast<size_t>(cursorColumn_ - 1)] = byte;
    if (cursorColumn_ < columns_)
        ++cursorColumn_;
    else
        wrapPending_ = true;
}

void VirtualScreen::write(std::string_view text)
{
    for (const char byte : text) {
        if (byte == '\n') {
            newLine();
        } else if (byte == '\r') {
            cursorColumn_ = 1;
            wrapPending_ = false;
        } else if (byte == '\b') {
            if (wrapPending_)
                wrapPending_ = false;
            else if (cursorColumn_ > 1)
                --cursorColumn_;
        } else {
            put(byte);
        }
    }
}

char VirtualScreen::cell(int column, int row) const
{
    return cells_.at(static_cast<size_t>(row - 1)).at(static_cast<size_t>(column - 1));
}

std::string VirtualScreen::row(int row) const
{
    return cells_.at(static_cast<size_t>(row - 1));
}

std::string VirtualScreen::textAt(int column, int row, int length) const
{
    return cells_.at(static_cast<size_t>(row - 1)).substr(static_cast<size_t>(column - 1), static_cast<size_t>(length));
}

std::string VirtualScreen::dump() const
{
    std::string text;
    for (int row = 1; row <= rows_; ++row) {
        char number[16];
        std::snprintf(number, sizeof number, "%2d|", row);
        text += number + this->row(row) + "\n";
    }
    return text;
}

VirtualScreen VirtualScreen::resizedTo(int columns, int rows) const
{
    VirtualScreen result(columns, rows);
    const int shownColumns = std::min(columns, columns_);
    for (int line = 1; line <= std::min(rows, rows_); ++line) {
        result.moveCursor(1, line);
        result.write(textAt(1, line, shownColumns));
    }
    result.moveCursor(cursorColumn_, cursorRow_);
    return result;
}
