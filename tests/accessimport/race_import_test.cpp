// SPDX-License-Identifier: GPL-3.0-or-later
// Taking races over, fed with rows as the Jet reader delivers them, into a real database.
#include "RaceLogSource.h"
#include "TestFolder.h"
#include "common/DbError.h"
#include "data/Sqlite.h"
#include "jet/RaceImport.h"

#include <QDateTime>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QVariantList column(const TestFolder &folder, const QString &sql)
{
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
    Statement st(db, sql.toStdString());
    QVariantList values;
    while (st.step())
        values << st.column(0);
    return values;
}

// A race as the old program stored it, every field filled.
QVariantMap fullRace(const JetTable &races, qlonglong number)
{
    QVariantMap race;
    for (const JetColumn &c : races.columns) {
        if (c.type == JetType::Bool)
            race[c.name] = true;
        else if (c.type == JetType::Integer)
            race[c.name] = number;
        else
            race[c.name] = QStringLiteral("%1 Nr. %2 äöüß é").arg(c.name).arg(number);
    }
    race["ad_lauf_datum"] = "10.01.2003";
    race["ad_gelaufen_jn"] = "Ja";
    race["ad_alarm_jn"] = " ";
    race["ad_memo"] = QString(300, u'ü') + "Ende";
    return race;
}

struct ImportTest : ::testing::Test
{
    TestFolder folder { TestFolder::Content::Seeded };
    RaceLogSource source;

    ImportResult run() { return importRaces(source, folder.dbPath()); }
    void expectRefused(const char *fragment, const ImportHook &hook = {})
    {
        const QByteArray before = bytesOf(folder.dbPath());
        try {
            importRaces(source, folder.dbPath(), hook);
            ADD_FAILURE() << "taken over although " << fragment;
        } catch (const DbError &e) {
            EXPECT_TRUE(e.description().contains(QString::fromUtf8(fragment)))
                << e.description().toStdString();
        }
        EXPECT_EQ(bytesOf(folder.dbPath()), before) << fragment;
    }
};

} // namespace

TEST_F(ImportTest, EveryColumnArrivesAsTheOldProgramStoredIt)
{
    const QVariantMap race = fullRace(source.table("adressen"), 7);
    source.add("adressen", race);
    folder.addRace({ { "ad_lauf", "schon da" } }); // the new race gets another number

    const ImportResult result = run();

    EXPECT_EQ(result.racesAdded, 1);
    EXPECT_TRUE(result.missingColumns.isEmpty());
    const QVariantMap stored = folder.firstRow("select * from adressen where ad_nummer <> ?", 1);
    ASSERT_FALSE(stored.isEmpty());
    for (auto it = race.begin(); it != race.end(); ++it) {
        if (it.key() == "ad_nummer")
            EXPECT_EQ(stored[it.key()].toLongLong(), 2);
        else if (it.value().typeId() == QMetaType::Bool)
            EXPECT_EQ(stored[it.key()].toLongLong(), 1) << it.key().toStdString();
        else
            EXPECT_EQ(stored[it.key()], it.value()) << it.key().toStdString();
    }
}

TEST_F(ImportTest, DateTimeColumnsBecomeTheDateTextsAndNullsStayNull)
{
    JetTable &races = source.table("adressen");
    for (const char *name : { "ad_lauf_datum", "ad_alarm_datum", "ad_start" })
        races.columns[races.columnIndex(name)].type = JetType::DateTime;
    races.columns[races.columnIndex("ad_blz1")].type = JetType::Integer;
    source.add("adressen",
               { { "ad_nummer", 1 },
                 { "ad_lauf", "Silvesterlauf" },
                 { "ad_lauf_datum", QDateTime(QDate(2003, 1, 10), QTime(0, 0)) },
                 { "ad_alarm_datum", QDateTime(QDate(1899, 12, 30), QTime(0, 0)) },
                 { "ad_start", QDateTime(QDate(1899, 12, 30), QTime(9, 5)) },
                 { "ad_blz1", 37010050LL },
                 { "ad_ang_jn", false },
                 { "ad_vorgemerkt_jn", true } });

    run();

    const QVariantMap stored = folder.firstRow("select * from adressen where ad_nummer = ?", 1);
    EXPECT_EQ(stored["ad_lauf_datum"], "10.01.2003");
    EXPECT_EQ(stored["ad_alarm_datum"], "30.12.1899");
    EXPECT_EQ(stored["ad_start"], "09:05");
    EXPECT_EQ(stored["ad_blz1"], "37010050");
    EXPECT_EQ(stored["ad_ang_jn"].toLongLong(), 0);
    EXPECT_EQ(stored["ad_vorgemerkt_jn"].toLongLong(), 1);
    EXPECT_TRUE(stored["ad_zeit"].isNull());
    EXPECT_TRUE(stored["ad_memo"].isNull());
}

