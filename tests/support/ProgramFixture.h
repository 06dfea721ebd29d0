#pragma once

#include "FakeUi.h"
#include "TestFolder.h"
#include "common/Clock.h"
#include "context/AppContext.h"
#include "model/Race.h"

#include <gtest/gtest.h>

// One run of the program without its main window, for tests and benchmarks: a program folder
// with a fresh database, the fake UI services, a fixed clock and the context over them.
struct ProgramRun
{
    // The moment the runs live in unless they say otherwise: Tuesday, 08.12.2026, 14:05:09.
    static QDateTime defaultNow();

    explicit ProgramRun(TestFolder::Content content = TestFolder::Content::Seeded,
                        const QDateTime &now = defaultNow());

    // Saves the race as a new one, as the editor does; returns the number the file gave it.
    // Many races at once come faster from the generator of the benchmarks (folder.dbPath()).
    qlonglong addRace(Race race);

    TestFolder folder;
    FakeUi ui;
    FixedClock clock;
    AppContext ctx { ui, clock, folder.path() };
};

// The run as a GoogleTest fixture: a seeded folder at the default moment.
struct ProgramTest : ::testing::Test, ProgramRun
{
};
