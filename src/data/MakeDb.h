#pragma once

#include <QString>
#include <QStringList>

// Creates a new database file from SQL script files. Refuses to touch an existing file:
// a database, once made, is never replaced.
void makeDatabase(const QString &path, const QStringList &sqlFiles);

// The folder holding schema.sql and seed.sql: <prefix>/share/strivo beside an installed
// program, else the source tree's db/ folder the program was built from.
QString installedSqlFolder();

// The two files a new database is made from, in order.
QStringList installedSqlFiles();