TEST_F(ImportTest, DocumentsFollowTheirRacesToTheNewNumbers)
{
    folder.addRace({ { "ad_lauf", "schon da" } });
    folder.addRace({ { "ad_lauf", "auch schon da" } });
    source.add("adressen", { { "ad_nummer", 7 }, { "ad_lauf", "Sieben" } });
    source.add("adressen", { { "ad_nummer", 12 }, { "ad_lauf", "Zwölf" } });
    source.add("ereignisse_dokumente",
               { { "erd_nummer", 1 },
                 { "ed_nummer", "12" },
                 { "ed_datei", "/d/a.pdf" },
                 { "ed_dateiname", "Ausschreibung" } });
    source.add("ereignisse_dokumente",
               { { "erd_nummer", 2 },
                 { "ed_nummer", " 7" },
                 { "ed_datei", "/d/b.pdf" },
                 { "ed_dateiname", "Urkunde" } });
    source.add("ereignisse_dokumente",
               { { "erd_nummer", 3 }, { "ed_nummer", "99" }, { "ed_datei", "/d/c.pdf" } });

    const ImportResult result = run();

    EXPECT_EQ(result.documentsAdded, 2);
    EXPECT_EQ(result.documentsWithoutRace, 1);
    const QVariantList owners = column(folder,
                                       "select a.ad_lauf from ereignisse_dokumente d join "
                                       "adressen a on val(d.ed_nummer) = a.ad_nummer "
                                       "order by d.ed_datei");
    EXPECT_EQ(owners, (QVariantList { "Zwölf", "Sieben" }));
    EXPECT_EQ(column(folder, "select ed_nummer from ereignisse_dokumente order by ed_datei"),
              (QVariantList { "4", "3" }));
}

TEST_F(ImportTest, PickListAndPostalEntriesAreMergedByTheirText)
{
    source.add("aw_anrede", { { "anrede", "Herr" } }); // in the starter content
    source.add("aw_anrede", { { "anrede", "Herr Dr." } });
    source.add("aw_anrede", { { "anrede", "Herr Dr." } });
    source.add("aw_anrede", { { "anrede", " " } });
    source.add("aw_land", { { "land", "D" }, { "land_name", "Deutschland" } });
    source.add("aw_land", { { "land", "PL" }, { "land_name", "Polen" } });
    source.add("aw_lauf", { { "lauf", "Rennsteiglauf" } });
    source.add("aw_plzort",
               { { "pov_nummer", 1 }, { "port", "Berlin" }, { "plz", "10115" }, { "pvw", "030" } });
    source.add("aw_plzort",
               { { "pov_nummer", 2 }, { "port", "Berlin" }, { "plz", "10117" }, { "pvw", "030" } });
    const long long postalBefore = folder.count("aw_plzort");

    const ImportResult result = run();

    EXPECT_EQ(result.pickListEntriesAdded, 3);
    EXPECT_EQ(result.postalEntriesAdded, 1);
    EXPECT_EQ(column(folder, "select anrede from aw_anrede where anrede like 'Herr%'"),
              (QVariantList { "Herr", "Herr Dr." }));
    EXPECT_EQ(column(folder, "select land_name from aw_land where land = 'PL'"),
              (QVariantList { "Polen" }));
    EXPECT_EQ(folder.count("aw_plzort"), postalBefore + 1);
    EXPECT_EQ(column(folder, "select pvw from aw_plzort where plz = '10117'"),
              (QVariantList { "030" }));
}

