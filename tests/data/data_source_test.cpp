#include "TestFolder.h"
#include "common/DbError.h"
#include "data/DataSource.h"
#include "data/Sqlite.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
int errorNumber(const std::function<void()> &f)
{
    try {
        f();
    } catch (const DbError &e) {
        return e.number();
    }
    return 0;
}

struct DataSourceTest : ::testing::Test
{
    TestFolder folder;
    DataSource ds;

    void open(const QString &statement)
    {
        ds.setDatabaseName(folder.dbPath());
        ds.setRecordSource(statement);
        ds.refresh();
    }
    QVariant stored(const std::string &sql) const
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
        return db.scalar(sql);
    }
};
} // namespace

TEST_F(DataSourceTest, NavigatesTheResultAndReportsItsEnds)
{
    folder.addRace({ { "ad_lauf", "A" }, { "ad_lauf_datum", "01.01.2020" } });
    folder.addRace({ { "ad_lauf", "B" }, { "ad_lauf_datum", "01.01.2021" } });
    folder.addRace({ { "ad_lauf", "C" }, { "ad_lauf_datum", "01.01.2019" } });
    open("select * from adressen order by cdate(ad_lauf_datum) desc");

    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.value("ad_lauf").toString(), "B");
    ds.moveNext();
    EXPECT_EQ(ds.value("AD_LAUF").toString(), "A"); // field names ignore case
    ds.moveLast();
    EXPECT_EQ(ds.value("ad_lauf").toString(), "C");
    ds.moveNext();
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(errorNumber([&] { ds.value("ad_lauf"); }), 3021);
    EXPECT_EQ(errorNumber([&] { ds.moveNext(); }), 3021);
    ds.moveFirst();
    EXPECT_TRUE(ds.findFirst("ad_nummer = 3"));
    EXPECT_EQ(ds.value("ad_lauf").toString(), "C");
    EXPECT_FALSE(ds.findFirst("ad_nummer = 99"));
    EXPECT_EQ(ds.value("ad_lauf").toString(), "C");
    EXPECT_EQ(errorNumber([&] { ds.value("kein_feld"); }), 3265);

    open("select * from adressen where ad_lauf = 'nichts'");
    EXPECT_TRUE(ds.eof());
    EXPECT_TRUE(ds.bof());
    EXPECT_EQ(ds.recordCount(), 0);
}

TEST_F(DataSourceTest, AddedRowHasItsNumberAtOnceAndStaysAtTheEndUntilTheNextRun)
{
    const qlonglong existing = folder.addRace({ { "ad_lauf", "Alt" } });
    open("select * from adressen order by ad_lauf");

    ds.addNew();
    const qlonglong number = ds.value("ad_nummer").toLongLong();
    EXPECT_EQ(number, existing + 1);
    ds.update();
    EXPECT_EQ(folder.count("adressen"), 2);
    // The current row is the one before the add; the new row is the last one.
    EXPECT_EQ(ds.value("ad_lauf").toString(), "Alt");
    ds.moveLast();
    EXPECT_EQ(ds.value("ad_nummer").toLongLong(), number);
    EXPECT_TRUE(ds.value("ad_lauf").isNull());
    EXPECT_EQ(ds.value("ad_ang_jn").toInt(), 0); // yes/no columns start as false

    // A deleted number is never handed out again.
    ds.edit();
    ds.deleteCurrent();
    ds.addNew();
    EXPECT_EQ(ds.value("ad_nummer").toLongLong(), number + 1);
    ds.cancelUpdate();
    EXPECT_EQ(folder.count("adressen"), 1);
}

TEST_F(DataSourceTest, WritesReachTheFileAtOnceAndKeepNullApartFromEmpty)
{
    folder.addRace({ { "ad_lauf", "Lauf" }, { "ad_zeit", "3:59" } });
    open("select * from adressen");
    ds.edit();
    ds.setValue("ad_lauf", QStringLiteral("Läufer's \"Lauf\""));
    ds.setValue("ad_zeit", QString(""));
    ds.setValue("ad_memo", QVariant());
    ds.setValue("ad_ang_jn", true);
    ds.update();

    EXPECT_EQ(stored("select ad_lauf from adressen").toString(), "Läufer's \"Lauf\"");
    EXPECT_EQ(stored("select ad_zeit is not null and ad_zeit = '' from adressen").toInt(), 1);
    EXPECT_EQ(stored("select ad_memo is null from adressen").toInt(), 1);
    EXPECT_EQ(stored("select count(*) from adressen where ad_ang_jn=true").toInt(), 1);
    EXPECT_EQ(errorNumber([&] { ds.setValue("ad_lauf", "x"); }), 3020); // not in edit state
}

