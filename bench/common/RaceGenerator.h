#pragma once

#include <QString>

namespace benchgen {

// Adds `count` races to an existing database with the program's tables, filled the way the
// race editor fills them (dates, flags, fees, contact person, notes), and links documents to
// about a third of them. The same seed gives the same races.
void addRaces(const QString &databasePath, int count, unsigned seed = 1);

// Adds one runner's log of `years` years from `firstYear` on: about twenty races a year at
// Marathon, Halb-Marathon and free distances spelt in several ways ("10 km", "10km", "10 KM"),
// most of them run, with finish times that improve over the years, typed in the forms people
// use ("3:45:12", "46:30", "3h 45min 12s", "3.45.12") and now and then unreadable.
void addRaceHistory(const QString &databasePath, int firstYear, int years, unsigned seed = 1);

// Makes a new database at `databasePath` from db/schema.sql and db/seed.sql (as a fresh
// program folder holds it) and adds `count` races.
void makeRaceDatabase(const QString &databasePath, int count, unsigned seed = 1);

// The database of `count` races in `folder` (Strivo-DB.mdb), made only when the folder holds
// none of that size yet, so that later runs of the same size use it again.
QString raceDatabaseIn(const QString &folder, int count);

} // namespace benchgen
