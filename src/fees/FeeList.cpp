#include "fees/FeeList.h"

#include "common/GermanText.h"
#include "data/RaceStore.h"

#include <algorithm>

QString FeeListRow::text(FeeColumn column) const
{
    const FeeSituation &s = situation;
    switch (column) {
    case FeeColumn::Date:
        return date.trimmed();
    case FeeColumn::Race:
        return name.trimmed();
    case FeeColumn::Distance:
        return distance.trimmed();
    case FeeColumn::FeeToday:
        return s.today  ? s.today->fee.shown()
            : s.expired ? QStringLiteral("Frist abgelaufen")
                        : QString();
    case FeeColumn::ValidUntil:
        return s.today ? formatDate(s.today->deadline) : QString();
    case FeeColumn::After:
        return s.next ? s.next->fee.shown() : QString();
    case FeeColumn::Days:
        return daysToRise ? QString::number(*daysToRise) : QString();
    }
    return {};
}

QString FeeListRow::riseNote() const
{
    if (!risesSoon())
        return {};
    const FeeSituation &s = situation;
    const QString when = *daysToRise == 1 ? QStringLiteral("morgen")
                                          : QStringLiteral("in %1 Tagen").arg(*daysToRise);
    return QStringLiteral("Das Startgeld %1 %2, am %3, auf %4.")
        .arg(feeChangeVerb(s.today->fee, s.next->fee), when,
             formatDate(s.today->deadline.addDays(1)), s.next->fee.shown());
}

void addToFeeList(FeeList &list, const Race &race, const QDate &today)
{
    FeeListRow &row = list.rows.emplace_back();
    row.race = race.number;
    row.date = race.date.stored();
    row.name = race.name;
    row.distance = race.distance;
    row.situation = feeSituation(race, today);
    row.daysToRise = row.situation.daysToRise(today);
    if (!row.situation.today)
        return;
    if (const std::optional<qint64> cents = row.situation.today->fee.cents) {
        list.sumCents += *cents;
        ++list.summed;
    } else {
        ++list.unreadable;
    }
}

void orderFeeList(FeeList &list)
{
    // The races come in the order of their dates, which stays among equal deadlines.
    const auto deadline = [](const FeeListRow &row) {
        return row.situation.today ? row.situation.today->deadline : QDate();
    };
    std::stable_sort(list.rows.begin(), list.rows.end(),
                     [&deadline](const FeeListRow &a, const FeeListRow &b) {
                         const QDate x = deadline(a);
                         const QDate y = deadline(b);
                         if (x.isValid() && y.isValid())
                             return x < y;
                         return x.isValid() && !y.isValid();
                     });
}

FeeList makeFeeList(const std::vector<Race> &races, const QDate &today)
{
    FeeList list;
    list.rows.reserve(races.size());
    for (const Race &race : races)
        addToFeeList(list, race, today);
    orderFeeList(list);
    return list;
}

FeeList readFeeList(RaceStore &store, const QDate &today)
{
    FeeList list;
    store.unpaidComingRaces(today, [&](const Race &race) { addToFeeList(list, race, today); });
    orderFeeList(list);
    return list;
}

QString feeSumLine(const FeeList &list)
{
    if (list.rows.empty())
        return QStringLiteral("Keine angemeldeten oder vorgemerkten Läufe mit offenem Startgeld.");
    QString line = QStringLiteral("Summe der heutigen Startgelder: %1 für %2")
                       .arg(formatEuro(list.sumCents), countText(list.summed, u"Lauf", u"Läufe"));
    if (list.unreadable > 0)
        line += QStringLiteral("; ")
            + countText(list.unreadable, u"Startgeld nicht lesbar", u"Startgelder nicht lesbar");
    return line;
}
