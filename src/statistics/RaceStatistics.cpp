#include "statistics/RaceStatistics.h"

#include "common/GermanText.h"
#include "data/RaceStore.h"
#include "model/EntryFees.h"
#include "model/StoredDate.h"
#include "statistics/FinishTime.h"

#include <QHash>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {

// Marathon first, then Halb-Marathon, then known lengths from short to long, then by name.
bool distanceBefore(const Distance &a, const Distance &b)
{
    const auto rank = [](const Distance &d) {
        if (d.key == QStringLiteral("Marathon"))
            return 0;
        if (d.key == QStringLiteral("Halb-Marathon"))
            return 1;
        return d.km ? 2 : 3;
    };
    if (rank(a) != rank(b))
        return rank(a) < rank(b);
    if (a.km && b.km && *a.km != *b.km)
        return *a.km < *b.km;
    return a.label.compare(b.label, Qt::CaseInsensitive) < 0;
}

struct Group
{
    Distance distance;
    int finishes = 0;
    std::vector<TimePoint> times;
    std::optional<TimePoint> best; // the fastest, of equal ones the earliest
    QString bestPlace;
};

struct TextHash
{
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view> {}(text); }
};

// The race date as parseGermanDate() reads it; the stored form "dd.mm.yyyy" without a detour
// (parseGermanDate() gives the same for it, also when the day does not exist).
QDate dateOf(std::string_view stored)
{
    const QDate date = dateOfStoredText(stored);
    return date.isValid() ? date : parseGermanDate(QString::fromUtf8(stored));
}

} // namespace

// Keyed by the stored bytes, so that a text a log repeats is turned into a string once.
template<class Value>
using ByText = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

struct StatisticsCounter::Sums
{
    RaceStatistics stats;
    std::map<int, YearFigures> years;
    QHash<QString, Group> groups;
    ByText<Distance> distances; // a log spells its distances a few ways only
    ByText<QString> names; // the points share the few names a log repeats

    const QString &name(std::string_view text)
    {
        auto known = names.find(text);
        if (known == names.end())
            known = names.emplace(text, QString::fromUtf8(text)).first;
        return known->second;
    }
    const Distance &distance(std::string_view text)
    {
        auto known = distances.find(text);
        if (known == distances.end())
            known = distances.emplace(text, readDistance(QString::fromUtf8(text))).first;
        return known->second;
    }
};

// What the race cost: the fee that applied on the registration date (the race date when the
// registration has none), in the year of the race.
void StatisticsCounter::addFee(YearFigures &year, const StatisticsRow &race, const QDate &raceDay)
{
    const QDate registered = race.paidRace->registrationDate.date();
    const std::optional<FeeStep> paid
        = feeSituation(*race.paidRace, registered.isValid() ? registered : raceDay).today;
    if (!paid)
        return;
    if (paid->fee.readable()) {
        year.feeCents += *paid->fee.cents;
        return;
    }
    RaceStatistics &stats = m_sums->stats;
    ++stats.unreadableFees;
    stats.leftOut.push_back({ QString::fromUtf8(race.name), QString::fromUtf8(race.date),
                              paid->fee.typed, QStringLiteral("Startgeld nicht lesbar") });
}

StatisticsCounter::StatisticsCounter()
    : m_sums(std::make_unique<Sums>())
{
}

StatisticsCounter::~StatisticsCounter() = default;

