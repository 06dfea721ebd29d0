#pragma once

#include "ProgramFixture.h"
#include "racelist/RaceListWindow.h"

#include <memory>

// The main window over a seeded folder, the fake UI services and a fixed clock, for tests of
// its commands; start() opens it as the program does.
struct MainWindowFixture : ProgramTest
{
    std::unique_ptr<RaceListWindow> window;

    void start()
    {
        window = std::make_unique<RaceListWindow>(ctx);
        ASSERT_TRUE(window->load());
    }
};