TEST_F(DataSourceTest, MovingAwayOrRefreshingDropsUnsavedChanges)
{
    folder.addRace({ { "ad_lauf", "Eins" } });
    folder.addRace({ { "ad_lauf", "Zwei" } });
    open("select * from adressen order by ad_lauf");
    ds.edit();
    ds.setValue("ad_lauf", "Geändert");
    EXPECT_EQ(ds.value("ad_lauf").toString(), "Geändert");
    ds.moveNext();
    ds.moveFirst();
    EXPECT_EQ(ds.value("ad_lauf").toString(), "Eins");

    ds.addNew();
    ds.refresh();
    EXPECT_EQ(folder.count("adressen"), 2);
    EXPECT_EQ(ds.editMode(), DataSource::EditMode::None);
}

TEST_F(DataSourceTest, RowChangedSinceReadIsReportedOnceAndTheRepeatedWriteSucceeds)
{
    folder.addRace({ { "ad_lauf", "Eins" } });
    open("select * from adressen");
    ds.edit();
    folder.exec("update adressen set ad_lauf = 'anderswo'");
    ds.setValue("ad_zeit", "4:00");
    EXPECT_EQ(errorNumber([&] { ds.update(); }), 3197);
    EXPECT_EQ(stored("select ad_zeit from adressen").toString(), QString());
    ds.update();
    EXPECT_EQ(stored("select ad_zeit from adressen").toString(), "4:00");
    EXPECT_EQ(stored("select ad_lauf from adressen").toString(), "anderswo");
}

TEST_F(DataSourceTest, DeleteLeavesTheSlotOnTheNextRow)
{
    for (const char *name : { "A", "B", "C" })
        folder.addRace({ { "ad_lauf", name } });
    open("select * from adressen order by ad_lauf");
    QSignalSpy removed(&ds, &DataSource::rowRemoved);
    ds.moveNext();
    ds.deleteCurrent();
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(errorNumber([&] { ds.value("ad_lauf"); }), 3167);
    ds.moveNext();
    EXPECT_EQ(ds.value("ad_lauf").toString(), "C");
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(folder.count("adressen"), 2);
}

TEST_F(DataSourceTest, FailingStatementKeepsThePreviousResultAndTablesWithoutKeyAreWritable)
{
    folder.exec("insert into aw_lauf values ('Zugspitzlauf'), ('Alsterlauf'), ('ärmellauf')");
    open("select * from aw_lauf order by lauf");
    EXPECT_EQ(ds.value("lauf").toString(), "Alsterlauf");
    ds.moveNext();
    EXPECT_EQ(ds.value("lauf").toString(), "ärmellauf");
    ds.edit();
    ds.setValue("lauf", "Ärmelkanallauf");
    ds.update();
    EXPECT_EQ(stored("select count(*) from aw_lauf where lauf = 'Ärmelkanallauf'").toInt(), 1);

    ds.setRecordSource("select * from gibt_es_nicht");
    EXPECT_NE(errorNumber([&] { ds.refresh(); }), 0);
    EXPECT_EQ(ds.recordCount(), 3);

    DataSource missing;
    missing.setDatabaseName(folder.file("fehlt.mdb"));
    missing.setRecordSource("select * from adressen");
    EXPECT_EQ(errorNumber([&] { missing.refresh(); }), 3024);
    EXPECT_FALSE(QFile::exists(folder.file("fehlt.mdb")));
}

