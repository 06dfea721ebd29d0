// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/PickListStore.h"

#include "data/RecordErrors.h"
#include "model/RaceColumns.h"

namespace {

std::string name(const char *column)
{
    return std::string("\"") + column + '"';
}

PickListEntry entryOfRow(const Statement &st, bool hasName)
{
    PickListEntry entry;
    entry.number = st.column(0).toLongLong();
    entry.text = RaceColumns::textOf(st.column(1));
    if (hasName)
        entry.name = RaceColumns::textOf(st.column(2));
    return entry;
}

} // namespace

PickListStore::PickListStore(QString databasePath)
    : m_path(std::move(databasePath))
{
}

SqliteDb &PickListStore::db()
{
    if (!m_db.isOpen())
        m_db = SqliteDb(m_path, SqliteDb::Open::ReadWrite);
    return m_db;
}

std::string PickListStore::selectEntries(PickList list) const
{
    const PickListTable &t = pickListTable(list);
    std::string sql = "select _rowid_, " + name(t.column);
    if (t.nameColumn)
        sql += ", " + name(t.nameColumn);
    return sql + " from " + name(t.table);
}

std::vector<PickListEntry> PickListStore::entries(PickList list)
{
    const PickListTable &t = pickListTable(list);
    Statement st(db(),
                 selectEntries(list) + " order by " + name(t.column) + " collate de, _rowid_");
    std::vector<PickListEntry> result;
    while (st.step())
        result.push_back(entryOfRow(st, t.nameColumn));
    return result;
}

std::optional<PickListEntry> PickListStore::entry(PickList list, qlonglong number)
{
    Statement st(db(), selectEntries(list) + " where _rowid_ = ?");
    st.bind(1, number);
    if (!st.step())
        return std::nullopt;
    return entryOfRow(st, pickListTable(list).nameColumn);
}

PickListEntry PickListStore::add(PickList list, const PickListEntry &entry)
{
    const PickListTable &t = pickListTable(list);
    const bool withName = t.nameColumn != nullptr;
    std::string sql = "insert into " + name(t.table) + " (" + name(t.column);
    sql += withName ? ", " + name(t.nameColumn) + ") values (?, ?)" : std::string(") values (?)");
    Statement st(db(), sql);
    st.bind(1, entry.text);
    if (withName)
        st.bind(2, RaceColumns::storedText(entry.name));
    st.step();
    PickListEntry added = entry;
    added.number = db().scalar("select last_insert_rowid()").toLongLong();
    return added;
}

void PickListStore::change(PickList list, const PickListEntry &entry, const PickListEntry *asRead)
{
    const PickListTable &t = pickListTable(list);
    if (asRead) {
        const auto stored = this->entry(list, entry.number);
        if (!stored || !sameStoredText(stored->text, asRead->text)
            || !sameStoredText(stored->name, asRead->name))
            throw rowChangedError();
    }
    std::string sql = "update " + name(t.table) + " set " + name(t.column) + " = ?";
    if (t.nameColumn)
        sql += ", " + name(t.nameColumn) + " = ?";
    Statement st(db(), sql + " where _rowid_ = ?");
    int index = 1;
    st.bind(index++, entry.text);
    if (t.nameColumn)
        st.bind(index++, RaceColumns::storedText(entry.name));
    st.bind(index, entry.number);
    st.step();
}

void PickListStore::remove(PickList list, qlonglong number)
{
    Statement st(db(), "delete from " + name(pickListTable(list).table) + " where _rowid_ = ?");
    st.bind(1, number);
    st.step();
}
