#pragma once

#include "jet/JetTable.h"

#include <functional>
#include <memory>

class SqliteDb;

// What taking races over from an Access file did.
struct ImportResult
{
    int racesAdded = 0;
    int racesPresent = 0; // equal in every field to a race already there
    int documentsAdded = 0;
    int documentsWithoutRace = 0; // linked to no race of the file, so not taken over
    int pickListEntriesAdded = 0;
    int postalEntriesAdded = 0;
    QStringList missingColumns; // "table.column", filled as a new row would fill them
    // "table (n Zeilen)": tables whose header said 0 rows while rows could be read
    QStringList rowsBeyondCount;
};

// Called with the open database at "begin" (the transaction has started) and after each race
// written ("race"). Tests use it to make the write fail part-way.
using ImportHook = std::function<void(const char *point, SqliteDb &db)>;

// Every table the race log consists of, read from the source and checked against our tables
// (bad input throws DbError with a German description), before anything is written.
class RaceLog
{
public:
    explicit RaceLog(JetRowSource &source);
    ~RaceLog();
    RaceLog(const RaceLog &) = delete;
    RaceLog &operator=(const RaceLog &) = delete;

    struct Tables; // known to the writer only
    const Tables &tables() const { return *m_tables; }

private:
    std::unique_ptr<Tables> m_tables;
};

// Adds what the race log holds to the database in one transaction: each race as a new race
// (unless one equal in every field is there), its documents linked to the new numbers, and the
// pick-list and postal entries not there yet. Bad input or a failed write throws DbError with a
// German description and leaves the database as it was.
ImportResult importRaces(const RaceLog &log, const QString &databasePath,
                         const ImportHook &hook = {});
// Reads the race log from the source, then adds it.
ImportResult importRaces(JetRowSource &source, const QString &databasePath,
                         const ImportHook &hook = {});

// The closing message in German.
QString importReport(const ImportResult &result);
