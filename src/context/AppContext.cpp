#include "context/AppContext.h"

#include "common/ErrorGuard.h"

bool AppContext::guard(const std::function<void()> &body, std::initializer_list<int> ignored)
{
    return guarded(ui, body, ignored);
}

void AppContext::connectPickListSources()
{
    const QString db = paths.database();
    const std::pair<DataSource *, const char *> sources[] = {
        { &anrede_db, "select * from aw_anrede  order by anrede" },
        { &titel_db, "select * from aw_titel  order by titel" },
        { &strasse_db, "select * from aw_strasse  order by strasse" },
        { &land_db, "select * from aw_land  order by land" },
        { &lauf_aw_db, "select * from aw_lauf order by lauf" },
        { &zeitmessung_db, "select * from aw_zeitmessung order by zeitmessung" },
    };
    for (const auto &[source, statement] : sources) {
        source->setDatabaseName(db);
        source->setRecordSource(QString::fromLatin1(statement));
        source->refresh();
    }
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
    for (DataSource *source :
         { &Lauf_db, &anrede_db, &titel_db, &strasse_db, &land_db, &lauf_aw_db, &zeitmessung_db })
        source->close();
}
