// SPDX-License-Identifier: GPL-3.0-or-later
// The directory's lists against a plain reading of the table: every row compared the German way
// in C++, sorted the German way with ties by number. Lists far longer than their first part, with
// and without the index on first bytes.
#include "TestFolder.h"
#include "data/GermanCollation.h"
#include "data/PlaceNameIndex.h"
#include "data/PostalStore.h"
#include "data/Sqlite.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

#include <algorithm>

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

// Names beginning with every sort of character, many of equal rank, each twice and far apart in
// the table; missing and empty names, postcodes and area codes.
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
    Statement insert(db, "insert into aw_plzort (port, plz, pvw) values (?, ?, ?)");
    for (int i = 0; i < 2 * names.size(); ++i) {
        insert.reset();
        const int pick = int((i * 7919LL) % names.size());
        insert.bind(1, names[pick].isNull() ? QVariant() : QVariant(names[pick]));
        insert.bind(2, QString::number(10000 + (i * 37) % 90000));
        insert.bind(3, i % 5 ? QVariant(u"0"_qs + QString::number(i % 900)) : QVariant());
        insert.step();
    }
    // A name stored as bytes (by another program) is compared as a text, sorted after all texts.
    db.exec("insert into aw_plzort (port) values (cast('Bad Ems' as blob))");
    db.exec("commit");
}

struct Row
{
    qlonglong number;
    int kind; // SQLite's order of storage classes: 0 NULL, 1 text, 2 bytes
    QString values[3];
};

std::vector<Row> plainRows(SqliteDb &db)
{
    std::vector<Row> rows;
    Statement st(db, "select pov_nummer, typeof(port), port, plz, pvw from aw_plzort");
    while (st.step()) {
        const QString type = st.column(1).toString();
        Row row { st.column(0).toLongLong(), type == u"null" ? 0 : type == u"blob" ? 2 : 1, {} };
        for (int c = 0; c < 3; ++c) {
            // As SQLite compares them: a byte order mark at the start is a character too.
            QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
            const std::string_view bytes = st.columnUtf8(2 + c);
            if (st.columnType(2 + c) != Statement::Type::Null)
                row.values[c] = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        }
        rows.push_back(row);
    }
    return rows;
}

int german(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    return compareGerman({ x.constData(), size_t(x.size()) }, { y.constData(), size_t(y.size()) });
}

QString firstCharacters(const QString &text, qsizetype count)
{
    const QList<uint> characters = text.toUcs4();
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(characters.constData()),
                             std::min(count, characters.size()));
}

// The numbers a search lists: the field begins with the text (its first characters equal it the
// German way), in place order.
QList<qlonglong> expected(SqliteDb &db, std::optional<PostalField> field, const QString &text)
{
    std::vector<Row> rows = plainRows(db);
    if (field) {
        const int c = int(*field);
        const auto length = text.toUcs4().size();
        std::erase_if(rows, [&](const Row &row) {
            const QString &value = row.values[c];
            return value.isNull() || german(firstCharacters(value, length), text) != 0;
        });
    }
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        const int order = a.kind == 1 ? german(a.values[0], b.values[0]) : 0;
        return order != 0 ? order < 0 : a.number < b.number;
    });
    QList<qlonglong> numbers;
    for (const Row &row : rows)
        numbers << row.number;
    return numbers;
}

QList<qlonglong> listed(PostalList list)
{
    while (list.canReadMore())
        list.readMore();
    QList<qlonglong> numbers;
    for (int r = 0; r < list.rowsRead(); ++r)
        numbers << list.place(r).number;
    return numbers;
}

struct SearchCase
{
    std::optional<PostalField> field; // none: the whole directory
    QString text;
};

const std::vector<SearchCase> kSearches = {
    { std::nullopt, {} },
    { PostalField::Town, {} },
    { PostalField::Town, u"b"_qs },
    { PostalField::Town, u"BAD"_qs },
    { PostalField::Town, u"bad tölz"_qs },
    { PostalField::Town, u"bä"_qs },
    { PostalField::Town, u"ü"_qs },
    { PostalField::Town, u"ue"_qs },
    { PostalField::Town, u"strasse"_qs },
    { PostalField::Town, u"'s"_qs },
    { PostalField::Town, u"x' or 'a'='a"_qs },
    { PostalField::Town, u"Ｂ"_qs },
    { PostalField::Town, u"😀"_qs },
    { PostalField::Town, u"l·"_qs },
    { PostalField::Postcode, u"1"_qs },
    { PostalField::Postcode, u"1000"_qs },
    { PostalField::DialCode, {} },
    { PostalField::DialCode, u"07"_qs },
};