void StatisticsCounter::add(const StatisticsRow &race)
{
    Sums &sums = *m_sums;
    RaceStatistics &stats = sums.stats;
    const QDate date = dateOf(race.date);
    if (!date.isValid()) {
        const QString stored = QString::fromUtf8(race.date);
        ++stats.damagedDates;
        stats.leftOut.push_back({ QString::fromUtf8(race.name),
                                  stored,
                                  {},
                                  stored.trimmed().isEmpty()
                                      ? QStringLiteral("kein Datum eingetragen")
                                      : QStringLiteral("Datum nicht lesbar") });
        return;
    }
    YearFigures &year = sums.years[date.year()];
    year.year = date.year();
    year.registered += race.registered ? 1 : 0;
    year.noted += race.noted ? 1 : 0;
    if (race.paidRace)
        addFee(year, race, date);
    if (!race.run)
        return;
    ++year.run;

    const Distance &distance = sums.distance(race.distance);
    if (distance.km)
        year.km += *distance.km;
    if (distance.key.isEmpty()) {
        ++stats.runWithoutDistance;
        return;
    }
    Group &group = sums.groups[distance.key];
    if (group.finishes == 0)
        group.distance = distance;
    ++group.finishes;

    const std::optional<int> ms = parseFinishTime(race.finishTime);
    QString reason;
    if (!ms)
        reason = QString::fromUtf8(race.finishTime).trimmed().isEmpty()
            ? QStringLiteral("keine Zeit eingetragen")
            : QStringLiteral("Zeit nicht lesbar");
    else if (distance.km && *ms / 1000.0 < *distance.km * kFastestSecondsPerKm)
        reason = QStringLiteral("Zeit zu kurz für %1").arg(distance.label);
    if (!reason.isEmpty()) {
        ++stats.unreadableTimes;
        stats.leftOut.push_back({ QString::fromUtf8(race.name), QString::fromUtf8(race.date),
                                  QString::fromUtf8(race.finishTime), reason });
        return;
    }
    const TimePoint point { date, *ms, sums.name(race.name) };
    if (!group.best || point.ms < group.best->ms
        || (point.ms == group.best->ms && point.date < group.best->date)) {
        group.best = point;
        group.bestPlace = QString::fromUtf8(race.place);
    }
    group.times.push_back(point);
}

RaceStatistics StatisticsCounter::result()
{
    Sums &sums = *m_sums;
    RaceStatistics stats = std::move(sums.stats);
    // Only years with races: a typo such as "0205" would otherwise list two thousand empty ones.
    stats.years.reserve(sums.years.size());
    for (const auto &[year, figures] : sums.years)
        stats.years.push_back(figures);

    std::vector<Group *> ordered;
    ordered.reserve(size_t(sums.groups.size()));
    for (Group &g : sums.groups)
        ordered.push_back(&g);
    std::sort(ordered.begin(), ordered.end(), [](const Group *a, const Group *b) {
        return distanceBefore(a->distance, b->distance);
    });

    for (Group *g : ordered) {
        BestTime best { g->distance.key, g->distance.label, std::nullopt, {}, {}, {}, g->finishes };
        if (g->best) {
            std::stable_sort(
                g->times.begin(), g->times.end(),
                [](const TimePoint &a, const TimePoint &b) { return a.date < b.date; });
            Progression p { g->distance.key, g->distance.label, std::move(g->times), 0 };
            for (size_t i = 1; i < p.points.size(); ++i)
                if (p.points[i].ms < p.points[size_t(p.best)].ms)
                    p.best = int(i);
            best.ms = g->best->ms;
            best.race = g->best->race;
            best.place = g->bestPlace;
            best.date = g->best->date;
            stats.progressions.push_back(std::move(p));
        }
        stats.bests.push_back(std::move(best));
    }
    *m_sums = Sums();
    return stats;
}

RaceStatistics computeStatistics(const std::vector<Race> &races)
{
    StatisticsCounter counter;
    for (const Race &race : races) {
        const QByteArray name = race.name.toUtf8(), place = race.place.toUtf8(),
                         date = race.date.stored().toUtf8(), distance = race.distance.toUtf8(),
                         finishTime = race.finishTime.toUtf8();
        const auto bytes
            = [](const QByteArray &b) { return std::string_view(b.data(), size_t(b.size())); };
        StatisticsRow row;
        row.name = bytes(name);
        row.place = bytes(place);
        row.date = bytes(date);
        row.distance = bytes(distance);
        row.finishTime = bytes(finishTime);
        row.registered = race.registered.isSet();
        row.noted = race.noted.isSet();
        row.run = race.run.isSet();
        row.paid = race.paid.isSet();
        row.paidRace = row.paid ? &race : nullptr;
        counter.add(row);
    }
    return counter.result();
}

RaceStatistics readStatistics(RaceStore &store)
{
    StatisticsCounter counter;
    store.readStatisticsRows(0, -1, [&counter](const StatisticsRow &race) { counter.add(race); });
    return counter.result();
}

QString describeLeftOut(const LeftOut &entry)
{
    QString text = entry.race;
    if (!entry.datum.trimmed().isEmpty())
        text += QStringLiteral(" (%1)").arg(entry.datum.trimmed());
    if (!entry.value.trimmed().isEmpty())
        text += QStringLiteral(": \u201E%1\u201C").arg(entry.value.trimmed());
    return text + QStringLiteral(" \u2013 ") + entry.reason;
}
