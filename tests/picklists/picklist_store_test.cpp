// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestFolder.h"
#include "data/GermanCollation.h"
#include "data/PickListStore.h"
#include "data/Sqlite.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const PickList kLists[] = { PickList::Race,  PickList::Timing, PickList::Salutation,
                            PickList::Title, PickList::Street, PickList::Country };

QStringList texts(const std::vector<PickListEntry> &entries)
{
    QStringList result;
    for (const PickListEntry &entry : entries)
        result << entry.text;
    return result;
}

int german(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    return compareGerman({ x.constData(), size_t(x.size()) }, { y.constData(), size_t(y.size()) });
}

} // namespace

TEST(PickListStore, EveryListComesInGermanOrderWithTiesInTheOrderAdded)
{
    TestFolder folder { TestFolder::Content::Seeded };
    // Alike the German way (case, umlaut), empty and missing, after the seeded entries.
    const QStringList added = { u"Über"_qs,  u"über"_qs,  u"Ueber"_qs, u"Ulm"_qs,
                                u"ärger"_qs, u"Arger"_qs, u""_qs,      u"Zeta"_qs };
    for (const PickList list : kLists) {
        const PickListTable &t = pickListTable(list);
        SCOPED_TRACE(t.table);
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        for (const QString &text : added) {
            Statement insert(
                db, std::string("insert into ") + t.table + " (" + t.column + ") values (?)");
            insert.bind(1, text);
            insert.step();
        }
        db.exec(std::string("insert into ") + t.table + " (" + t.column + ") values (null)");

        // The rows in the order they were added, sorted the German way, NULL first.
        std::vector<std::pair<qlonglong, QVariant>> rows;
        Statement all(db, std::string("select _rowid_, ") + t.column + " from " + t.table);
        while (all.step())
            rows.emplace_back(all.column(0).toLongLong(), all.column(1));
        std::stable_sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) {
            if (a.second.isNull() || b.second.isNull())
                return a.second.isNull() && !b.second.isNull();
            return german(a.second.toString(), b.second.toString()) < 0;
        });

        const std::vector<PickListEntry> entries = PickListStore(folder.dbPath()).entries(list);
        ASSERT_EQ(entries.size(), rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(entries[i].number, rows[i].first) << i;
            EXPECT_EQ(entries[i].text.isNull(), rows[i].second.isNull()) << i;
        }
        // Equal the German way: in the order they were added.
        const QStringList shown = texts(entries);
        EXPECT_LT(shown.indexOf(u"Über"_qs), shown.indexOf(u"über"_qs));
        EXPECT_LT(shown.indexOf(u"ärger"_qs), shown.indexOf(u"Ulm"_qs));
    }
}

TEST(PickListStore, AddsChangesAndRemovesAnEntryInItsList)
{
    TestFolder folder { TestFolder::Content::Seeded };
    PickListStore store(folder.dbPath());

    struct Case
    {
        PickList list;
        PickListEntry entry;
        QVariant storedName; // the name column as the file holds it, countries only
    };
    const Case cases[] = {
        { PickList::Race, { u"Silvesterlauf"_qs, {} }, {} },
        { PickList::Street, { u"Am Markt"_qs, {} }, {} },
        { PickList::Country, { u"XX"_qs, {} }, {} }, // no name: none stored
        { PickList::Country, { u"XY"_qs, u""_qs }, u""_qs }, // an empty name stays empty
        { PickList::Country, { u"XZ"_qs, u"Xanadu"_qs }, u"Xanadu"_qs },
    };
    for (const Case &c : cases) {
        const PickListTable &t = pickListTable(c.list);
        SCOPED_TRACE(c.entry.text.toStdString());
        const PickListEntry added = store.add(c.list, c.entry);
        EXPECT_TRUE(texts(store.entries(c.list)).contains(c.entry.text));
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
        if (t.nameColumn) {
            Statement name(db,
                           std::string("select ") + t.nameColumn + " from " + t.table
                               + " where _rowid_ = ?");
            name.bind(1, added.number);
            ASSERT_TRUE(name.step());
            EXPECT_EQ(name.column(0), c.storedName);
        }

        PickListEntry changed = added;
        changed.text += u" 2"_qs;
        store.change(c.list, changed, &added);
        EXPECT_EQ(store.entry(c.list, added.number)->text, changed.text);
        store.remove(c.list, added.number);
        EXPECT_FALSE(store.entry(c.list, added.number));
        EXPECT_FALSE(texts(store.entries(c.list)).contains(changed.text));
    }
}

TEST(PickListStore, AnEntryChangedOrDeletedSinceItWasReadIsNotOverwritten)
{
    TestFolder folder { TestFolder::Content::Seeded };
    PickListStore store(folder.dbPath());
    const char *elsewhere[] = {
        "update aw_land set land_name = 'Deutschland (BRD)' where land = 'D'",
        "update aw_land set land_name = null where land = 'D'",
        "delete from aw_land where land = 'D'",
    };
    for (const char *sql : elsewhere) {
        SCOPED_TRACE(sql);
        folder.exec(u"delete from aw_land where land = 'D'"_qs);
        const PickListEntry read = store.add(PickList::Country, { u"D"_qs, u"Deutschland"_qs });
        folder.exec(QString::fromLatin1(sql));
        PickListEntry changed = read;
        changed.name = u"Germany"_qs;
        try {
            store.change(PickList::Country, changed, &read);
            ADD_FAILURE() << "written";
        } catch (const DbError &error) {
            EXPECT_EQ(error.number(), ErrNo::RowChanged);
        }
        const auto stored = store.entry(PickList::Country, read.number);
        EXPECT_TRUE(!stored || stored->name != u"Germany"_qs);
    }
}
