#pragma once

#include "data/Sqlite.h"

#include <string_view>

// A column of a stored row as the spreadsheet exports write it: NULL is an empty cell, a number
// in a Yes/No column a truth value, a text its stored UTF-8 bytes where they are sound. Damaged
// bytes, a leading byte-order mark and numbers in other columns go the way of the text the
// program reads (Statement::column()), so that every reader sees the text the program shows.
struct StoredCell
{
    enum class Kind { Empty, Truth, Bytes, AsRead };
    Kind kind = Kind::Empty;
    bool yes = false; // Truth
    std::string_view bytes; // Bytes: valid until the statement steps on
};

StoredCell storedCell(const Statement &row, int column, bool yesNoColumn);
