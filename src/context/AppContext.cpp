#include "context/AppContext.h"

#include "common/ErrorGuard.h"

bool AppContext::guard(const std::function<void()> &body, std::initializer_list<int> ignored)
{
    return guarded(ui, body, ignored);
}

RaceStore &AppContext::races()
{
    if (!m_races)
        m_races = std::make_unique<RaceStore>(paths.database());
    return *m_races;
}

void AppContext::closeDatabase()
{
    maintenance.waitUntilDone();
    m_races.reset();
}