TEST_F(ImportTest, TheSecondImportOfTheSameFileAddsNothing)
{
    for (int n = 1; n <= 3; ++n)
        source.add("adressen", fullRace(source.table("adressen"), n));
    source.add("adressen", { { "ad_nummer", 4 }, { "ad_lauf", "fast leer" } });
    source.add("ereignisse_dokumente",
               { { "erd_nummer", 1 }, { "ed_nummer", "4" }, { "ed_datei", "/d/a.pdf" } });
    source.add("aw_titel", { { "titel", "Mag." } });

    const ImportResult first = run();
    const QByteArray afterFirst = bytesOf(folder.dbPath());
    const ImportResult second = run();

    EXPECT_EQ(first.racesAdded, 4);
    EXPECT_EQ(first.documentsAdded, 1);
    EXPECT_EQ(first.pickListEntriesAdded, 1);
    EXPECT_EQ(second.racesAdded, 0);
    EXPECT_EQ(second.racesPresent, 4);
    EXPECT_EQ(second.documentsAdded, 0);
    EXPECT_EQ(second.pickListEntriesAdded, 0);
    EXPECT_EQ(second.postalEntriesAdded, 0);
    EXPECT_EQ(bytesOf(folder.dbPath()), afterFirst);
}

TEST_F(ImportTest, ARaceDifferingInOneFieldIsANewRace)
{
    source.add("adressen", { { "ad_nummer", 1 }, { "ad_lauf", "Lauf" }, { "ad_zeit", "3:59" } });
    run();
    source.table("adressen").rows.clear();
    source.add("adressen", { { "ad_nummer", 1 }, { "ad_lauf", "Lauf" }, { "ad_zeit", "3:58" } });
    source.add("adressen", { { "ad_nummer", 2 }, { "ad_lauf", "Lauf" } }); // null, not "3:59"

    const ImportResult result = run();

    EXPECT_EQ(result.racesAdded, 2);
    EXPECT_EQ(folder.count("adressen"), 3);
}

TEST_F(ImportTest, MissingColumnsAreFilledAsForANewRaceAndNamed)
{
    JetTable &races = source.table("adressen");
    for (const char *name : { "ad_zeit", "ad_startbild_jn" }) {
        races.columns.removeAt(races.columnIndex(name));
    }
    source.add("adressen", { { "ad_nummer", 1 }, { "ad_lauf", "Lauf" } });

    const ImportResult result = run();

    EXPECT_EQ(result.missingColumns,
              (QStringList { "adressen.ad_zeit", "adressen.ad_startbild_jn" }));
    const QVariantMap stored = folder.firstRow("select * from adressen where ad_lauf = ?", "Lauf");
    EXPECT_TRUE(stored["ad_zeit"].isNull());
    EXPECT_EQ(stored["ad_startbild_jn"].toLongLong(), 0);
    EXPECT_TRUE(importReport(result).contains("adressen.ad_zeit, adressen.ad_startbild_jn"));
}

TEST_F(ImportTest, BadLayoutsAreRefusedAndLeaveTheDatabaseAsItWas)
{
    folder.addRace({ { "ad_lauf", "schon da" } });
    source.add("adressen", { { "ad_nummer", 1 }, { "ad_lauf", "Lauf" } });
    {
        SCOPED_TRACE("missing table");
        RaceLogSource saved = source;
        source.dropTable("aw_titel");
        expectRefused("es fehlen: aw_titel");
        source = saved;
    }
    {
        SCOPED_TRACE("extra column");
        RaceLogSource saved = source;
        source.table("adressen").columns.append({ "ad_sponsor", JetType::Text });
        source.table("adressen").rows[0].append("Firma");
        expectRefused("adressen.ad_sponsor");
        source = saved;
    }
    {
        SCOPED_TRACE("text where Yes/No is expected");
        RaceLogSource saved = source;
        JetTable &races = source.table("adressen");
        races.columns[races.columnIndex("ad_ang_jn")].type = JetType::Text;
        expectRefused("adressen.ad_ang_jn (Text statt Ja/Nein)");
        source = saved;
    }
    {
        SCOPED_TRACE("columns without a name");
        RaceLogSource saved = source;
        for (const char *name : { "", " " }) {
            source.table("adressen").columns.append({ name, JetType::Text });
            source.table("adressen").rows[0].append("?");
        }
        expectRefused("beschädigt und kann nicht gelesen werden: 2 Spalten der Tabelle "
                      "'adressen' haben keinen Namen");
        source = saved;
    }
    {
        SCOPED_TRACE("file vanishing while being read");
        source.failOn("aw_plzort");
        expectRefused("verschwunden");
        source.failOn({});
    }
}

