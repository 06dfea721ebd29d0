#include "statistics/RaceStatistics.h"

#include "common/GermanText.h"
#include "data/RaceStore.h"
#include "model/RaceColumns.h"
#include "statistics/FinishTime.h"

#include <QHash>

#include <algorithm>
#include <map>
#include <utility>

std::vector<Race> statisticsRaces(RaceStore &store)
{
    static const Race shape;
    static const QStringList columns
        = RaceColumns::holding(shape,
                               { &shape.name, &shape.place, &shape.date, &shape.distance,
                                 &shape.finishTime, &shape.run, &shape.registered, &shape.noted });
    std::vector<Race> races;
    store.readRaces(
        RaceStore::Order::ByNumber, true, [&races](const Race &race) { races.push_back(race); },
        columns);
    return races;
}

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
    std::vector<std::pair<TimePoint, QString>> times; // point, place
};

} // namespace

RaceStatistics computeStatistics(const std::vector<Race> &races)
{
    RaceStatistics stats;
    std::map<int, YearFigures> years;
    QHash<QString, Group> groups;
    QHash<QString, Distance> distances; // a log spells its distances a few ways only

    for (const Race &race : races) {
        const QDate date = parseGermanDate(race.date.stored());
        if (!date.isValid()) {
            ++stats.damagedDates;
            stats.leftOut.push_back({ race.name,
                                      race.date.stored(),
                                      {},
                                      race.date.stored().trimmed().isEmpty()
                                          ? QStringLiteral("kein Datum eingetragen")
                                          : QStringLiteral("Datum nicht lesbar") });
            continue;
        }
        YearFigures &year = years[date.year()];
        year.year = date.year();
        year.registered += race.registered.isSet() ? 1 : 0;
        year.noted += race.noted.isSet() ? 1 : 0;
        if (!race.run.isSet())
            continue;
        ++year.run;

        auto known = distances.constFind(race.distance);
        if (known == distances.cend())
            known = distances.insert(race.distance, readDistance(race.distance));
        const Distance &distance = *known;
        if (distance.km)
            year.km += *distance.km;
        if (distance.key.isEmpty()) {
            ++stats.runWithoutDistance;
            continue;
        }
        Group &group = groups[distance.key];
        if (group.finishes == 0)
            group.distance = distance;
        ++group.finishes;

        const std::optional<int> ms = parseFinishTime(race.finishTime);
        QString reason;
        if (!ms)
            reason = race.finishTime.trimmed().isEmpty() ? QStringLiteral("keine Zeit eingetragen")
                                                         : QStringLiteral("Zeit nicht lesbar");
        else if (distance.km && *ms / 1000.0 < *distance.km * kFastestSecondsPerKm)
            reason = QStringLiteral("Zeit zu kurz für %1").arg(distance.label);
        if (!reason.isEmpty()) {
            ++stats.unreadableTimes;
            stats.leftOut.push_back({ race.name, race.date.stored(), race.finishTime, reason });
            continue;
        }
        group.times.push_back({ { date, *ms, race.name }, race.place });
    }

    // Only years with races: a typo such as "0205" would otherwise list two thousand empty ones.
    stats.years.reserve(years.size());
    for (const auto &[year, figures] : years)
        stats.years.push_back(figures);

    std::vector<Group> ordered;
    ordered.reserve(size_t(groups.size()));
    for (const Group &g : std::as_const(groups))
        ordered.push_back(g);
    std::sort(ordered.begin(), ordered.end(), [](const Group &a, const Group &b) {
        return distanceBefore(a.distance, b.distance);
    });

    for (Group &g : ordered) {
        BestTime best { g.distance.key, g.distance.label, std::nullopt, {}, {}, {}, g.finishes };
        if (!g.times.empty()) {
            std::stable_sort(g.times.begin(), g.times.end(), [](const auto &a, const auto &b) {
                return a.first.date < b.first.date;
            });
            Progression p { g.distance.key, g.distance.label, {}, 0 };
            p.points.reserve(g.times.size());
            for (const auto &[point, place] : g.times) {
                if (point.ms < g.times[size_t(p.best)].first.ms)
                    p.best = int(p.points.size());
                p.points.push_back(point);
            }
            const auto &[point, place] = g.times[size_t(p.best)];
            best.ms = point.ms;
            best.race = point.race;
            best.place = place;
            best.date = point.date;
            stats.progressions.push_back(std::move(p));
        }
        stats.bests.push_back(std::move(best));
    }
    return stats;
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
