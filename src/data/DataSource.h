#pragma once

#include "Sqlite.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <deque>
#include <optional>
#include <vector>

// A database path, a statement and, after refresh(), its result set with a current row.
// refresh() reads the keys of the result in its order; a row's fields are read from the file
// the first time they are needed, a page at a time, so that a long list opens at once. Only the
// pages read last stay in memory, so scrolling through a long list keeps its memory flat.
// Writes go to the table by its key at once, so the file always holds what the user stored.
// Only "select * from <table> ..." statements are writable; others are read whole.
class DataSource : public QObject
{
    Q_OBJECT
public:
    enum class EditMode { None, Edit, AddNew };

    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    void setDatabaseName(const QString &path);
    const QString &databaseName() const { return m_path; }
    void setRecordSource(const QString &statement);
    const QString &recordSource() const { return m_statement; }

    // Runs the statement; drops a begun new row and unsaved changes; the first row is current.
    void refresh();
    // For a long sorted list whose top is what the user looks at: refresh() then counts the rows
    // and reads the keys of the first ones only (a partial sort); the others follow when a row
    // beyond them, a search or a write needs them. Rows and order stay those of the statement.
    void setKeysOnDemand(bool onDemand) { m_keysOnDemand = onDemand; }
    // Closes the connection; the next refresh opens it again.
    void close();
    bool isOpen() const { return m_db.isOpen(); }

    bool eof() const { return m_rows.empty() || m_pos >= int(m_rows.size()); }
    bool bof() const { return m_rows.empty() || m_pos < 0; }
    int recordCount() const { return int(m_rows.size()); }
    int currentIndex() const { return hasCurrent() ? m_pos : -1; }

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void moveTo(int row);
    // Moving by 0 rows: reads the current row again from the file.
    void reread();
    // "field = 12" or "field = 'text'"; returns false (position unchanged) without a match.
    bool findFirst(const QString &criterion);
    QVariant bookmark() const;
    void setBookmark(const QVariant &bookmark);

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void deleteCurrent();
    EditMode editMode() const { return m_mode; }

    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString &name) const;
    QVariant value(const QString &field) const;
    void setValue(const QString &field, const QVariant &value);
    // For grids: a stored row's value without moving the current row.
    QVariant valueAt(int row, int column) const;

signals:
    void resetDone();
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentChanged(int row);

private:
    struct Row
    {
        qlonglong key = 0;
        std::vector<QVariant> values;
        bool loaded = true;
    };

    bool hasCurrent() const
    {
        return m_pos >= 0 && m_pos < int(m_rows.size()) && !m_currentDeleted;
    }
    void requireCurrent() const;
    void requireWritable() const;
    void ensureOpen();
    void setPosition(int pos);
    void dropEdit();
    std::optional<Row> readRow(qlonglong key);
    const Row &loadedRow(int index) const;
    void loadPage(int index) const;
    // Makes the keys of rows [0, upTo) known (all rows when upTo is past the end).
    void readKeys(int upTo) const;
    void readAllKeys() const { readKeys(int(m_rows.size())); }
    void unloadOldPages() const;
    qlonglong nextKey();
    std::vector<QVariant> &buffer();
    int requireField(const QString &field) const;

    QString m_path;
    QString m_statement;
    mutable SqliteDb m_db;
    QString m_table; // empty: read-only result
    int m_keyField = -1; // visible column that is the table's integer key, if any
    QStringList m_fields;
    QHash<QString, int> m_fieldIndex; // lower-case name -> column
    mutable std::vector<Row> m_rows;
    bool m_keysOnDemand = false;
    mutable std::string
        m_keySql; // the statement's keys in its order, while not all of them are read
    mutable int m_keysRead = 0; // rows whose key is known, from the first on
    qlonglong m_counted = 0; // rows the last search let through (see refresh)
    mutable std::deque<int> m_loadedPages; // first row of each page read, oldest first
    int m_pos = -1;
    bool m_currentDeleted = false;

    EditMode m_mode = EditMode::None;
    std::vector<QVariant> m_buffer;
    std::vector<QVariant> m_snapshot; // the row as it was when editing began
    std::vector<bool> m_dirty; // fields written since editing began
    qlonglong m_newKey = 0;
};
