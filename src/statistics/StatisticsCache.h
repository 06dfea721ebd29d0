#pragma once

#include "data/Sqlite.h"
#include "statistics/RaceStatistics.h"

#include <QTimer>

#include <memory>
#include <optional>

class RaceStore;

// The figures of the store's races, kept between openings of the statistics window. While the
// event loop has nothing else to do they are brought up to date a slice of races at a time, so
// that opening the window after a change finds them ready instead of reading a long log anew.
class StatisticsCache
{
public:
    explicit StatisticsCache(RaceStore &races);
    ~StatisticsCache();
    StatisticsCache(const StatisticsCache &) = delete;
    StatisticsCache &operator=(const StatisticsCache &) = delete;

    // The figures of the races as they are now: the kept ones when nothing has changed since
    // they were read, otherwise read now (the rest of an update under way, or all of them).
    const RaceStatistics &current();
    // Brings the kept figures up to date in idle time, when they are not.
    void updateWhenIdle();
    // One slice of an update, begun when the kept figures are out of date and begun again when
    // something changes in between. False once they are up to date.
    bool readSlice();

    // Races per slice: at a few microseconds each, a slice keeps the window answering.
    static constexpr int kSliceRaces = 2000;

private:
    bool upToDate(const SqliteDb::ChangeStamp &now) const;

    RaceStore &m_races;
    std::optional<SqliteDb::ChangeStamp> m_keptStamp;
    RaceStatistics m_kept;

    struct Update;
    std::unique_ptr<Update> m_update;
    QTimer m_idle;
};