void expectEveryListAsPlain(const TestFolder &folder)
{
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
    PostalStore store(folder.dbPath());
    for (const SearchCase &c : kSearches) {
        SCOPED_TRACE(c.text.toStdString() + " in field "
                     + std::to_string(c.field ? int(*c.field) : -1));
        const QList<qlonglong> want = expected(db, c.field, c.text);
        const QList<qlonglong> got
            = listed(c.field ? store.search(*c.field, c.text) : store.directory());
        EXPECT_EQ(got, want);
    }
}

} // namespace

TEST(PostalStore, ListsTheRowsAndOrderOfAPlainGermanReading)
{
    TestFolder folder;
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        addPlaces(db);
        ASSERT_GT(db.scalar("select count(*) from aw_plzort").toInt(), 2000);
    }
    expectEveryListAsPlain(folder);
    // The index on first bytes reads fewer names, never other rows.
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        PlaceNameIndex::ensure(db);
    }
    expectEveryListAsPlain(folder);
}

TEST(PostalStore, FindsAPlaceBeyondTheFirstPartAndReadsTheListInParts)
{
    TestFolder folder;
    qlonglong last = 0;
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        addPlaces(db);
        // The name stored as bytes, added last, sorts after every text.
        last = db.scalar("select max(pov_nummer) from aw_plzort").toLongLong();
    }
    PostalStore store(folder.dbPath());
    PostalList list = store.directory();
    EXPECT_EQ(list.rowsRead(), 256);
    EXPECT_TRUE(list.canReadMore());
    const int row = list.find(last);
    EXPECT_GT(row, 256);
    EXPECT_FALSE(list.canReadMore());
    EXPECT_EQ(row, list.rowsRead() - 1);
    EXPECT_EQ(list.find(999999), -1);
}

TEST(PostalStore, WritesAPlaceUnlessItChangedSinceItWasRead)
{
    TestFolder folder;
    PostalStore store(folder.dbPath());
    const PostalPlace read { store.add({ 0, u"Ulm"_qs, u"89073"_qs, u""_qs }), u"Ulm"_qs,
                             u"89073"_qs, u""_qs };
    EXPECT_EQ(store.place(read.number)->dialCode, u""_qs);
    EXPECT_FALSE(store.place(read.number)->dialCode.isNull()); // empty, not missing

    struct Case
    {
        const char *elsewhere; // a change by another program first, or none
        bool refused;
    };
    const Case cases[] = {
        { nullptr, false },
        { "update aw_plzort set pvw = '0731'", true },
        { "update aw_plzort set pvw = null", true }, // none is not the empty text read
        { "delete from aw_plzort", true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.elsewhere ? c.elsewhere : "unchanged");
        folder.exec("delete from aw_plzort");
        folder.exec(QStringLiteral("insert into aw_plzort (pov_nummer, port, plz, pvw) "
                                   "values (%1, 'Ulm', '89073', '')")
                        .arg(read.number));
        if (c.elsewhere)
            folder.exec(QString::fromLatin1(c.elsewhere));
        const PostalPlace changed { read.number, u"Neu-Ulm"_qs, u"89231"_qs, u"0731"_qs };
        if (c.refused) {
            try {
                store.save(changed, &read);
                ADD_FAILURE() << "saved";
            } catch (const DbError &error) {
                EXPECT_EQ(error.number(), ErrNo::RowChanged);
            }
            EXPECT_NE(store.place(read.number).value_or(PostalPlace {}).town, u"Neu-Ulm"_qs);
        } else {
            store.save(changed, &read);
            EXPECT_EQ(store.place(read.number)->town, u"Neu-Ulm"_qs);
        }
    }

    store.remove(read.number);
    EXPECT_FALSE(store.place(read.number));
    // Numbers are never used twice.
    EXPECT_GT(store.add({ 0, u"Bonn"_qs, {}, {} }), read.number);
}
