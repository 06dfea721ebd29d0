// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Sqlite.h"
#include "model/Records.h"

#include <optional>
#include <vector>

// The six pick lists of the race editor, over a connection of their own that opens on first use
// (so a missing file is reported where the list is needed). Entries come in German order, entries
// that sort alike in the order they were added.
class PickListStore
{
public:
    explicit PickListStore(QString databasePath);

    std::vector<PickListEntry> entries(PickList list);
    std::optional<PickListEntry> entry(PickList list, qlonglong number);
    // Appends the entry and returns it with its number. A null name is stored as none (NULL), an
    // empty one as an empty text.
    PickListEntry add(PickList list, const PickListEntry &entry);
    // Writes the entry's text (and name) by its number. With `asRead`, an entry changed or
    // deleted in the file since it was read is not overwritten: DbError RowChanged.
    void change(PickList list, const PickListEntry &entry, const PickListEntry *asRead = nullptr);
    void remove(PickList list, qlonglong number);

private:
    SqliteDb &db();
    std::string selectEntries(PickList list) const;

    QString m_path;
    SqliteDb m_db;
};
