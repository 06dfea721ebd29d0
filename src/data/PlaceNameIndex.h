#pragma once

#include <QString>
#include <QStringList>

#include <bitset>

class SqliteDb;

// The postal directory's place search compares names the German way, which no index of a plain
// sqlite3 knows. An index on a name's first byte (with the name beside it) still finds the few
// first bytes a match can begin with (see germanLeadBytes), so a search reads those names instead
// of every row. Built-in functions only, like the race date index.
namespace PlaceNameIndex {

// The indexed key of a text column: its first byte in hex ("42" for "Bad"), '' for an empty
// text, NULL for none.
QString keyExpression(const QString &column);

// The condition that the column begins with one of the bytes, or is empty, such that the index
// answers it; empty when every byte is allowed.
QString leadByteCondition(const QString &column, const std::bitset<256> &bytes);

// The columns of the table whose prefix searches the index answers: the place name of the
// postal directory, when the file has the index and the column holds only texts. None otherwise:
// without the index, asking for the first bytes would only cost time.
QStringList indexedColumns(SqliteDb &db, const QString &table);

// Creates the index once, in its own transaction; a file that has it is left alone. Searches
// give the same rows without it, only slower.
void ensure(SqliteDb &db);

} // namespace PlaceNameIndex
