#pragma once

#include <QString>

namespace benchgen {

// Adds `count` rows to the postal directory of an existing database: place names built from
// German parts (umlauts and "ß" included, some lower-case, a few with an apostrophe),
// five-digit postcodes and area codes of three to five digits, some rows without one.
// The same seed gives the same rows.
void addPostalDirectory(const QString &databasePath, int count, unsigned seed = 1);

} // namespace benchgen
