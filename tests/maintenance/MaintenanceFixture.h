#pragma once

#include "TestFolder.h"
#include "data/StartupMaintenance.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <ostream>

// Readable failure messages for texts and lists of texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// A program folder with a few hundred races, some of them deleted again so that compaction
// has something to do.
struct RaceFolder
{
    RaceFolder();
    TestFolder folder;
    MaintenancePaths paths;
};

// Every row of every table, as text, in key order: equal dumps mean no race was lost or changed.
QStringList dumpContent(const QString &databasePath);
// First row of "pragma integrity_check" ("ok" for a sound file), or the error opening it.
QString integrityOf(const QString &databasePath);
// The bytes of every file in a folder, by file name.
QMap<QString, QByteArray> filesIn(const QString &folder);
// Names of files in the folder that are 0 bytes long.
QStringList emptyFiles(const QString &folder);

// An edit of every race that dies before its commit, leaving the changes partly in the file
// (a tiny cache spills them) and the old pages in a hot journal beside it.
void crashDuringEdit(const QString &databasePath);

// The outcome of a start-up run in a child process.
struct ChildStart
{
    bool finished = false; // the maintenance returned or threw (the child was not ended early)
    int exitCode = -1;
    int number = 0; // error number; 0 when the maintenance succeeded
    QString description;
    bool succeeded() const { return finished && number == 0; }
};

// Runs the start-up maintenance in a forked child. `prepare` runs in the child first (lower a
// limit, drop privileges); `hook` is handed to the maintenance (it may _exit() at a point).
ChildStart startInChild(const MaintenancePaths &paths, const std::function<void()> &prepare = {},
                        const MaintenanceHook &hook = {});

// Root may write to any file: a start that must meet file modes runs as an ordinary user then
// (for a child process; ends it when the user cannot be taken on).
void asOrdinaryUser();
// Whether that user can read the file (a temporary folder may be closed to others).
bool ordinaryUserCanRead(const QString &path);

// A hook that ends the process at the named point, as a crash or a power cut would.
MaintenanceHook dieAt(const QByteArray &point);
// Exit code of a child ended by dieAt().
constexpr int killedExitCode = 77;
