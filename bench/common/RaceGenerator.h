#pragma once

#include <QString>

namespace benchgen {

// Adds `count` races to an existing database with the program's tables, filled the way the
// race editor fills them (dates, flags, fees, contact person, notes), and links documents to
// about a third of them. The same seed gives the same races.
void addRaces(const QString &databasePath, int count, unsigned seed = 1);

// Makes a new database at `databasePath` from db/schema.sql and db/seed.sql (as a fresh
// program folder holds it) and adds `count` races.
void makeRaceDatabase(const QString &databasePath, int count, unsigned seed = 1);

} // namespace benchgen
