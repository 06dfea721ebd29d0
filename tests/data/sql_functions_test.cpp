#include "data/SqlFunctions.h"
#include "data/Sqlite.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {
SqliteDb memoryDb()
{
    return SqliteDb(QStringLiteral(":memory:"), SqliteDb::Open::Create);
}
} // namespace

TEST(SqlFunctions, DatesBecomeDayNumbersAndBadTextsBecomeNull)
{
    SqliteDb db = memoryDb();
    EXPECT_EQ(db.scalar("select datevalue('05.03.2004')").toLongLong(),
              QDate(2004, 3, 5).toJulianDay());
    EXPECT_EQ(db.scalar("select cdate('5.3.2004')").toLongLong(), QDate(2004, 3, 5).toJulianDay());
    EXPECT_EQ(db.scalar("select cdate('05.03.2004, Freitag')").toLongLong(),
              QDate(2004, 3, 5).toJulianDay());
    for (const char *bad :
         { "select datevalue(null)", "select datevalue('')", "select datevalue(' ')",
           "select datevalue('31.02.2004')", "select cdate('2004-03-05')", "select cdate('Ja')",
           "select cdate('05.03.04')" })
        EXPECT_TRUE(db.scalar(bad).isNull()) << bad;
    // Ordering by date, not by text: 10.01.2003 comes after 09.12.2002.
    EXPECT_EQ(db.scalar("select cdate('10.01.2003') > cdate('09.12.2002')").toInt(), 1);
}

TEST(SqlFunctions, ValReadsTheLeadingNumber)
{
    SqliteDb db = memoryDb();
    EXPECT_EQ(db.scalar("select val('12')").toLongLong(), 12);
    EXPECT_EQ(db.scalar("select val(' 4 2abc')").toLongLong(), 42);
    EXPECT_EQ(db.scalar("select val('abc')").toLongLong(), 0);
    EXPECT_EQ(db.scalar("select val('-7')").toLongLong(), -7);
    EXPECT_DOUBLE_EQ(db.scalar("select val('2.5km')").toDouble(), 2.5);
    EXPECT_EQ(db.scalar("select val(17)").toLongLong(), 17);
    EXPECT_TRUE(db.scalar("select val(null)").isNull());
}

TEST(SqlFunctions, LeftCountsCharactersNotBytes)
{
    SqliteDb db = memoryDb();
    EXPECT_EQ(db.scalar("select left_text('Überlingen', '3')").toString(), QStringLiteral("Übe"));
    EXPECT_EQ(db.scalar("select left_text('Köln', 2)").toString(), QStringLiteral("Kö"));
    EXPECT_EQ(db.scalar("select left_text('Ulm', '0')").toString(), QString());
    EXPECT_EQ(db.scalar("select left_text('Ulm', '10')").toString(), QStringLiteral("Ulm"));
    EXPECT_TRUE(db.scalar("select left_text(null, '3')").isNull());
}

TEST(SqlFunctions, GermanCollationIgnoresCaseAndPutsUmlautsBesideTheirLetter)
{
    auto cmp = [](const char *a, const char *b) { return compareGerman(a, b); };
    EXPECT_EQ(cmp("über", "Über"), 0);
    EXPECT_EQ(cmp("ÄRZTE", "ärzte"), 0);
    // ß sorts as ss, right after it.
    EXPECT_LT(cmp("STRASSE", "Straße"), 0);
    EXPECT_LT(cmp("Straße", "Strassen"), 0);
    EXPECT_LT(cmp("Apfel", "Ärger"), 0);
    EXPECT_LT(cmp("Ärger", "Bach"), 0);
    EXPECT_LT(cmp("Überlingen", "Ulm"), 0);
    EXPECT_LT(cmp("Ulm", "Vaihingen"), 0);
    EXPECT_LT(cmp("Ab", "Abc"), 0);
    EXPECT_GT(cmp("b", "A"), 0);
    // The umlaut is a letter of its own for equality; other accented letters sort beside
    // their base letter, not after z.
    EXPECT_NE(cmp("mü", "mu"), 0);
    EXPECT_EQ(cmp("MÜ", "mü"), 0);
    EXPECT_LT(cmp("Mumbach", "München"), 0);
    EXPECT_LT(cmp("Évian", "Zürich"), 0);
    EXPECT_LT(cmp("Essen", "Évian"), 0);
    EXPECT_LT(cmp("Évian", "Frankfurt"), 0);

    SqliteDb db = memoryDb();
    db.runScript(
        "create table t (x text); insert into t values ('Zell'), ('über'), ('Ahlen'), "
        "('Öhringen'), ('aachen'), ('Ulm'), ('Évian'), ('Łódź'), ('Mumbach'), ('München')");
    QStringList order;
    for (const char *sql : { "select x from t order by x collate de" }) {
        Statement st(db, sql);
        order.clear();
        while (st.step())
            order << st.column(0).toString();
        EXPECT_EQ(order,
                  (QStringList { "aachen", "Ahlen", "Évian", "Łódź", "Mumbach", "München",
                                 "Öhringen", "über", "Ulm", "Zell" }))
            << sql;
    }
    // Numbers keep their numeric order.
    db.runScript("create table n (k integer); insert into n values (10), (9), (100)");
    EXPECT_EQ(
        db.scalar("select group_concat(k) from (select k from n order by k collate de)").toString(),
        QStringLiteral("9,10,100"));
}
