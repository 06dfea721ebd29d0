#include "fees/FeeList.h"

#include "common/GermanText.h"
#include "data/RaceStore.h"

#include <algorithm>

namespace {

QString feeText(const FeeAmount &fee)
{
    return fee.readable() ? formatEuro(*fee.cents) : fee.typed.trimmed();
}

QString counted(qint64 n, const char16_t *one, const char16_t *many)
{
    return QString::number(n) + u' ' + QString::fromUtf16(n == 1 ? one : many);
}

QString riseNote(const FeeSituation &s, qint64 days)
{
    const bool known = s.today->fee.readable() && s.next->fee.readable();
    const QString when
        = days == 1 ? QStringLiteral("morgen") : QStringLiteral("in %1 Tagen").arg(days);
    return QStringLiteral("Das Startgeld %1 %2, am %3, auf %4.")
        .arg(known ? QStringLiteral("steigt") : QStringLiteral("ändert sich"), when,
             formatDate(s.today->deadline.addDays(1)), feeText(s.next->fee));
}

FeeListRow rowOf(const Race &race, const QDate &today)
{
    FeeListRow row;
    row.race = race.number;
    row.date = race.date.stored().trimmed();
    row.name = race.name.trimmed();
    row.distance = race.distance.trimmed();
    row.situation = feeSituation(race, today);
    const FeeSituation &s = row.situation;
    if (s.expired)
        row.feeToday = QStringLiteral("Frist abgelaufen");
    if (s.today) {
        row.feeToday = feeText(s.today->fee);
        row.validUntil = formatDate(s.today->deadline);
        row.deadline = s.today->deadline;
    }
    if (s.next)
        row.after = feeText(s.next->fee);
    if (const std::optional<qint64> days = s.daysToRise(today)) {
        row.days = QString::number(*days);
        row.risesSoon = *days <= kSoonDays;
        if (row.risesSoon)
            row.riseNote = riseNote(s, *days);
    }
    return row;
}

} // namespace

FeeList makeFeeList(const std::vector<Race> &races, const QDate &today)
{
    FeeList list;
    list.rows.reserve(races.size());
    for (const Race &race : races) {
        FeeListRow row = rowOf(race, today);
        if (row.situation.today) {
            if (const std::optional<qint64> cents = row.situation.today->fee.cents) {
                list.sumCents += *cents;
                ++list.summed;
            } else {
                ++list.unreadable;
            }
        }
        list.rows.push_back(std::move(row));
    }
    // The races come in the order of their dates, which stays among equal deadlines.
    std::stable_sort(list.rows.begin(), list.rows.end(),
                     [](const FeeListRow &a, const FeeListRow &b) {
                         if (a.deadline && b.deadline)
                             return *a.deadline < *b.deadline;
                         return a.deadline.has_value() && !b.deadline;
                     });
    return list;
}

FeeList readFeeList(RaceStore &store, const QDate &today)
{
    return makeFeeList(store.unpaidComingRaces(today), today);
}

QString feeSumLine(const FeeList &list)
{
    if (list.rows.empty())
        return QStringLiteral("Keine angemeldeten oder vorgemerkten Läufe mit offenem Startgeld.");
    QString line = QStringLiteral("Summe der heutigen Startgelder: %1 für %2")
                       .arg(formatEuro(list.sumCents), counted(list.summed, u"Lauf", u"Läufe"));
    if (list.unreadable > 0)
        line += QStringLiteral("; ")
            + counted(list.unreadable, u"Startgeld nicht lesbar", u"Startgelder nicht lesbar");
    return line;
}
