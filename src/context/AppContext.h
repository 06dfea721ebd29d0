#pragma once

#include "common/Clock.h"
#include "common/SharedVars.h"
#include "common/Ui.h"
#include "context/ProgramPaths.h"
#include "data/DataSource.h"
#include "data/RaceStore.h"
#include "data/StartupMaintenance.h"

#include <functional>
#include <memory>

// What the whole program shares: the shared variables, the main window's data sources,
// the UI services and the clock. Created once in main() and by every test fixture.
class AppContext
{
public:
    AppContext(Ui &ui, const Clock &clock, QString programFolder)
        : ui(ui)
        , clock(clock)
        , paths { std::move(programFolder) }
    {
    }
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    Ui &ui;
    const Clock &clock;
    const ProgramPaths paths;
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

    // The races of the run's database, opened when first needed (after the start-up's file work)
    // and let go by closeDatabase().
    RaceStore &races();

    // Points the six pick-list sources at the database with their fixed statements
    // (start-up does this once; the race editor reads and extends their result sets).
    void connectPickListSources();
    // The program is ending: waits for the start-up's file work still running, then every data
    // source of the run lets go of the database.
    void closeDatabase();

    // Runs a handler body under the standard error box.
    bool guard(const std::function<void()> &body, std::initializer_list<int> ignored = {});

private:
    std::unique_ptr<RaceStore> m_races;
};
