#pragma once

#include <string_view>

struct sqlite3;

// Registers datevalue, cdate, val, left_text (LEFT is a keyword in SQLite), de_key and the
// collation "de" on a connection. Throws DbError when SQLite refuses one.
void registerSqlFunctions(sqlite3 *db);

// German comparison: case-insensitive, umlauts beside their base letter, ß as ss.
// Exposed for the grids and pick lists that sort in memory.
int compareGerman(std::string_view a, std::string_view b);