TEST_F(DataSourceTest, LongResultsAreReadPageByPageInTheirOrder)
{
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        db.exec("BEGIN");
        for (int i = 1; i <= 200; ++i)
            db.exec(QStringLiteral("insert into adressen (ad_lauf, ad_lauf_datum) values "
                                   "('Lauf %1', '%2.01.2020')")
                        .arg(i, 3, 10, QLatin1Char('0'))
                        .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                        .toStdString());
        db.exec("COMMIT");
    }
    open("select * from adressen order by ad_lauf desc");
    ASSERT_EQ(ds.recordCount(), 200);
    // Rows beyond the first page are changed and deleted after the list was read.
    folder.exec("update adressen set ad_zeit = 'neu' where ad_lauf = 'Lauf 050'");
    folder.exec("delete from adressen where ad_lauf = 'Lauf 010'");

    const int lauf = ds.fieldIndex("ad_lauf");
    EXPECT_EQ(ds.valueAt(0, lauf).toString(), "Lauf 200");
    EXPECT_EQ(ds.valueAt(150, lauf).toString(), "Lauf 050");
    EXPECT_EQ(ds.valueAt(150, ds.fieldIndex("ad_zeit")).toString(), "neu");
    EXPECT_TRUE(ds.valueAt(190, lauf).isNull());
    EXPECT_EQ(ds.valueAt(199, lauf).toString(), "Lauf 001");

    EXPECT_TRUE(ds.findFirst("ad_lauf = 'Lauf 070'"));
    EXPECT_EQ(ds.currentIndex(), 130);
    ds.moveLast();
    EXPECT_EQ(ds.value("ad_lauf").toString(), "Lauf 001");
    ds.edit();
    ds.setValue("ad_zeit", "3:30");
    ds.update();
    EXPECT_EQ(stored("select ad_zeit from adressen where ad_lauf = 'Lauf 001'").toString(), "3:30");
}

TEST_F(DataSourceTest, RowsScrolledPastAreReadAgainFromTheFileWithWhatWasStored)
{
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        db.exec("BEGIN");
        for (int i = 1; i <= 6000; ++i)
            db.exec(QStringLiteral("insert into adressen (ad_lauf) values ('Lauf %1')")
                        .arg(i, 4, 10, QLatin1Char('0'))
                        .toStdString());
        db.exec("COMMIT");
    }
    open("select * from adressen order by ad_lauf");
    const int lauf = ds.fieldIndex("ad_lauf");
    const int zeit = ds.fieldIndex("ad_zeit");
    ds.moveTo(2);
    ds.edit();
    ds.setValue("ad_zeit", "4:01");
    ds.update();
    // Scroll to the end and back: the first rows come from the file again, with the change.
    for (int r = 0; r < ds.recordCount(); ++r)
        ASSERT_EQ(ds.valueAt(r, lauf).toString(),
                  QStringLiteral("Lauf %1").arg(r + 1, 4, 10, QLatin1Char('0')));
    folder.exec("update adressen set ad_zeit = 'anderswo' where ad_lauf = 'Lauf 0002'");
    EXPECT_EQ(ds.valueAt(1, zeit).toString(), "anderswo");
    EXPECT_EQ(ds.valueAt(2, zeit).toString(), "4:01");
    // The current row stays as read; editing it after the scroll writes the right row.
    EXPECT_EQ(ds.value("ad_lauf").toString(), "Lauf 0003");
    ds.edit();
    ds.setValue("ad_zeit", "4:02");
    ds.update();
    EXPECT_EQ(stored("select ad_zeit from adressen where ad_lauf = 'Lauf 0003'").toString(),
              "4:02");
    EXPECT_EQ(ds.valueAt(2, zeit).toString(), "4:02");
}

namespace {
// Races on 50 days, 20 a day, numbered 1..n; the list by date lists them latest day first and
// by number within a day.
void addRacesOnFewDays(const TestFolder &folder, int n)
{
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
    db.exec("BEGIN");
    for (int i = 1; i <= n; ++i)
        db.exec(QStringLiteral("insert into adressen (ad_lauf, ad_lauf_datum) values "
                               "('Lauf %1', '%2.03.2021')")
                    .arg(i)
                    .arg(i % 25 + 1, 2, 10, QLatin1Char('0'))
                    .toStdString());
    db.exec("COMMIT");
}

const char *const kByDate = "select * from adressen order by cdate(ad_lauf_datum) desc";

QList<qlonglong> numbersInListOrder(const TestFolder &folder)
{
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
    Statement st(db,
                 "select ad_nummer from adressen order by substr(ad_lauf_datum, 1, 2) desc, "
                 "ad_nummer");
    QList<qlonglong> numbers;
    while (st.step())
        numbers << st.column(0).toLongLong();
    return numbers;
}

QList<qlonglong> listedNumbers(DataSource &ds)
{
    QList<qlonglong> numbers;
    for (int r = 0; r < ds.recordCount(); ++r)
        numbers << ds.valueAt(r, ds.fieldIndex("ad_nummer")).toLongLong();
    return numbers;
}
} // namespace

