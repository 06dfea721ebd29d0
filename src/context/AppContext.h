#pragma once

#include "common/Clock.h"
#include "common/SharedVars.h"
#include "common/Ui.h"
#include "data/DataSource.h"
#include "data/StartupMaintenance.h"

#include <functional>

// What the whole program shares: the shared variables, the main window's data sources,
// the UI services and the clock. Created once in main() and by every test fixture.
class AppContext
{
public:
    AppContext(Ui &ui, const Clock &clock, QString programFolder)
        : ui(ui)
        , clock(clock)
        , programFolder(std::move(programFolder))
    {
    }
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    Ui &ui;
    const Clock &clock;
    const QString programFolder; // folder of the running program file
    SharedVars vars;
    // main() begins it before the main window is built; the window's load step finishes it.
    EarlyMaintenance maintenance;

    DataSource Lauf_db;
    DataSource anrede_db;
    DataSource titel_db;
    DataSource strasse_db;
    DataSource land_db;
    DataSource lauf_aw_db;
    DataSource zeitmessung_db;

    // Points the six pick-list sources at the database with their fixed statements
    // (start-up does this once; the race editor reads and extends their result sets).
    void connectPickListSources();
    // The program is ending: waits for the start-up's file work still running, then every data
    // source of the run lets go of the database.
    void closeDatabase();

    // Runs a handler body under the standard error box.
    bool guard(const std::function<void()> &body, std::initializer_list<int> ignored = {});
};
