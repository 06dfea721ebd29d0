// SPDX-License-Identifier: GPL-3.0-or-later
// A directory far longer than the grid shows is read from its top; the rows and their order must
// be exactly those of reading it whole.
#include "TestFolder.h"
#include "data/DataSource.h"
#include "data/Sqlite.h"
#include "postal/PlzOrtSearch.h"

#include <gtest/gtest.h>

namespace {

// Enough places that the keys are read in several steps (the first ones, a larger top, all).
constexpr int kPlaces = 12000;

// Many places of equal rank (the same name in other cases, spelt with and without umlauts,
// which the German order tells apart or not), empty and missing names, quotes.
void addManyPlaces(const TestFolder &folder)
{
    const QStringList names = {
        "Bad Tölz",
        "bad tölz",
        "BAD TÖLZ",
        "Bad Toelz",
        "Ähren",
        "Ahren",
        "Ärzen",
        "Arzen",
        "Zell",
        "",
        "Sankt Peter's Hof",
        "Straße",
        "Strasse",
        "straße",
        "'s-Hertogenbosch",
        "Öhringen",
        "Oehringen",
        "Ébène",
        "Bad",
        "B",
        "Bad Tölz am See",
        "Über",
        "uber",
        "10 Dörfer",
    };
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
    db.exec("begin");
    Statement insert(db, "insert into aw_plzort (port, plz, pvw) values (?, ?, ?)");
    for (int i = 0; i < kPlaces; ++i) {
        insert.reset();
        // Names spread over the table, so that equal names are far apart in it.
        const int pick = (i * 7919) % int(names.size() + 1);
        insert.bind(1, pick == names.size() ? QVariant() : QVariant(names[pick]));
        insert.bind(2, QString::number(10000 + (i * 37) % 90000));
        insert.bind(3,
                    i % 5 ? QVariant(QStringLiteral("0") + QString::number(i % 900)) : QVariant());
        insert.step();
    }
    db.exec("commit");
}

// Every row as "number|place", top to bottom.
QStringList rowsOf(const DataSource &ds)
{
    QStringList rows;
    const int key = ds.fieldIndex(QStringLiteral("pov_nummer"));
    const int port = ds.fieldIndex(QStringLiteral("port"));
    for (int r = 0; r < ds.recordCount(); ++r)
        rows << ds.valueAt(r, key).toString() + u'|' + ds.valueAt(r, port).toString();
    return rows;
}

struct Search
{
    const char *field;
    QString text;
};

} // namespace

TEST(PostalOrder, ReadingTheTopFirstGivesTheRowsAndOrderOfReadingAll)
{
    TestFolder folder;
    addManyPlaces(folder);
    const std::vector<Search> searches = {
        { "port", "" },  { "port", "B" },    { "port", "bad" }, { "port", "Bad Tölz" },
        { "port", "ä" }, { "port", "Über" }, { "port", "'s" },  { "port", "nichts" },
        { "plz", "1" },  { "pvw", "07" },
    };
    std::vector<QString> statements = { PlzOrt::directoryStatement() };
    for (const Search &s : searches)
        statements.push_back(PlzOrt::searchStatement(QLatin1String(s.field), s.text));

    for (const QString &statement : statements) {
        SCOPED_TRACE(statement.toStdString());
        DataSource whole;
        whole.setDatabaseName(folder.dbPath());
        whole.setRecordSource(statement);
        whole.refresh();
        const QStringList expected = rowsOf(whole);

        DataSource top;
        top.setKeysOnDemand(true);
        top.setDatabaseName(folder.dbPath());
        top.setRecordSource(statement);
        top.refresh();
        ASSERT_EQ(top.recordCount(), whole.recordCount());
        EXPECT_EQ(rowsOf(top), expected);

        // Jumping to the end first, as dragging the scroll bar does.
        top.refresh();
        if (top.recordCount() > 0) {
            top.moveLast();
            EXPECT_EQ(top.value(QStringLiteral("pov_nummer")).toString(),
                      expected.back().section(u'|', 0, 0));
        }
        EXPECT_EQ(rowsOf(top), expected);
    }
}

TEST(PostalOrder, SearchesAndWritesOnAPartlyReadListSeeEveryRow)
{
    TestFolder folder;
    addManyPlaces(folder);
    DataSource ds;
    ds.setKeysOnDemand(true);
    ds.setDatabaseName(folder.dbPath());
    ds.setRecordSource(PlzOrt::directoryStatement());
    ds.refresh();
    const int count = ds.recordCount();
    ASSERT_EQ(count, kPlaces);

    // The highest number sorts somewhere in the middle, far beyond the rows read first.
    ASSERT_TRUE(ds.findFirst(QStringLiteral("pov_nummer = %1").arg(kPlaces)));
    const int found = ds.currentIndex();
    EXPECT_GT(found, 256);
    EXPECT_EQ(ds.bookmark().toLongLong(), kPlaces);

    ds.refresh();
    ds.moveTo(count - 1);
    const qlonglong last = ds.value(QStringLiteral("pov_nummer")).toLongLong();
    ds.deleteCurrent();
    EXPECT_EQ(ds.recordCount(), count - 1);
    ds.addNew();
    ds.setValue(QStringLiteral("port"), QStringLiteral("Aachen"));
    ds.update();
    EXPECT_EQ(ds.recordCount(), count);

    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
    EXPECT_EQ(db.scalar("select count(*) from aw_plzort where pov_nummer = " + std::to_string(last))
                  .toInt(),
              0);
    ds.refresh();
    EXPECT_TRUE(ds.value(QStringLiteral("port")).isNull()); // places without a name first
    ASSERT_TRUE(ds.findFirst(QStringLiteral("port = 'Aachen'")));
    EXPECT_EQ(ds.value(QStringLiteral("pov_nummer")).toInt(), kPlaces + 1);
}
