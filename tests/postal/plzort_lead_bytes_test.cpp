// SPDX-License-Identifier: GPL-3.0-or-later
// The place search narrowed by the index on first bytes lists exactly the rows, in the order, of
// the plain search (every row compared the German way), for texts of any kind.
#include "TestFolder.h"
#include "data/PlaceNameIndex.h"
#include "data/SqlTranslator.h"
#include "data/Sqlite.h"
#include "postal/PlzOrtSearch.h"

#include <gtest/gtest.h>

namespace {

// Characters that make trouble for a naive reading of the German order: umlauts, ß, accents,
// combining marks, ignorable and control characters, fullwidth and other compatibility forms,
// the middle dot that joins with l, other scripts.
QStringList trickyCharacters()
{
    return { u"ä"_qs,      u"Ä"_qs,      u"ö"_qs,      u"Ü"_qs,      u"ü"_qs,      u"ß"_qs,
             u"ẞ"_qs,      u"é"_qs,      u"È"_qs,      u"ø"_qs,      u"æ"_qs,      u"\u0301"_qs,
             u"\u0308"_qs, u"\u00B7"_qs, u"\u00AD"_qs, u"\u200B"_qs, u"\uFEFF"_qs, u"\u0001"_qs,
             u"\t"_qs,     u"\u007F"_qs, u"Ｂ"_qs,     u"ｂ"_qs,     u"Ｕ"_qs,     u"ⓑ"_qs,
             u"𝐁"_qs,      u"ŀ"_qs,      u"ﬀ"_qs,      u"Б"_qs,      u"中"_qs,     u"😀"_qs,
             u"\u00A0"_qs, u"’"_qs };
}

// Names beginning with every sort of character, many of equal rank, spread over the table.
void addPlaces(SqliteDb &db)
{
    QStringList firsts = trickyCharacters();
    for (const char *s : { "B", "b", "U", "u", "S", "s", "L", "l", "A", "'", " ", "1", "z" })
        firsts << QString::fromLatin1(s);
    QStringList seconds = firsts;
    seconds << u"ad"_qs << u"ber"_qs << u"s"_qs << u"e"_qs;
    QStringList names = { QString(),          QString(),      u""_qs,          u"Bad Tölz"_qs,
                          u"bad tölz"_qs,     u"BAD TÖLZ"_qs, u"Bad Toelz"_qs, u"Über"_qs,
                          u"Ueber"_qs,        u"uber"_qs,     u"Straße"_qs,    u"Strasse"_qs,
                          u"L·Hospitalet"_qs, u"'s Hof"_qs };
    for (const QString &a : firsts)
        for (const QString &b : seconds)
            names << a + b << a + b + u"d"_qs;
    db.exec("begin");
    Statement insert(db, "insert into aw_plzort (port, plz, pvw) values (?, '12345', '')");
    for (int i = 0; i < 2 * names.size(); ++i) {
        insert.reset();
        // Each name twice, far apart: ties that only the row key orders.
        const int pick = int((i * 7919LL) % names.size());
        insert.bind(1, names[pick].isNull() ? QVariant() : QVariant(names[pick]));
        insert.step();
    }
    // A name stored as bytes (by another program): left() reads its bytes as a text.
    db.exec("insert into aw_plzort (port) values (cast('Bad Ems' as blob))");
    db.exec("commit");
}

// The row keys as the window listed them before the index: every row compared, ties by key.
QList<qlonglong> plainSearch(SqliteDb &db, const QString &statement)
{
    std::string sql = translateStatement(statement).sql + ", _rowid_";
    sql.replace(sql.find('*'), 1, "_rowid_");
    QList<qlonglong> keys;
    Statement st(db, sql);
    while (st.step())
        keys << st.column(0).toLongLong();
    return keys;
}

QList<qlonglong> windowSearch(const TestFolder &folder, const QString &statement)
{
    return listedNumbers(folder, statement, QStringLiteral("pov_nummer"), true);
}

QList<qlonglong> wholeList(const TestFolder &folder, const QString &statement)
{
    return listedNumbers(folder, statement, QStringLiteral("pov_nummer"));
}

} // namespace

TEST(PostalLeadBytes, NarrowedSearchListsTheRowsAndOrderOfThePlainOne)
{
    TestFolder folder;
    const QStringList unnarrowed = { PlzOrt::directoryStatement(),
                                     PlzOrt::searchStatement(QStringLiteral("port"), QString()),
                                     PlzOrt::searchStatement(QStringLiteral("port"), u"b"_qs) };
    std::vector<QList<qlonglong>> before;
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        addPlaces(db);
        for (const QString &statement : unnarrowed)
            before.push_back(wholeList(folder, statement));
        PlaceNameIndex::ensure(db);
    }
    // Statements that do not ask for first bytes list names that sort alike as before: the
    // index does not change how SQLite reads the table for them.
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(wholeList(folder, unnarrowed[int(i)]), before[i])
            << unnarrowed[int(i)].toStdString();

    QStringList texts = trickyCharacters();
    for (const char *s :
         { "B",  "b",    "Ba", "bad", "BAD T", "Bad Tö", "Bad Toe", "U", "ue", "Ueb", "S",
           "ss", "Stra", "L",  "l",   "'",     "'s",     " ",       "1", "z",  "x",   "BB" })
        texts << QString::fromLatin1(s);
    texts << u"Ü"_qs << u"Übe"_qs << u"ß"_qs << u"sß"_qs << u"Straß"_qs << u"L·"_qs << u"ŀ"_qs
          << u"\u0001B"_qs << u"B\u00AD"_qs << u"\u00ADB"_qs << u"ＢＡＤ"_qs << u"Ｂad"_qs
          << u"\u0001"_qs << u"\u200B\u200B"_qs << u"B\u0308"_qs << u"u\u0308"_qs << u"'s Hof"_qs
          << u"Bad Ems"_qs << u"Tölz"_qs << u"\uFFFD"_qs;

    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
    int listed = 0;
    for (const QString &text : texts) {
        const QString statement = PlzOrt::searchStatement(QStringLiteral("port"), text);
        SCOPED_TRACE(statement.toStdString());
        const QList<qlonglong> expected = plainSearch(db, statement);
        EXPECT_EQ(windowSearch(folder, statement), expected);
        listed += int(expected.size());
    }
    EXPECT_GT(listed, 5000); // the texts do find places

    // The index answers the narrowed search.
    TranslateOptions options;
    options.leadByteColumns = PlaceNameIndex::indexedColumns(db, QStringLiteral("aw_plzort"));
    ASSERT_EQ(options.leadByteColumns, QStringList { QStringLiteral("port") });
    const std::string sql
        = translateStatement(PlzOrt::searchStatement(QStringLiteral("port"), QStringLiteral("Ba")),
                             options)
              .sql;
    QString plan;
    Statement explain(db, "explain query plan " + sql);
    while (explain.step())
        plan += explain.column(3).toString();
    EXPECT_TRUE(plan.contains(QLatin1String("aw_plzort_anfang"))) << plan.toStdString();
}

TEST(PostalLeadBytes, AFileWithoutTheIndexSearchesEveryRow)
{
    TestFolder folder;
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
    addPlaces(db);
    EXPECT_TRUE(PlaceNameIndex::indexedColumns(db, QStringLiteral("aw_plzort")).isEmpty());
    const QString statement = PlzOrt::searchStatement(QStringLiteral("port"), u"bä"_qs);
    EXPECT_EQ(windowSearch(folder, statement), plainSearch(db, statement));
}
