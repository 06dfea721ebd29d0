#pragma once

#include <QString>

#include <functional>
#include <future>

// The three files of the start-up maintenance, all in the program folder.
struct MaintenancePaths
{
    QString mainFile; // the database
    QString backupFile; // copy taken before compaction, kept until the next start
    QString compactFile; // compaction target; equals the main file afterwards

    static MaintenancePaths inFolder(const QString &folder);
    bool operator==(const MaintenancePaths &) const = default;
};

// Called with a point name before and after each file operation of the maintenance, in this
// order: repair:before, repair:after, remove-compact:before, remove-compact:after, backup:before,
// backup:written (copy complete, not yet renamed), backup:after, compact:before, compact:written
// (not yet checked), compact:after, replace-main:before, replace-main:renamed (the target is the
// main file now), copy-target:written (its copy on disk, not yet renamed), replace-main:after.
// Where the target cannot be renamed (the main file is a link to another drive),
// replace-main:written (the copy beside the main file) takes the place of the renamed and
// copy-target points. Tests use it to end the process at a point.
using MaintenanceHook = std::function<void(const char *point)>;

// Repairs the main file, deletes an old compaction target, copies the main file to the backup,
// compacts the backup into the target and makes the target the new main file, in this order;
// the target stays as a copy of it. No moment needs room for more than three times the
// database. A main file that is a link is worked on where it points, and the link is kept; one
// with further hard links is not replaced (the other names would keep the old file).
// The first failure throws DbError with a German description; the main file then stays as it
// was, and no temporary file or journal is left behind.
void runStartupMaintenance(const MaintenancePaths &paths, const MaintenanceHook &hook = {});

// The maintenance begun on a thread of its own while the main window is still being built, so
// that the window's construction and the file work share the processor. Only a file that
// already is a SQLite database is begun early: anything else (an Access file to take over, a
// missing file) may be changed by the load step first, and is maintained when it asks.
class EarlyMaintenance
{
public:
    EarlyMaintenance() = default;
    ~EarlyMaintenance(); // waits for a maintenance still running
    EarlyMaintenance(const EarlyMaintenance &) = delete;
    EarlyMaintenance &operator=(const EarlyMaintenance &) = delete;

    void begin(const MaintenancePaths &paths);
    bool begun() const { return m_running.valid(); }
    // Waits for a maintenance still running, without taking its outcome.
    void waitUntilDone() const
    {
        if (m_running.valid())
            m_running.wait();
    }
    // Waits for the maintenance begun early on these paths, or runs it now; either way its
    // failure is thrown here, as runStartupMaintenance throws it.
    void finish(const MaintenancePaths &paths);

private:
    MaintenancePaths m_paths;
    std::future<void> m_running;
};
