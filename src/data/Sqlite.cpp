#include "data/Sqlite.h"

#include "common/DbError.h"
#include "data/SqlFunctions.h"

#include <QFileInfo>
#include <sqlite3.h>

SqliteDb::SqliteDb(const QString &path, Open mode, Threads threads)
    : m_path(path)
{
    int flags = threads == Threads::OneAtATime ? SQLITE_OPEN_NOMUTEX : SQLITE_OPEN_FULLMUTEX;
    switch (mode) {
    case Open::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Open::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case Open::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    if (mode != Open::Create && !QFileInfo::exists(path))
        throw DbError(ErrNo::DatabaseNotFound,
                      QStringLiteral("Die Datenbankdatei '%1' wurde nicht gefunden").arg(path));
    const QByteArray utf8 = path.toUtf8();
    const int rc = sqlite3_open_v2(utf8.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
        close();
        throw sqliteError(rc, msg);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
    registerSqlFunctions(m_db);
}

SqliteDb::~SqliteDb()
{
    close();
}

SqliteDb::SqliteDb(SqliteDb &&other) noexcept
    : m_db(other.m_db)
    , m_path(std::move(other.m_path))
{
    other.m_db = nullptr;
}

SqliteDb &SqliteDb::operator=(SqliteDb &&other) noexcept
{
    if (this != &other) {
        close();
        m_db = other.m_db;
        m_path = std::move(other.m_path);
        other.m_db = nullptr;
    }
    return *this;
}

void SqliteDb::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

DbError SqliteDb::error(int rc) const
{
    return sqliteError(rc, m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString());
}

void SqliteDb::exec(const std::string &sql)
{
    Statement st(*this, sql);
    while (st.step()) { }
}

void SqliteDb::runScript(const std::string &script)
{
    char *err = nullptr;
    const int rc = sqlite3_exec(m_db, script.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        throw error(rc);
}

QVariant SqliteDb::scalar(const std::string &sql)
{
    Statement st(*this, sql);
    return st.step() ? st.column(0) : QVariant();
}

long long SqliteDb::changes() const
{
    return sqlite3_changes64(m_db);
}

SqliteDb::ChangeStamp SqliteDb::changeStamp()
{
    return { sqlite3_total_changes64(m_db), scalar("pragma data_version").toLongLong() };
}

namespace {

// Whether the text after a prepared statement holds another one. Blanks, comments and empty
// statements (";") prepare to nothing; everything else, even a faulty statement, counts.
bool holdsAnotherStatement(sqlite3 *db, const char *rest, const char *end)
{
    while (rest < end) {
        sqlite3_stmt *next = nullptr;
        const char *after = nullptr;
        const int rc = sqlite3_prepare_v2(db, rest, int(end - rest), &next, &after);
        sqlite3_finalize(next);
        if (rc != SQLITE_OK || next || !after || after <= rest)
            return true;
        rest = after;
    }
    return false;
}

} // namespace

Statement::Statement(const SqliteDb &db, const std::string &sql)
    : m_db(db)
{
    const char *end = sql.c_str() + sql.size();
    const char *rest = nullptr;
    const int rc = sqlite3_prepare_v2(db.handle(), sql.c_str(), int(sql.size()), &m_stmt, &rest);
    if (rc != SQLITE_OK)
        throw db.error(rc);
    if (rest && holdsAnotherStatement(db.handle(), rest, end)) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DbError(ErrNo::TextAfterStatement,
                      QStringLiteral("Zeichen nach dem Ende der SQL-Anweisung gefunden: ")
                          + QString::fromUtf8(rest, end - rest).trimmed());
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throw m_db.error(rc);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw m_db.error(rc);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

Statement::Type Statement::columnType(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return Type::Null;
    case SQLITE_INTEGER:
        return Type::Integer;
    case SQLITE_FLOAT:
        return Type::Float;
    case SQLITE_TEXT:
        return Type::Text;
    default:
        return Type::Blob;
    }
}

std::string_view Statement::columnUtf8(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    if (!text)
        return {};
    return std::string_view(text, size_t(sqlite3_column_bytes(m_stmt, column)));
}

QVariant Statement::column(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    }
}

void inTransaction(SqliteDb &db, const std::function<void()> &work)
{
    db.exec("begin immediate");
    try {
        work();
        db.exec("commit");
    } catch (...) {
        try {
            db.exec("rollback");
        } catch (const DbError &) {
            // Rolled back by SQLite itself.
        }
        throw;
    }
}

void createIndexOnce(SqliteDb &db, const std::string &name, const std::string &create)
{
    inTransaction(db, [&] {
        bool exists = false;
        {
            Statement st(db, "select 1 from sqlite_master where type = 'index' and name = ?");
            st.bind(1, QString::fromStdString(name));
            exists = st.step();
        }
        if (!exists)
            db.exec(create);
    });
}
