#pragma once

#include "jet/RaceImport.h"

#include <functional>

// Called before each step of the takeover with its name: "made" (new database made, races not
// yet written), "imported", "linked" (Access file under its new name too), "renamed" (the new
// database is the main file). Tests end the process there.
using TakeoverHook = std::function<void(const char *point)>;

struct TakeoverResult
{
    ImportResult import;
    QString accessFile; // where the Access file is now
};

// Takes the races of the Access file `mainFile` over into a new database made from `sqlFiles`
// under the same name; the Access file keeps its content under a free name
// "Strivo-DB_Access.mdb" ("Strivo-DB_Access_2.mdb", ...) beside it. At every moment the folder
// holds the Access file under its old name, or the complete new database beside the renamed
// Access file. A failure throws DbError with a German description and changes nothing.
TakeoverResult takeOverAccessFile(const QString &mainFile, const QStringList &sqlFiles,
                                  const JetOpener &open, const TakeoverHook &hook = {});

// The name the Access file gets: the first of "Strivo-DB_Access.mdb", "Strivo-DB_Access_2.mdb",
// ... that is free or already another name of `file` itself.
QString accessFileName(const QString &file);
