#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;
#include "common/DbError.h"

// The one place that talks to the SQLite C API: a connection and a statement, both RAII.
class SqliteDb
{
public:
    enum class Open {
        ReadWrite, // an existing file only; never creates one
        ReadOnly,
        Create // tools and tests that build a database
    };

    // Shared: every call takes the connection's lock. OneAtATime: no lock; the connection is
    // used by one thread at a time, handed over only where the threads synchronise anyway (the
    // export reads its rows on a thread of its own, and a lock around each of its millions of
    // column reads took a fifth of that thread's time).
    enum class Threads { Shared, OneAtATime };

    SqliteDb() = default;
    SqliteDb(const QString &path, Open mode, Threads threads = Threads::Shared);
    ~SqliteDb();
    SqliteDb(SqliteDb &&other) noexcept;
    SqliteDb &operator=(SqliteDb &&other) noexcept;
    SqliteDb(const SqliteDb &) = delete;
    SqliteDb &operator=(const SqliteDb &) = delete;

    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }
    const QString &path() const { return m_path; }

    // Runs one statement to its end; text holding more than one statement is refused.
    void exec(const std::string &sql);
    // Runs a script of several statements, as a database is made from its schema. Only for
    // scripts of the program's own; never for text a user typed.
    void runScript(const std::string &script);
    // First column of the first row of a query, or a null variant.
    QVariant scalar(const std::string &sql);
    long long changes() const;
    // Changes the file has seen since this connection opened: rows this connection changed and
    // what other connections committed. Equal stamps mean nothing has changed in between.
    struct ChangeStamp
    {
        long long ownRows = 0;
        long long dataVersion = 0;
        bool operator==(const ChangeStamp &) const = default;
    };
    ChangeStamp changeStamp();
    void close();

    DbError error(int rc) const;

private:
    sqlite3 *m_db = nullptr;
    QString m_path;
};

class Statement
{
public:
    // sql is one statement; anything but blanks, comments and semicolons after it is refused
    // (ErrNo::TextAfterStatement) rather than silently dropped.
    Statement(const SqliteDb &db, const std::string &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Null binds NULL, an empty string binds "" - they are different values.
    void bind(int index, const QVariant &value);
    // true: a row is ready; false: done. Errors throw.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QVariant column(int column) const;
    // A text column's stored UTF-8 bytes, valid until the next step or reset; empty for a null.
    // Saves the conversion to QString where the bytes are all that is needed.
    enum class Type { Null, Integer, Float, Text, Blob };
    Type columnType(int column) const;
    std::string_view columnUtf8(int column) const;

private:
    const SqliteDb &m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// Runs `work` in one write transaction: committed when it returns, rolled back when it throws
// (the error is passed on; SQLite may have rolled back on its own already, after a full disk).
void inTransaction(SqliteDb &db, const std::function<void()> &work);

// Creates an index by its statement unless the file has one of that name: once, in a transaction
// of its own, so that an interrupted start leaves the file as it was.
void createIndexOnce(SqliteDb &db, const std::string &name, const std::string &create);

// Maps an SQLite result code (extended codes too) to the program's error numbers and a German
// description that keeps the engine's number. `engineMessage` is SQLite's own English text: the
// names it gives (a table, a field) are kept, the English never reaches the user.
DbError sqliteError(int rc, const QString &engineMessage);
