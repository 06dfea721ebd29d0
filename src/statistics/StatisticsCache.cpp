#include "statistics/StatisticsCache.h"

#include "data/RaceStore.h"

struct StatisticsCache::Update
{
    SqliteDb::ChangeStamp stamp; // of the file when the update began
    qlonglong after = 0; // the last race number read
    StatisticsCounter counter;
};

StatisticsCache::StatisticsCache(RaceStore &races)
    : m_races(races)
{
    m_idle.setInterval(0);
    QObject::connect(&m_idle, &QTimer::timeout, [this] {
        // An error (a damaged file) is left for the reading that the user asked for to report.
        bool more = false;
        try {
            more = readSlice();
        } catch (...) {
            m_update.reset();
        }
        if (!more)
            m_idle.stop();
    });
}

StatisticsCache::~StatisticsCache() = default;

bool StatisticsCache::upToDate(const SqliteDb::ChangeStamp &now) const
{
    return m_keptStamp && *m_keptStamp == now;
}

bool StatisticsCache::readSlice()
{
    const SqliteDb::ChangeStamp now = m_races.changeStamp();
    if (upToDate(now)) {
        m_update.reset();
        return false;
    }
    if (!m_update || !(m_update->stamp == now)) {
        m_update = std::make_unique<Update>();
        m_update->stamp = now;
    }
    Update &update = *m_update;
    const int read = m_races.readStatisticsRows(update.after, kSliceRaces,
                                                [&update](const StatisticsRow &race) {
                                                    update.counter.add(race);
                                                    update.after = race.number;
                                                });
    if (read == kSliceRaces)
        return true;
    m_kept = update.counter.result();
    m_keptStamp = update.stamp;
    m_update.reset();
    return false;
}

const RaceStatistics &StatisticsCache::current()
{
    m_idle.stop();
    try {
        while (readSlice()) { }
    } catch (...) {
        m_update.reset();
        throw;
    }
    return m_kept;
}

void StatisticsCache::updateWhenIdle()
{
    if (!m_idle.isActive() && !upToDate(m_races.changeStamp()))
        m_idle.start();
}