TEST_F(DataSourceTest, ALongListReadsItsKeysAPartAtATimeInTheOrderOfTheWholeRun)
{
    addRacesOnFewDays(folder, 1500);
    open(kByDate);
    EXPECT_TRUE(ds.hasRows());
    EXPECT_FALSE(ds.eof());
    EXPECT_LT(ds.rowsRead(), 1500); // only the first screens
    EXPECT_TRUE(ds.canReadMore());

    // Walking row by row crosses every part boundary; each row comes once, in order.
    const QList<qlonglong> expected = numbersInListOrder(folder);
    QList<qlonglong> walked;
    while (!ds.eof()) {
        walked << ds.value("ad_nummer").toLongLong();
        ds.moveNext();
    }
    EXPECT_EQ(walked, expected);
    EXPECT_FALSE(ds.canReadMore());

    // Jumps beyond the rows read so far.
    open(kByDate);
    ASSERT_TRUE(ds.findFirst(QStringLiteral("ad_nummer = %1").arg(expected[1200])));
    EXPECT_EQ(ds.currentIndex(), 1200);
    open(kByDate);
    ds.setBookmark(expected[900]);
    EXPECT_EQ(ds.currentIndex(), 900);
    open(kByDate);
    ds.moveLast();
    EXPECT_EQ(ds.value("ad_nummer").toLongLong(), expected.last());
    open(kByDate);
    EXPECT_EQ(ds.recordCount(), 1500);
    EXPECT_EQ(listedNumbers(ds), expected);

    // A filter that matches nothing: no rows, and nothing more to read.
    open("select * from adressen where ad_lauf = 'keiner' order by cdate(ad_lauf_datum) desc");
    EXPECT_FALSE(ds.hasRows());
    EXPECT_TRUE(ds.eof());
    EXPECT_FALSE(ds.canReadMore());
}

TEST_F(DataSourceTest, WritesBetweenPartsNeitherLoseNorRepeatARow)
{
    addRacesOnFewDays(folder, 1500);
    const QList<qlonglong> before = numbersInListOrder(folder);
    open(kByDate);
    const int read = ds.rowsRead();
    // The first row moves to the very end of the list, the second goes, and a row of the part
    // not read yet moves to the top: each shifts the rows after it.
    ds.moveFirst();
    ds.edit();
    ds.setValue("ad_lauf_datum", "01.01.1990");
    ds.update();
    ds.moveNext();
    ds.deleteCurrent();
    folder.exec(QStringLiteral("update adressen set ad_lauf_datum = '31.12.2030' where "
                               "ad_nummer = %1")
                    .arg(before[read + 5]));

    QList<qlonglong> listed = listedNumbers(ds);
    // The rows read before the writes keep their places (the moved one too); the rest follow
    // once each.
    EXPECT_EQ(listed.size(), 1499);
    EXPECT_EQ(listed[0], before[0]);
    EXPECT_EQ(listed[1], before[2]);
    EXPECT_EQ(QSet<qlonglong>(listed.begin(), listed.end()).size(), 1499);
    EXPECT_FALSE(listed.contains(before[1]));
    EXPECT_TRUE(listed.contains(before[read + 5]));

    // A new row comes after every row, also those not read when it was added.
    open(kByDate);
    ds.addNew();
    ds.setValue("ad_lauf", "Neu");
    ds.setValue("ad_lauf_datum", "15.03.2021");
    ds.update();
    ds.moveLast();
    EXPECT_EQ(ds.value("ad_lauf").toString(), "Neu");
    EXPECT_EQ(ds.recordCount(), 1500);
    listed = listedNumbers(ds);
    EXPECT_EQ(QSet<qlonglong>(listed.begin(), listed.end()).size(), 1500);
}
