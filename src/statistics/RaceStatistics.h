#pragma once

#include "model/Race.h"
#include "statistics/Distance.h"

#include <QDate>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class RaceStore;
struct StatisticsRow;

struct BestTime
{
    QString distanceKey;
    QString distance; // label
    std::optional<int> ms; // none when no finish time at this distance can be read
    QString race;
    QString place;
    QDate date;
    int finishes = 0; // races run at this distance
};

struct YearFigures
{
    int year = 0;
    int run = 0;
    int registered = 0;
    int noted = 0;
    double km = 0; // of the races run whose distance can be read
    // The entry fees of the paid races, each as it applied on the day of registration.
    qint64 feeCents = 0;
};

struct TimePoint
{
    QDate date;
    int ms = 0;
    QString race;
};

struct Progression
{
    QString distanceKey;
    QString distance;
    std::vector<TimePoint> points; // by date
    int best = -1; // index of the best time (the earliest of equal ones)
};

// A race that the figures leave out, and why.
struct LeftOut
{
    QString race;
    QString datum;
    QString value; // the text that could not be used
    QString reason;
};

struct RaceStatistics
{
    std::vector<BestTime> bests; // Marathon, Halb-Marathon, then by length, then by name
    std::vector<YearFigures> years; // the years that have races, in order
    std::vector<Progression> progressions; // distances with at least one readable time
    std::vector<LeftOut> leftOut;
    int unreadableTimes = 0; // races run whose time is left out
    int damagedDates = 0; // races left out altogether
    int runWithoutDistance = 0; // races run that count in their year only
    int unreadableFees = 0; // paid races whose fee is not an amount
};

// A time faster than this per kilometre is not a runner's time but a misread one ("3:45" for
// a marathon read as minutes and seconds).
constexpr double kFastestSecondsPerKm = 120.0;

// Adds the races up one at a time, so that a log of any size needs only its figures in memory.
class StatisticsCounter
{
public:
    StatisticsCounter();
    ~StatisticsCounter();
    StatisticsCounter(const StatisticsCounter &) = delete;
    StatisticsCounter &operator=(const StatisticsCounter &) = delete;

    // Races in the order of their numbers: of equal times the first one counts as the best.
    void add(const StatisticsRow &race);
    RaceStatistics result();

private:
    void addFee(YearFigures &year, const StatisticsRow &race, const QDate &raceDay);

    struct Sums;
    std::unique_ptr<Sums> m_sums;
};

RaceStatistics computeStatistics(const std::vector<Race> &races);
// The figures of the store's named races (rows without a name are left unfinished by the
// editor), read in one pass.
RaceStatistics readStatistics(RaceStore &store);

// "Berlin-Marathon (28.09.2025): „3:4512“ – Zeit nicht lesbar" for the list of left-out races.
QString describeLeftOut(const LeftOut &entry);
