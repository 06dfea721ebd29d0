#pragma once

#include <QString>
#include <QStringList>

// Creates a new database file from SQL script files. Refuses to touch an existing file:
// a database, once made, is never replaced. The file is written under a temporary name and
// appears under its own name only when complete.
void makeDatabase(const QString &path, const QStringList &sqlFiles);

// Creates a new database file as a copy of an existing database, by the same rules. The source
// must hold the races table; a file that does not is refused.
void copyDatabase(const QString &source, const QString &path);

// The folder holding schema.sql and seed.sql: <prefix>/share/strivo beside an installed
// program, else the source tree's db/ folder the program was built from.
QString installedSqlFolder();

// The two files a new database is made from, in order.
QStringList installedSqlFiles();
