#include "ProgramFixture.h"
#include "data/RaceStore.h"
#include "fees/FeeList.h"

#include <gtest/gtest.h>

namespace {

// Today in these tests is Tuesday, 08.12.2026 (the fixture's clock).
const QDate kToday(2026, 12, 8);

struct FeeListTest : ProgramTest
{
};

TEST_F(FeeListTest, ListsComingRacesRegisteredOrNotedThatAreNotPaid)
{
    const struct
    {
        const char *name;
        QVariantMap fields;
        bool listed;
    } cases[] = {
        { "angemeldet", { { "ad_ang_jn", true } }, true },
        { "vorgemerkt", { { "ad_vorgemerkt_jn", true } }, true },
        { "bezahlt", { { "ad_ang_jn", true }, { "ad_bezahlt_jn", "Ja" } }, false },
        { "bezahlt klein", { { "ad_ang_jn", true }, { "ad_bezahlt_jn", "ja" } }, true },
        { "Zahlung NULL", { { "ad_ang_jn", true }, { "ad_bezahlt_jn", QVariant() } }, true },
        { "weder noch", { { "ad_bezahlt_jn", " " } }, false },
        { "heute", { { "ad_ang_jn", true }, { "ad_lauf_datum", "08.12.2026" } }, true },
        { "gestern", { { "ad_ang_jn", true }, { "ad_lauf_datum", "07.12.2026" } }, false },
        { "kein Datum", { { "ad_ang_jn", true }, { "ad_lauf_datum", "31.02.2027" } }, false },
    };
    QStringList expected;
    for (const auto &c : cases) {
        QVariantMap fields { { "ad_lauf", c.name }, { "ad_lauf_datum", "01.06.2027" } };
        fields.insert(c.fields);
        folder.addRace(fields);
        if (c.listed)
            expected << QString::fromUtf8(c.name);
    }
    QStringList listed;
    ctx.races().unpaidComingRaces(kToday, [&listed](const Race &race) { listed << race.name; });
    // Nearest first; races of one day by number.
    expected.move(expected.indexOf("heute"), 0);
    EXPECT_EQ(listed, expected);
}

// A race on 01.06.2027 with Marathon deadlines and fees.
Race race(const char *name, const char *distance, std::array<const char *, 3> deadlines,
          std::array<const char *, 3> fees, const char *date = "01.06.2027")
{
    Race r;
    r.number = qHash(QByteArray(name));
    r.name = QString::fromUtf8(name);
    r.date = StoredDate(QString::fromLatin1(date));
    r.distance = QString::fromUtf8(distance);
    r.fees.thirdDistance = QStringLiteral("10 km");
    for (size_t i = 0; i < 3; ++i) {
        r.fees.deadlines[i] = StoredDate(QString::fromUtf8(deadlines[i]));
        r.fees.fees[i][distance == std::string("10 km") ? 2 : 0] = QString::fromUtf8(fees[i]);
    }
    return r;
}

QString shown(const FeeListRow &row)
{
    QStringList cells;
    for (int c = 0; c <= int(FeeColumn::Days); ++c)
        cells << row.text(FeeColumn(c));
    return cells.join(u'|') + (row.risesSoon() ? QStringLiteral(" fett") : QString());
}

TEST_F(FeeListTest, RowsTellTheFeeTodayTheRiseAndStandOutWithinTwoWeeks)
{
    const std::vector<Race> races = {
        race("Ohne Tabelle", "Marathon", { "", "", "" }, { "", "", "" }, "10.12.2026"),
        race("Abgelaufen", "Marathon", { "01.12.2026", "", "" }, { "30", "", "" }),
        race("Bald", "Marathon", { "21.12.2026", "31.03.2027", "" }, { "45", "55,-", "" }),
        race("Morgen", "10 km", { "08.12.2026", "31.01.2027", "" }, { "ca. 20", "25 €", "" }),
        race("Später", "Marathon", { "22.12.2026", "31.03.2027", "" }, { "45", "EUR 60", "" }),
        race("Letzte Frist", "Marathon", { "15.01.2027", "", "" }, { "frei", "", "" }),
        race("Billiger", "Marathon", { "10.12.2026", "31.03.2027", "" }, { "45", "40", "" }),
        race("Keine Strecke", " ", { "09.12.2026", "31.03.2027", "" }, { "45", "55", "" }),
    };
    const FeeList list = makeFeeList(races, kToday);
    QStringList rows;
    for (const FeeListRow &row : list.rows)
        rows << shown(row);
    // By the deadline of the fee today; those without one last, in the order they came.
    EXPECT_EQ(rows,
              QStringList({
                  "01.06.2027|Morgen|10 km|ca. 20|08.12.2026|25,00 €|1 fett",
                  "01.06.2027|Billiger|Marathon|45,00 €|10.12.2026|40,00 €|",
                  "01.06.2027|Bald|Marathon|45,00 €|21.12.2026|55,00 €|14 fett",
                  "01.06.2027|Später|Marathon|45,00 €|22.12.2026|60,00 €|15",
                  "01.06.2027|Letzte Frist|Marathon|0,00 €|15.01.2027||",
                  "10.12.2026|Ohne Tabelle|Marathon||||",
                  "01.06.2027|Abgelaufen|Marathon|Frist abgelaufen|||",
                  "01.06.2027|Keine Strecke|||||",
              }));
    EXPECT_EQ(list.rows[0].riseNote(),
              "Das Startgeld ändert sich morgen, am 09.12.2026, auf 25,00 €.");
    EXPECT_EQ(list.rows[2].riseNote(),
              "Das Startgeld steigt in 14 Tagen, am 22.12.2026, auf 55,00 €.");
    EXPECT_TRUE(list.rows[3].riseNote().isEmpty());
    EXPECT_EQ(feeSumLine(list),
              "Summe der heutigen Startgelder: 135,00 € für 4 Läufe; 1 Startgeld nicht lesbar");
}

TEST_F(FeeListTest, SumLineCountsInGerman)
{
    const struct
    {
        std::vector<const char *> fees;
        const char *line;
    } cases[] = {
        { {}, "Keine angemeldeten oder vorgemerkten Läufe mit offenem Startgeld." },
        { { "45" }, "Summe der heutigen Startgelder: 45,00 € für 1 Lauf" },
        { { "45", "45,50", "siehe Homepage", "40/45" },
          "Summe der heutigen Startgelder: 90,50 € für 2 Läufe; 2 Startgelder nicht lesbar" },
        { { "ca. 40" },
          "Summe der heutigen Startgelder: 0,00 € für 0 Läufe; 1 Startgeld nicht lesbar" },
        { { "" }, "Summe der heutigen Startgelder: 0,00 € für 0 Läufe" },
    };
    for (const auto &c : cases) {
        std::vector<Race> races;
        for (const char *fee : c.fees)
            races.push_back(race(fee, "Marathon", { "31.12.2026", "", "" }, { fee, "", "" }));
        EXPECT_EQ(feeSumLine(makeFeeList(races, kToday)), QString::fromUtf8(c.line));
    }
}

} // namespace
