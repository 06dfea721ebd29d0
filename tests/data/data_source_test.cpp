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
