#pragma once

#include "FakeUi.h"
#include "TestFolder.h"
#include "common/Clock.h"
#include "context/AppContext.h"
#include "racelist/Haupt_Form.h"

#include <gtest/gtest.h>

#include <memory>

// The main window over a seeded folder, the fake UI services and a fixed clock, for tests of
// its commands; start() opens it as the program does.
struct MainWindowFixture : ::testing::Test
{
    TestFolder folder { TestFolder::Content::Seeded };
    FakeUi ui;
    FixedClock clock { QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)) };
    AppContext ctx { ui, clock, folder.path() };
    std::unique_ptr<Haupt_Form> window;

    void start()
    {
        window = std::make_unique<Haupt_Form>(ctx);
        ASSERT_TRUE(window->load());
    }
};
