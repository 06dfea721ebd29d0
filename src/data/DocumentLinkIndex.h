#pragma once

#include <QString>

class SqliteDb;

// The race editor lists a race's document links by the race number the link stores as text
// ("val(ed_nummer) = 12"). An index over that text, kept only where it is a plain number
// ("12", not " 12" or "012"), finds them without reading every link; links in any other form
// are looked at one by one, as before. Built-in functions only, like the race date index.
namespace DocumentLinkIndex {

// The indexed key of the number column: the text when it is a plain number of up to 15 digits
// without leading zeros, NULL for everything else.
QString keyExpression(const QString &column);

// The condition "val(column) = number" for a plain positive number, such that the index answers
// it: the key's match, or a link whose key is NULL that val() reads as the number.
QString numberCondition(const QString &column, const QString &number);

// Creates the index once, in its own transaction; a file that has it is left alone.
void ensure(SqliteDb &db);

} // namespace DocumentLinkIndex
