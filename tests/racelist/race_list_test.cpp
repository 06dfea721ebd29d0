// What the main window's lists show: the races of each filter and option, in their order,
// under their headline.
#include "TestFolder.h"
#include "data/RaceStore.h"
#include "racelist/RaceListHeadline.h"
#include "racelist/RaceListRows.h"

#include <gtest/gtest.h>

namespace {
const QDate kToday(2026, 12, 8);

QStringList namesOf(const RaceList &list)
{
    QStringList names;
    for (int r = 0; list.hasRow(r); ++r)
        names << list.race(r).name;
    return names;
}

RaceListFilter filterOf(bool future, bool past, int option)
{
    RaceListFilter filter { future, past, std::nullopt };
    if (option >= 0)
        filter.option = RaceSelection(option);
    return filter;
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
    QStringList list(bool future, bool past, int option = -1)
    {
        return namesOf(store().list(filterOf(future, past, option), kToday));
    }
    RaceStore &store()
    {
        if (!m_store)
            m_store = std::make_unique<RaceStore>(folder.dbPath());
        return *m_store;
    }

private:
    std::unique_ptr<RaceStore> m_store;
};
} // namespace

TEST(RaceListHeadline, SaysWhichTimeAndWhichOption)
{
    const struct
    {
        bool future, past;
        int option;
        const char *headline;
    } cases[] = {
        { true, false, -1, "Alle zukünftigen Läufe" },
        { false, true, -1, "Alle vergangenen Läufe" },
        { true, true, -1, "Alle Läufe" },
        { false, false, 0, "Alle Läufe" },
        { true, false, 1, "Alle zukünftigen Läufe, für die eine Anmeldung erfolgt ist" },
        { false, false, 2,
          "Alle Läufe, für die an eine Bezahlung erinnert werden soll. Fristen laufen eventuell "
          "ab!" },
        { false, true, 3, "Alle vergangenen Läufe, die gelaufen wurden" },
        { true, true, 4, "Alle Läufe, die bezahlt wurden" },
        { true, false, 5, "Alle zukünftigen Läufe, die vorgemerkt wurden" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(raceListHeadline(filterOf(c.future, c.past, c.option)),
                  QString::fromUtf8(c.headline))
            << c.future << c.past << c.option;
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
    EXPECT_EQ(namesOf(store().startScreenRaces(kToday)),
              (QStringList { "Heute", "Nächstes Jahr" }));
    // Due on or before today; tomorrow's reminder and "01.01.1900" are not due.
    EXPECT_EQ(namesOf(store().dueReminders(kToday)), (QStringList { "Heute" }));
    EXPECT_EQ(namesOf(store().dueReminders(kToday.addDays(1))),
              (QStringList { "Morgen", "Heute" }));
}

TEST_F(RaceListData, GridShowsTheStoredTextsUnderTheirCaptions)
{
    folder.exec("update adressen set ad_lauf_wotag = 'Mo', ad_start = '10:00', ad_lauf_ort = "
                "'Köln', ad_ang_datum = '01.11.2026', ad_strecke = 'Marathon', ad_zeit = "
                "'3:59:59' where ad_lauf = 'Gestern'");
    RaceListRows rows(store().list(filterOf(false, true, -1), kToday));
    ASSERT_EQ(rows.rowsRead(), 2);
    QStringList captions, cells, next;
    for (const ListColumn &c : raceListColumns())
        captions << c.caption;
    for (int c = 0; c < captions.size(); ++c) {
        cells << rows.cell(0, c);
        next << rows.cell(1, c);
    }
    EXPECT_EQ(captions,
              (QStringList { "Datum", "Tag", "Zeit", "Lauf", "Ort", "angemeldet", "gelaufen",
                             "Strecke", "Zeit" }));
    EXPECT_EQ(cells,
              (QStringList { "07.12.2026", "Mo", "10:00", "Gestern", "Köln", "01.11.2026", "Ja",
                             "Marathon", "3:59:59" }));
    // A race as stored: "ja" is shown as it is, nothing where nothing is stored.
    EXPECT_EQ(next[3], "Vor Jahren");
    EXPECT_EQ(next[6], "ja");
    EXPECT_EQ(next[4], "");
}
