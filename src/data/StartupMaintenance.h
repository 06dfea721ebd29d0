#pragma once

#include <QString>

#include <functional>

// The three files of the start-up maintenance, all in the program folder.
struct MaintenancePaths
{
    QString mainFile; // the database: app_pfad + db_datei
    QString backupFile; // copy taken before compaction, kept until the next start
    QString compactFile; // compaction target; equals the main file afterwards

    static MaintenancePaths inFolder(const QString &appPfad, const QString &dbDatei);
};

// Called with a point name before and after each file operation of the maintenance, in this
// order: repair:before, repair:after, backup:before, backup:written (copy on disk, not yet
// renamed), backup:after, remove-compact:before, remove-compact:after, compact:before,
// compact:written (not yet checked), compact:after, replace-main:before, replace-main:written,
// replace-main:after. Tests use it to end the process at a point.
using MaintenanceHook = std::function<void(const char *point)>;

// Repairs the main file, copies it to the backup, deletes an old compaction target, compacts
// the backup into the target and copies the target over the main file, in this order.
// The first failure throws DbError with a German description; the main file then stays as it was.
void runStartupMaintenance(const MaintenancePaths &paths, const MaintenanceHook &hook = {});