// Each column takes the Jet types that can hold what it stores; a text flag is text, not Yes/No.
TEST_F(ImportTest, EachColumnTakesTheJetTypesOfItsKind)
{
    source.add("adressen", { { "ad_nummer", 1 }, { "ad_lauf", "Lauf" } });
    const struct
    {
        const char *table;
        const char *column;
        JetType type;
        const char *refusal; // nullptr: taken over
    } cases[] = {
        { "adressen", "ad_nummer", JetType::Text, "adressen.ad_nummer (Text statt Zahl)" },
        { "adressen", "ad_gelaufen_jn", JetType::Bool,
          "adressen.ad_gelaufen_jn (Ja/Nein statt Text)" },
        { "adressen", "ad_memo_jn", JetType::Memo, nullptr },
        { "adressen", "ad_startbild_jn", JetType::Integer,
          "adressen.ad_startbild_jn (Zahl statt Ja/Nein)" },
        { "adressen", "ad_sg2_datum", JetType::Real,
          "adressen.ad_sg2_datum (Kommazahl statt Text oder Datum/Uhrzeit)" },
        { "adressen", "ad_bezahlt_datum", JetType::DateTime, nullptr },
        { "adressen", "ad_start", JetType::Integer,
          "adressen.ad_start (Zahl statt Text oder Datum/Uhrzeit)" },
        { "adressen", "ad_zeit", JetType::DateTime, "adressen.ad_zeit (Datum/Uhrzeit statt Text)" },
        { "aw_land", "land_name", JetType::Bool, "aw_land.land_name (Ja/Nein statt Text)" },
        { "aw_plzort", "pov_nummer", JetType::Text, "aw_plzort.pov_nummer (Text statt Zahl)" },
        { "ereignisse_dokumente", "ed_datei", JetType::Real,
          "ereignisse_dokumente.ed_datei (Kommazahl statt Text)" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.column);
        const RaceLogSource saved = source;
        JetTable &table = source.table(c.table);
        table.columns[table.columnIndex(c.column)].type = c.type;
        if (c.refusal)
            expectRefused(c.refusal);
        else
            EXPECT_NO_THROW(run());
        source = saved;
    }
}

TEST_F(ImportTest, AFailedWriteIsRolledBackCompletely)
{
    for (int n = 1; n <= 50; ++n)
        source.add("adressen", fullRace(source.table("adressen"), n));
    source.add("aw_lauf", { { "lauf", "Neuer Lauf" } });
    {
        SCOPED_TRACE("fault in the middle of the write");
        int written = 0;
        expectRefused("nicht in die Datenbank", [&](const char *point, SqliteDb &) {
            if (QByteArray(point) == "race" && ++written == 25)
                throw DbError(ErrNo::DiskError, "Schreibfehler");
        });
    }
    {
        SCOPED_TRACE("full disk");
        expectRefused("Speicherplatz", [](const char *point, SqliteDb &db) {
            if (QByteArray(point) == "begin") {
                const qlonglong pages = db.scalar("pragma page_count").toLongLong();
                db.exec("pragma max_page_count = " + std::to_string(pages + 2));
            }
        });
    }
    EXPECT_EQ(run().racesAdded, 50); // and nothing was left half-done
}

// Access leaves the row count in a table's header at 0 when it was not closed properly: every
// row read is taken over, and the report says why the count differs.
TEST_F(ImportTest, RowsOfATableWhoseHeaderCountsNoneAreTakenOverAndNamed)
{
    source.add("adressen", { { "ad_nummer", 1 }, { "ad_lauf", "Lauf" } });
    source.add("adressen", { { "ad_nummer", 2 }, { "ad_lauf", "Lauf 2" } });
    source.add("aw_lauf", { { "lauf", "Neuer Lauf" } });
    source.table("adressen").headerRowCount = 0;
    source.table("aw_lauf").headerRowCount = 0;
    source.table("aw_land").headerRowCount = 0; // empty indeed: nothing to say

    const ImportResult result = run();

    EXPECT_EQ(result.racesAdded, 2);
    EXPECT_EQ(result.rowsBeyondCount,
              (QStringList { "adressen (2 Zeilen)", "aw_lauf (1 Zeilen)" }));
    const QString report = importReport(result);
    EXPECT_TRUE(report.contains("nicht ordnungsgemäß geschlossen: ihre Tabellen adressen (2 "
                                "Zeilen), aw_lauf (1 Zeilen) gaben 0 Zeilen an"))
        << report.toStdString();
    EXPECT_FALSE(importReport(ImportResult {}).contains("geschlossen"));
}
