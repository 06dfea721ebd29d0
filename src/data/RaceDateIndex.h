#pragma once

#include <QDate>
#include <QString>

class SqliteDb;

// The race lists filter and sort by the race date, stored as the text "dd.mm.yyyy". An index
// over a sortable key of that text ("yyyymmdd") lets them read only the rows they show, in
// order. The key is written with SQLite's built-in functions alone, so the file stays readable
// and checkable by any sqlite3.
namespace RaceDateIndex {

// The key of a date column as an SQL expression: "yyyymmdd" for a text that is exactly a valid
// "dd.mm.yyyy", NULL for everything else.
QString keyExpression(const QString &column);
// The key of a date, as a quoted SQL text.
QString keyLiteral(const QDate &date);

// Creates the index once, in its own transaction; a file that has it is left alone. Lists work
// without it, only slower.
void ensure(SqliteDb &db);

// True when a race date is one the key misses but the date functions read (" 5.3.2004",
// "05.03.2004, Freitag"): statements must then keep the date functions so that such a race
// stays where it is listed today.
bool hasIrregularDates(SqliteDb &db);

} // namespace RaceDateIndex
