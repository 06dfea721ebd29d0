#pragma once

#include "data/Sqlite.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariant>

#include <deque>
#include <optional>
#include <vector>

// A database path, a statement and, after refresh(), its result set with a current row.
// refresh() reads the keys of the result in its order; a row's fields are read from the file
// the first time they are needed, a page at a time, so that a long list opens at once. Only the
// pages read last stay in memory, so scrolling through a long list keeps its memory flat.
// A statement whose order is total (see TranslatedStatement) has its keys read a part at a time
// as rows are reached: a list of any length opens in the time of its first screen. Grids show
// the rows read so far (rowsRead()) and ask for more; everything else sees the whole result.
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
    // For a list that may hold very many rows in an order of its own (not by race date): its
    // keys are read a part at a time, ties taken in the table's order.
    void setKeysOnDemand(bool on) { m_keysOnDemand = on; }
    const QString &recordSource() const { return m_statement; }

    // Runs the statement; drops a begun new row and unsaved changes; the first row is current.
    void refresh();
    // Closes the connection; the next refresh opens it again.
    void close();
    bool isOpen() const { return m_db.isOpen(); }

    bool eof() const;
    bool bof() const;
    // Reads the keys of the whole result first.
    int recordCount() const;
    // Whether the result has a row at all: reads no more keys than that needs.
    bool hasRows() const { return hasRow(0); }
    // The rows whose keys are read so far, and reading the next part.
    int rowsRead() const { return int(m_rows.size()); }
    bool canReadMore() const { return !m_complete; }
    void readMore() const;
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
    // Keys of further rows of the result were read; they follow the rows read before.
    void keysRead(int first, int last);
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
    void unloadOldPages() const;
    // True when the result has a row `row`, reading keys as far as needed.
    bool hasRow(int row) const;
    void readKeys(int wanted) const;
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
    // Reading keys a part at a time: the key statement, how many of its rows were read, whether
    // the end was reached, and whether rows were written since (then the next part starts again
    // at the top, and every later part skips the keys already listed).
    bool m_keysOnDemand = false;
    std::string m_keySql;
    mutable int m_keysConsumed = 0;
    mutable bool m_complete = true;
    mutable bool m_writtenSinceRead = false;
    mutable bool m_skipListed = false;
    mutable QSet<qlonglong> m_listedKeys;
    mutable std::deque<int> m_loadedPages; // first row of each page read, oldest first
    int m_pos = -1;
    bool m_currentDeleted = false;

    EditMode m_mode = EditMode::None;
    std::vector<QVariant> m_buffer;
    std::vector<QVariant> m_snapshot; // the row as it was when editing began
    std::vector<bool> m_dirty; // fields written since editing began
    qlonglong m_newKey = 0;
};
