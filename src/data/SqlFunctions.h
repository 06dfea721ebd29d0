#pragma once

#include "data/GermanCollation.h"

struct sqlite3;

// Registers day_number, val, left_text (LEFT is a keyword in SQLite) and the
// collation "de" on a connection. Throws DbError when SQLite refuses one.
void registerSqlFunctions(sqlite3 *db);
