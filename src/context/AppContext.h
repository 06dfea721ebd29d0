// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/Clock.h"
#include "common/Ui.h"
#include "context/ProgramPaths.h"
#include "data/RaceStore.h"
#include "data/StartupMaintenance.h"
#include "statistics/StatisticsCache.h"

#include <functional>
#include <memory>

// What one run shares: the UI services, the clock, the program's paths, the start-up's file
// work, the race store and the figures kept of it. Created once in main() and by every test
// fixture.
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
    // main() begins it before the main window is built; the window's load step finishes it.
    EarlyMaintenance maintenance;

    // The races of the run's database, opened when first needed (after the start-up's file work)
    // and let go by closeDatabase().
    RaceStore &races();
    // The statistics' figures of those races, kept up to date while the program is idle.
    StatisticsCache &statistics();

    // The program is ending: waits for the start-up's file work still running, then the race
    // store lets go of the database.
    void closeDatabase();

    // Runs a handler body under the standard error box.
    bool guard(const std::function<void()> &body, std::initializer_list<int> ignored = {});

private:
    std::unique_ptr<RaceStore> m_races;
    std::unique_ptr<StatisticsCache> m_statistics; // reads m_races: let go before it
};
