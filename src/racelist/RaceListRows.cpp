// SPDX-License-Identifier: GPL-3.0-or-later
#include "racelist/RaceListRows.h"

#include <vector>

namespace {

struct RaceColumn
{
    ListColumn look;
    QString (*text)(const Race &);
};

const std::vector<RaceColumn> &columns()
{
    constexpr Qt::Alignment centre = Qt::AlignHCenter;
    static const std::vector<RaceColumn> all = {
        { { QStringLiteral("Datum"), 1300, centre },
          [](const Race &r) { return r.date.stored(); } },
        { { QStringLiteral("Tag"), 500, centre }, [](const Race &r) { return r.weekday; } },
        { { QStringLiteral("Zeit"), 800, centre }, [](const Race &r) { return r.start; } },
        { { QStringLiteral("Lauf"), 3300, Qt::AlignLeft }, [](const Race &r) { return r.name; } },
        { { QStringLiteral("Ort"), 2100, Qt::AlignLeft }, [](const Race &r) { return r.place; } },
        { { QStringLiteral("angemeldet"), 1200, centre },
          [](const Race &r) { return r.registrationDate.stored(); } },
        { { QStringLiteral("gelaufen"), 900, centre },
          [](const Race &r) { return r.run.stored().toString(); } },
        { { QStringLiteral("Strecke"), 2000, centre }, [](const Race &r) { return r.distance; } },
        { { QStringLiteral("Zeit"), 1200, centre }, [](const Race &r) { return r.finishTime; } },
    };
    return all;
}

} // namespace

QList<ListColumn> raceListColumns()
{
    QList<ListColumn> looks;
    for (const RaceColumn &c : columns())
        looks << c.look;
    return looks;
}

QString RaceListRows::cell(int row, int column) const
{
    if (column < 0 || size_t(column) >= columns().size() || !m_list.hasRow(row))
        return {};
    if (row != m_cachedRow) {
        m_cached = m_list.race(row);
        m_cachedRow = row;
    }
    return columns()[size_t(column)].text(m_cached);
}
