#include "FeeRaces.h"

#include "data/RaceDateIndex.h"
#include "data/Sqlite.h"

#include <QStringList>

namespace {
// Sets a fee column to one of the forms people type, chosen by the race's number.
QString typedFee(const char *column, int offset)
{
    return QStringLiteral("%1 = case (ad_nummer / 10 + %2) % 8 when 0 then '45' when 1 then '45,-' "
                          "when 2 then '45,50 €' when 3 then 'EUR 50' when 4 then '55 Euro' "
                          "when 5 then '€ 60,00' when 6 then 'frei' else 'siehe Homepage' end")
        .arg(QLatin1String(column))
        .arg(offset);
}

// "dd.mm.yyyy" of `from` moved by a number of days that an SQL expression gives.
QString dayExpression(const QDate &from, const QString &days)
{
    return QStringLiteral("strftime('%d.%m.%Y', '%1', (%2) || ' days')")
        .arg(from.toString(Qt::ISODate), days);
}
} // namespace

void makeTenthComing(const TestFolder &folder, const QDate &today)
{
    folder.exec(QStringLiteral("update adressen set ad_lauf_datum = %1 where ad_nummer % 10 <> 0")
                    .arg(dayExpression(today, QStringLiteral("-1 - ad_nummer % 9000"))));
    QStringList set {
        QStringLiteral("ad_lauf_datum = ")
            + dayExpression(today, QStringLiteral("ad_nummer % 400")),
        QStringLiteral("ad_ang_jn = ad_nummer % 3 <> 0"),
        QStringLiteral("ad_vorgemerkt_jn = 1"),
        QStringLiteral("ad_bezahlt_jn = ' '"),
        QStringLiteral("ad_strecke = case ad_nummer % 3 when 0 then 'Marathon' when 1 then "
                       "'Halb-Marathon' else '10 km' end"),
        QStringLiteral("ad_strecke_sg = '10 KM'"),
    };
    const int before[3] = { 60, 20, 1 };
    for (int k = 0; k < 3; ++k)
        set << QStringLiteral("ad_sg%1_datum = ").arg(k + 1)
                + dayExpression(today, QStringLiteral("ad_nummer % 400 - %1").arg(before[k]));
    int offset = 0;
    for (const char *column : { "ad_sg11", "ad_sg12", "ad_sg13", "ad_sg21", "ad_sg22", "ad_sg23",
                                "ad_sg31", "ad_sg32", "ad_sg33" })
        set << typedFee(column, offset++);
    folder.exec(QStringLiteral("update adressen set ") + set.join(QStringLiteral(", "))
                + QStringLiteral(" where ad_nummer % 10 = 0"));
    // As the program makes it at its start.
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
    RaceDateIndex::ensure(db);
}
