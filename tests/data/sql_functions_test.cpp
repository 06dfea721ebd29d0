#include "data/SqlFunctions.h"
#include "data/Sqlite.h"

#include <QDate>
#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <random>
#include <string>
#include <vector>

namespace {
SqliteDb memoryDb()
{
    return SqliteDb(QStringLiteral(":memory:"), SqliteDb::Open::Create);
}
} // namespace

TEST(SqlFunctions, DatesBecomeDayNumbersAndBadTextsBecomeNull)
{
    SqliteDb db = memoryDb();
    EXPECT_EQ(db.scalar("select day_number('05.03.2004')").toLongLong(),
              QDate(2004, 3, 5).toJulianDay());
    EXPECT_EQ(db.scalar("select day_number('5.3.2004')").toLongLong(),
              QDate(2004, 3, 5).toJulianDay());
    EXPECT_EQ(db.scalar("select day_number('05.03.2004, Freitag')").toLongLong(),
              QDate(2004, 3, 5).toJulianDay());
    for (const char *bad :
         { "select day_number(null)", "select day_number('')", "select day_number(' ')",
           "select day_number('31.02.2004')", "select day_number('2004-03-05')",
           "select day_number('Ja')", "select day_number('05.03.04')" })
        EXPECT_TRUE(db.scalar(bad).isNull()) << bad;
    // Ordering by date, not by text: 10.01.2003 comes after 09.12.2002.
    EXPECT_EQ(db.scalar("select day_number('10.01.2003') > day_number('09.12.2002')").toInt(), 1);
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

TEST(SqlFunctions, PlainAsciiTextsCompareExactlyAsTheCollatorDoes)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator *icu = ucol_open("de", &status);
    ASSERT_TRUE(U_SUCCESS(status));
    ucol_setStrength(icu, UCOL_SECONDARY);
    const auto expected = [icu](const std::string &a, const std::string &b) {
        UErrorCode s = U_ZERO_ERROR;
        const UCollationResult r
            = ucol_strcollUTF8(icu, a.data(), int32_t(a.size()), b.data(), int32_t(b.size()), &s);
        return r == UCOL_LESS ? -1 : r == UCOL_EQUAL ? 0 : 1;
    };
    // Every printable character against every other, and short texts of them at random,
    // case and punctuation included; texts with other characters still go to the collator.
    std::vector<std::string> texts = { "",     " ",  "a", "A",   "Bad", "bad ", "Bad-Tölz", "a\tb",
                                       "\x7f", "10", "9", "a-b", "a b", "ab",   "a_b" };
    for (char c = 0x20; c < 0x7f; ++c)
        texts.emplace_back(1, c);
    std::mt19937 random(7);
    for (int i = 0; i < 400; ++i) {
        std::string t;
        const int length = int(random() % 6);
        for (int k = 0; k < length; ++k)
            t += random() % 3 ? "aAbB z-'.0"[random() % 10] : char(0x20 + random() % 95);
        texts.push_back(t);
    }
    int differ = 0;
    for (const std::string &a : texts)
        for (const std::string &b : texts)
            if (compareGerman(a, b) != expected(a, b) && ++differ < 10)
                ADD_FAILURE() << '"' << a << "\" vs \"" << b << '"';
    EXPECT_EQ(differ, 0);
    ucol_close(icu);
}
