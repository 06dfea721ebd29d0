#include "ProgramFixture.h"

#include "data/RaceStore.h"

QDateTime ProgramRun::defaultNow()
{
    return QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9));
}

ProgramRun::ProgramRun(TestFolder::Content content, const QDateTime &now)
    : folder(content)
    , clock(now)
{
}

qlonglong ProgramRun::addRace(Race race)
{
    race.number = ctx.races().addEmpty().number;
    ctx.races().save(race);
    return race.number;
}
