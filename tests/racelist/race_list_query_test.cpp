#include "TestFolder.h"
#include "data/DataSource.h"
#include "racelist/RaceListQuery.h"

#include <gtest/gtest.h>

namespace {
const QDate kToday(2026, 12, 8);

QStringList namesOf(const TestFolder &folder, const QString &statement)
{
    DataSource ds;
    ds.setDatabaseName(folder.dbPath());
    ds.setRecordSource(statement);
    ds.refresh();
    QStringList names;
    for (int r = 0; r < ds.recordCount(); ++r)
        names << ds.valueAt(r, ds.fieldIndex(QStringLiteral("ad_lauf"))).toString();
    return names;
}

// Races around a fixed today, with the flag spellings that must not count as "Ja".
struct RaceListData : ::testing::Test
{
    TestFolder folder;
    void SetUp() override
    {
        auto add = [this](const char *name, const char *date, QVariantMap more = {}) {
            more.insert(QStringLiteral("ad_lauf"), QString::fromUtf8(name));
            if (date)
                more.insert(QStringLiteral("ad_lauf_datum"), QString::fromUtf8(date));
            folder.addRace(more);
        };
        add("Gestern", "07.12.2026", { { "ad_gelaufen_jn", "Ja" }, { "ad_bezahlt_jn", "Ja" } });
        add("Heute", "08.12.2026",
            { { "ad_ang_jn", true }, { "ad_alarm_jn", "Ja" }, { "ad_alarm_datum", "01.12.2026" } });
        add("Morgen", "09.12.2026",
            { { "ad_vorgemerkt_jn", true },
              { "ad_alarm_jn", "Ja" },
              { "ad_alarm_datum", "09.12.2026" } });
        add("Nächstes Jahr", "10.01.2027",
            { { "ad_alarm_jn", "Ja" }, { "ad_alarm_datum", "01.01.1900" } });
        add("Vor Jahren", "09.12.2002",
            { { "ad_gelaufen_jn", "ja" }, { "ad_bezahlt_jn", "nein" } });
        add("Kaputtes Datum", "32.13.2026", { { "ad_gelaufen_jn", "Ja" } });
        add("Ohne Datum", nullptr, { { "ad_vorgemerkt_jn", true } });
        add("", "08.12.2026", { { "ad_ang_jn", true } });
    }
    QStringList list(bool future, bool past, int option = -1) const
    {
        return namesOf(folder, buildRaceListQuery({ future, past, option }, kToday).sql_gesamt());
    }
};
} // namespace

