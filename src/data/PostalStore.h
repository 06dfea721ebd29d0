// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Sqlite.h"
#include "model/Records.h"

#include <optional>
#include <vector>

// What a search of the postal directory compares the typed text with.
enum class PostalField { Town, Postcode, DialCode };

// Places of the directory in place order (German order, places that sort alike by number), read
// as a grid needs them: the first screens at once, further parts as the rows are reached. A list
// belongs to its store and must not outlive it; after a write, read the list again.
class PostalList
{
public:
    int rowsRead() const { return int(m_places.size()); }
    bool canReadMore() const { return !m_complete; }
    void readMore();
    bool isEmpty() const { return m_places.empty(); }
    const PostalPlace &place(int row) const { return m_places[size_t(row)]; }
    // The row of the place with this number, reading on as far as needed; -1 when not listed.
    int find(qlonglong number);

private:
    friend class PostalStore;
    PostalList(SqliteDb &db, std::string sql, std::vector<QVariant> values);
    void read(int wanted);

    SqliteDb *m_db;
    std::string m_sql; // ends in its order; limit and offset are appended
    std::vector<QVariant> m_values;
    std::vector<PostalPlace> m_places;
    bool m_complete = false;
};

// The postal directory, over a connection of its own that opens on first use.
class PostalStore
{
public:
    explicit PostalStore(QString databasePath);

    PostalList directory();
    // The places whose field begins with the text, compared the German way (case ignored); an
    // empty text lists every place that has the field.
    PostalList search(PostalField field, const QString &text);

    std::optional<PostalPlace> place(qlonglong number);
    // Appends the place under a new number and returns that number.
    qlonglong add(const PostalPlace &place);
    // Writes the place by its number. With `asRead`, a place changed or deleted in the file since
    // it was read is not overwritten: DbError RowChanged.
    void save(const PostalPlace &place, const PostalPlace *asRead = nullptr);
    void remove(qlonglong number);

private:
    SqliteDb &db();
    PostalList list(const QString &where, std::vector<QVariant> values);

    QString m_path;
    SqliteDb m_db;
};
