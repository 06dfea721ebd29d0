// Temporary: the store's lists against the statements the window ran before.
#include "TestFolder.h"
#include "data/PlaceNameIndex.h"
#include "data/PostalStore.h"
#include "data/SqlTranslator.h"
#include "data/Sqlite.h"

#include <gtest/gtest.h>

namespace {
QList<qlonglong> listed(PostalList list)
{
    while (list.canReadMore())
        list.readMore();
    QList<qlonglong> numbers;
    for (int r = 0; r < list.rowsRead(); ++r)
        numbers << list.place(r).number;
    return numbers;
}
QString oldSearch(const QString &field, const QString &text)
{
    return QStringLiteral("select * from aw_plzort  where left(") + field + QStringLiteral(",'")
        + QString::number(text.toUcs4().size()) + QStringLiteral("' )  = ") + sqlQuoted(text)
        + QStringLiteral(" order by port");
}
void addMany(const TestFolder &folder)
{
    const QStringList names = { "Bad Tölz",
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
                                "Ｂad",
                                "ŀa",
                                "😀x" };
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
    db.exec("begin");
    Statement insert(db, "insert into aw_plzort (port, plz, pvw) values (?, ?, ?)");
    for (int i = 0; i < 6000; ++i) {
        insert.reset();
        const int pick = (i * 7919) % int(names.size() + 1);
        insert.bind(1, pick == names.size() ? QVariant() : QVariant(names[pick]));
        insert.bind(2, QString::number(10000 + (i * 37) % 90000));
        insert.bind(3,
                    i % 5 ? QVariant(QStringLiteral("0") + QString::number(i % 900)) : QVariant());
        insert.step();
    }
    db.exec("insert into aw_plzort (port) values (cast('Bad Ems' as blob))");
    db.exec("commit");
}
} // namespace

TEST(PostalOldPath, SameRowsAndOrderAsTheOldStatements)
{
    for (bool index : { false, true }) {
        TestFolder folder;
        addMany(folder);
        if (index) {
            SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
            PlaceNameIndex::ensure(db);
        }
        PostalStore store(folder.dbPath());
        EXPECT_EQ(
            listed(store.directory()),
            listedNumbers(folder, "select * from aw_plzort  order by port", "pov_nummer", true));
        const std::pair<PostalField, const char *> fields[] = { { PostalField::Town, "port" },
                                                                { PostalField::Postcode, "plz" },
                                                                { PostalField::DialCode, "pvw" } };
        for (const auto &[field, column] : fields) {
            for (const QString text :
                 { "", "b", "BAD", "bad tölz", "bä", "ä", "ü", "ue", "strasse", "'s",
                   "x' or 'a'='a", "1", "07", "0", "Ｂ", "😀", "ŀ", "ﬀ" }) {
                SCOPED_TRACE(std::string(column) + " " + text.toStdString()
                             + (index ? " index" : ""));
                const QString old = oldSearch(QLatin1String(column), text);
                EXPECT_EQ(listed(store.search(field, text)),
                          listedNumbers(folder, old, "pov_nummer", true));
            }
        }
    }
}

#include "data/PickListStore.h"

TEST(PickListOldPath, SameEntriesAndOrderAsTheOldStatements)
{
    TestFolder folder { TestFolder::Content::Seeded };
    const char *statements[] = { "select * from aw_lauf order by lauf",
                                 "select * from aw_zeitmessung order by zeitmessung",
                                 "select * from aw_anrede  order by anrede",
                                 "select * from aw_titel  order by titel",
                                 "select * from aw_strasse  order by strasse",
                                 "select * from aw_land  order by land" };
    const PickList lists[] = { PickList::Race,  PickList::Timing, PickList::Salutation,
                               PickList::Title, PickList::Street, PickList::Country };
    for (int i = 0; i < 6; ++i) {
        const PickListTable &t = pickListTable(lists[i]);
        for (const char *text :
             { "Über", "über", "Ueber", "ärger", "Arger", "", "b", "B", "ß", "ss" })
            folder.exec(QStringLiteral("insert into %1 (%2) values ('%3')")
                            .arg(t.table, t.column, QString::fromUtf8(text)));
        folder.exec(QStringLiteral("insert into %1 (%2) values (null)").arg(t.table, t.column));
        for (const char *text : { "über", "B", "" })
            folder.exec(QStringLiteral("insert into %1 (%2) values ('%3')")
                            .arg(t.table, t.column, QString::fromUtf8(text)));
        QList<qlonglong> got;
        for (const PickListEntry &e : PickListStore(folder.dbPath()).entries(lists[i]))
            got << e.number;
        // The old statements read the table's row key as its hidden key.
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        std::string sql = translateStatement(QString::fromLatin1(statements[i])).sql;
        sql.replace(sql.find('*'), 1, "_rowid_");
        QList<qlonglong> old;
        Statement st(db, sql);
        while (st.step())
            old << st.column(0).toLongLong();
        EXPECT_EQ(got, old) << statements[i];
    }
}
