#pragma once

#include <QString>
#include <QStringList>

// Creates a new database file from SQL script files. Refuses to touch an existing file:
// a database, once made, is never replaced.
void makeDatabase(const QString &path, const QStringList &sqlFiles);
