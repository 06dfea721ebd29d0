// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/PostalStore.h"

#include "data/GermanCollation.h"
#include "data/PlaceNameIndex.h"
#include "data/RecordErrors.h"
#include "model/RaceColumns.h"

#include <algorithm>

namespace {

using namespace PostalColumns;

// Places read when a list is made: a few screens of any grid.
constexpr int kFirstPart = 256;

QString col(const char *name)
{
    return QLatin1String(name);
}

QString placeColumns()
{
    return col(kNumber) + QStringLiteral(", ") + col(kTown) + QStringLiteral(", ") + col(kPostcode)
        + QStringLiteral(", ") + col(kDialCode) + QStringLiteral(" from ") + col(kTable);
}

std::string placeByNumber()
{
    return (QStringLiteral("select ") + placeColumns() + QStringLiteral(" where ") + col(kNumber)
            + QStringLiteral(" = ?"))
        .toStdString();
}

PostalPlace placeOfRow(const Statement &st)
{
    using RaceColumns::textOf;
    return { st.column(0).toLongLong(), textOf(st.column(1)), textOf(st.column(2)),
             textOf(st.column(3)) };
}

const char *columnOf(PostalField field)
{
    switch (field) {
    case PostalField::Town:
        return kTown;
    case PostalField::Postcode:
        return kPostcode;
    case PostalField::DialCode:
        break;
    }
    return kDialCode;
}

} // namespace

PostalList::PostalList(SqliteDb &db, std::string sql, std::vector<QVariant> values)
    : m_db(&db)
    , m_sql(std::move(sql))
    , m_values(std::move(values))
{
    read(kFirstPart);
}

void PostalList::readMore()
{
    read(rowsRead() + 1);
}

void PostalList::read(int wanted)
{
    while (!m_complete && rowsRead() < wanted) {
        // Parts grow with the list, so reading a whole list costs about twice one run of it.
        const int part = std::max(kFirstPart, rowsRead());
        Statement numbers(*m_db,
                          m_sql + " limit " + std::to_string(part) + " offset "
                              + std::to_string(rowsRead()));
        for (int i = 0; i < int(m_values.size()); ++i)
            numbers.bind(i + 1, m_values[size_t(i)]);
        // The sort carries only the numbers; each place is then read by its number.
        Statement place(*m_db, placeByNumber());
        int read = 0;
        while (numbers.step()) {
            ++read;
            place.reset();
            place.bind(1, numbers.column(0));
            if (place.step())
                m_places.push_back(placeOfRow(place));
        }
        m_complete = read < part;
    }
}

int PostalList::find(qlonglong number)
{
    for (int row = 0;; ++row) {
        if (row >= rowsRead()) {
            if (!canReadMore())
                return -1;
            readMore();
            continue;
        }
        if (m_places[size_t(row)].number == number)
            return row;
    }
}

PostalStore::PostalStore(QString databasePath)
    : m_path(std::move(databasePath))
{
}

SqliteDb &PostalStore::db()
{
    if (!m_db.isOpen()) {
        m_db = SqliteDb(m_path, SqliteDb::Open::ReadWrite);
        // Every search reads the whole directory again: keep it in memory (up to 32 MB) rather
        // than in the system's file cache, a read call per page.
        m_db.exec("pragma cache_size = -32768");
    }
    return m_db;
}

PostalList PostalStore::list(const QString &where, std::vector<QVariant> values)
{
    // Places that sort alike keep the order of their numbers, so that every part read with limit
    // and offset continues the same order.
    const QString sql = QStringLiteral("select ") + col(kNumber) + QStringLiteral(" from ")
        + col(kTable) + where + QStringLiteral(" order by ") + col(kTown)
        + QStringLiteral(" collate de, _rowid_");
    return PostalList(db(), sql.toStdString(), std::move(values));
}

PostalList PostalStore::directory()
{
    return list({}, {});
}

PostalList PostalStore::search(PostalField field, const QString &text)
{
    const QString column = col(columnOf(field));
    if (text.isEmpty())
        return list(QStringLiteral(" where ") + column + QStringLiteral(" is not null"), {});
    QString condition
        = QStringLiteral("left_text(") + column + QStringLiteral(", ?) = ? collate de");
    // No name begins with the text the German way unless it begins with one of a few bytes: an
    // index on the first byte then reads only those names.
    if (PlaceNameIndex::indexedColumns(db(), col(kTable)).contains(column)) {
        const QString leadBytes
            = PlaceNameIndex::leadByteCondition(column, germanLeadBytes(text.toStdString()));
        if (!leadBytes.isEmpty())
            condition = leadBytes + QStringLiteral(" and ") + condition;
    }
    // The length counts characters, as left_text does, not UTF-16 units.
    return list(QStringLiteral(" where ") + condition, { qlonglong(text.toUcs4().size()), text });
}

std::optional<PostalPlace> PostalStore::place(qlonglong number)
{
    Statement st(db(), placeByNumber());
    st.bind(1, number);
    if (!st.step())
        return std::nullopt;
    return placeOfRow(st);
}

qlonglong PostalStore::add(const PostalPlace &place)
{
    Statement st(db(),
                 (QStringLiteral("insert into ") + col(kTable) + u'(' + col(kTown)
                  + QStringLiteral(", ") + col(kPostcode) + QStringLiteral(", ") + col(kDialCode)
                  + QStringLiteral(") values (?, ?, ?)"))
                     .toStdString());
    st.bind(1, place.town);
    st.bind(2, place.postcode);
    st.bind(3, place.dialCode);
    st.step();
    return db().scalar("select last_insert_rowid()").toLongLong();
}

void PostalStore::save(const PostalPlace &place, const PostalPlace *asRead)
{
    if (asRead) {
        const auto stored = this->place(place.number);
        if (!stored || !sameStoredText(stored->town, asRead->town)
            || !sameStoredText(stored->postcode, asRead->postcode)
            || !sameStoredText(stored->dialCode, asRead->dialCode))
            throw rowChangedError();
    }
    Statement st(db(),
                 (QStringLiteral("update ") + col(kTable) + QStringLiteral(" set ") + col(kTown)
                  + QStringLiteral(" = ?, ") + col(kPostcode) + QStringLiteral(" = ?, ")
                  + col(kDialCode) + QStringLiteral(" = ? where ") + col(kNumber)
                  + QStringLiteral(" = ?"))
                     .toStdString());
    st.bind(1, place.town);
    st.bind(2, place.postcode);
    st.bind(3, place.dialCode);
    st.bind(4, place.number);
    st.step();
}

void PostalStore::remove(qlonglong number)
{
    Statement st(db(),
                 (QStringLiteral("delete from ") + col(kTable) + QStringLiteral(" where ")
                  + col(kNumber) + QStringLiteral(" = ?"))
                     .toStdString());
    st.bind(1, number);
    st.step();
}
