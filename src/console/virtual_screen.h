// A screen in memory: a grid of bytes with a cursor, written the way a terminal writes.
// Line breaks go to column 1 of the next row, a backspace steps back one column, text wraps
// at the last column (deferred, as terminals do) and the grid scrolls up at the bottom.
// The scripted backend draws on one; the terminal backend keeps one to repaint from.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class VirtualScreen {
public:
    explicit VirtualScreen(int columns = 80, int rows = 25);

    void moveCursor(int column, int row);
    void clear();
    void write(std::string_view text);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int cursorColumn() const { return cursorColumn_; }
    int cursorRow() const { return cursorRow_; }
    char cell(int column, int row) const;
    std::string row(int row) const;                              // all columns of one row
    std::string textAt(int column, int row, int length) const;   // a stretch of one row
    std::string dump() const;                                    // every row, numbered

    // The screen as a window of another size shows it: the same rows from the top left, cut
    // to fit, the cursor where it was.
    VirtualScreen resizedTo(int columns, int rows) const;

private:
    void newLine();
    void put(char byte);

    int columns_;
    int rows_;
    std::vector<std::string> cells_;   // one string of columns_ bytes per row
    int cursorColumn_ = 1;
    int cursorRow_ = 1;
    bool wrapPending_ = false;         // the last column was just written
};
