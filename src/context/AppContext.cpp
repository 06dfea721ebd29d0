#include "context/AppContext.h"

#include "common/ErrorGuard.h"

bool AppContext::guard(const std::function<void()> &body, std::initializer_list<int> ignored)
{
    return guarded(ui, body, ignored);
}

RaceStore &AppContext::races()
{
    // Only the window thread uses this connection (the export reads through one of its own),
    // so its reads need not take SQLite's lock.
    if (!m_races)
        m_races = std::make_unique<RaceStore>(paths.database(), SqliteDb::Threads::OneAtATime);
    return *m_races;
}

StatisticsCache &AppContext::statistics()
{
    if (!m_statistics)
        m_statistics = std::make_unique<StatisticsCache>(races());
    return *m_statistics;
}

void AppContext::closeDatabase()
{
    maintenance.waitUntilDone();
    m_statistics.reset();
    m_races.reset();
}