TEST(RaceListQuery, StatementIsBuiltCharacterForCharacter)
{
    const RaceListQuery q = buildRaceListQuery({ true, false, 1 }, QDate(2004, 3, 5));
    EXPECT_EQ(q.sql_gesamt(),
              QStringLiteral("select * from adressen where ad_ang_jn=true and "
                             "(Datevalue(ad_lauf_datum) >= Datevalue( '05.03.2004'))   order by "
                             "cdate(ad_lauf_datum) desc"));
    EXPECT_EQ(q.headline,
              QStringLiteral("Alle zukünftigen Läufe, für die eine Anmeldung erfolgt ist"));

    const RaceListQuery past = buildRaceListQuery({ false, true, -1 }, kToday);
    EXPECT_EQ(past.sql_gesamt(),
              QStringLiteral("select * from adressen where ad_lauf <> '' and "
                             "(Datevalue(ad_lauf_datum) < Datevalue( '08.12.2026'))   order by "
                             "cdate(ad_lauf_datum) desc"));
    EXPECT_EQ(past.headline, QStringLiteral("Alle vergangenen Läufe"));

    for (bool both : { true, false }) {
        const RaceListQuery all = buildRaceListQuery({ both, both, 0 }, kToday);
        EXPECT_EQ(all.sql_gesamt(),
                  QStringLiteral("select * from adressen where ad_lauf <> '' "
                                 "order by cdate(ad_lauf_datum) desc"));
        EXPECT_EQ(all.headline, QStringLiteral("Alle Läufe"));
    }

    const struct
    {
        int option;
        const char *where;
        const char *phrase;
    } options[] = {
        { 2, "where ad_alarm_jn='Ja' and ad_alarm_datum<>'01.01.1900' ",
          ", für die an eine Bezahlung erinnert werden soll. Fristen laufen eventuell ab!" },
        { 3, "where ad_gelaufen_jn='Ja' ", ", die gelaufen wurden" },
        { 4, "where ad_bezahlt_jn='Ja' ", ", die bezahlt wurden" },
        { 5, "where ad_vorgemerkt_jn=true ", ", die vorgemerkt wurden" },
    };
    for (const auto &o : options) {
        const RaceListQuery q = buildRaceListQuery({ false, false, o.option }, kToday);
        EXPECT_EQ(q.sql_gesamt(),
                  QStringLiteral("select * from adressen ") + QString::fromUtf8(o.where)
                      + QStringLiteral("order by cdate(ad_lauf_datum) desc"));
        EXPECT_EQ(q.headline, QStringLiteral("Alle Läufe") + QString::fromUtf8(o.phrase));
    }

    EXPECT_EQ(startScreenStatement(QDate(2004, 3, 5)),
              QStringLiteral("select * from adressen where ad_startbild_jn = true and "
                             "(Datevalue(ad_lauf_datum) >= Datevalue( '05.03.2004')) order by "
                             "cdate(ad_lauf_datum)"));
    EXPECT_EQ(reminderStatement(QDate(2004, 3, 5)),
              QStringLiteral("select * from adressen where ad_alarm_jn = 'Ja' and "
                             "(Datevalue(ad_alarm_datum) <= Datevalue( '05.03.2004')) and "
                             "ad_alarm_datum<>'01.01.1900' order by cdate(ad_lauf_datum) desc"));
}

TEST_F(RaceListData, TimeFilterCountsTodayAsFutureAndSkipsUnreadableDates)
{
    EXPECT_EQ(list(true, false), (QStringList { "Nächstes Jahr", "Morgen", "Heute" }));
    EXPECT_EQ(list(false, true), (QStringList { "Gestern", "Vor Jahren" }));
    // Without a date condition every named race is listed; unreadable dates sort last.
    const QStringList all = list(false, false);
    EXPECT_EQ(all.mid(0, 5),
              (QStringList { "Nächstes Jahr", "Morgen", "Heute", "Gestern", "Vor Jahren" }));
    EXPECT_EQ(all.size(), 7);
    EXPECT_EQ(list(true, true), all);
}

TEST_F(RaceListData, OptionsReplaceTheNameConditionAndCompareFlagsExactly)
{
    EXPECT_EQ(list(true, false, 1), (QStringList { "Heute", "" })); // unnamed race shows up
    EXPECT_EQ(list(true, false, 2), (QStringList { "Morgen", "Heute" }));
    EXPECT_EQ(list(false, false, 3), (QStringList { "Gestern", "Kaputtes Datum" }));
    EXPECT_EQ(list(false, false, 4), (QStringList { "Gestern" }));
    EXPECT_EQ(list(true, false, 5), (QStringList { "Morgen" }));
    EXPECT_EQ(list(false, false, 5).size(), 2);
}

TEST_F(RaceListData, StartUpListsUseTheirOwnDateBoundaries)
{
    folder.exec("update adressen set ad_startbild_jn = 1 where ad_lauf in ('Gestern', 'Heute', "
                "'Nächstes Jahr', 'Kaputtes Datum')");
    EXPECT_EQ(namesOf(folder, startScreenStatement(kToday)),
              (QStringList { "Heute", "Nächstes Jahr" }));
    // Due on or before today; tomorrow's reminder and "01.01.1900" are not due.
    EXPECT_EQ(namesOf(folder, reminderStatement(kToday)), (QStringList { "Heute" }));
    EXPECT_EQ(namesOf(folder, reminderStatement(kToday.addDays(1))),
              (QStringList { "Morgen", "Heute" }));
}
