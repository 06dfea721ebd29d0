#include "DataSource.h"

#include "DbError.h"
#include "RaceDateIndex.h"
#include "SqlTranslator.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace {
// Keys read at once when they are read on demand: a few screens of any grid.
constexpr int kFirstKeys = 256;

// counted_row(x) is x, and counts the rows for which x holds (the user data is the counter).
void countedRow(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL && sqlite3_value_double(argv[0]) != 0)
        ++*static_cast<qlonglong *>(sqlite3_user_data(ctx));
    sqlite3_result_value(ctx, argv[0]);
}

// True when SQLite sorts every row of the statement before handing out the first: a limit then
// never ends the scan early.
bool sortsWhole(SqliteDb &db, const std::string &sql)
{
    Statement plan(db, "explain query plan " + sql);
    bool whole = false;
    while (plan.step()) {
        const QString detail = plan.column(3).toString();
        if (detail.contains(QLatin1String("ORDER BY"))) {
            if (detail != QLatin1String("USE TEMP B-TREE FOR ORDER BY"))
                return false;
            whole = true;
        }
    }
    return whole;
}

DbError noCurrentRecord()
{
    return DbError(ErrNo::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
}

const QRegularExpression &writableSelect()
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*select\s+\*\s+from\s+(\w+)\b)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

// The table name comes from the \w+ match above and never holds a quote, so quoting is enough
// to paste it into a statement; values are always bound.
std::string quotedName(const QString &name)
{
    return '"' + name.toStdString() + '"';
}
} // namespace

DataSource::DataSource(QObject *parent)
    : QObject(parent)
{
}

DataSource::~DataSource() = default;

void DataSource::setDatabaseName(const QString &path)
{
    if (path != m_path)
        m_db.close();
    m_path = path;
}

void DataSource::setRecordSource(const QString &statement)
{
    m_statement = statement;
}

void DataSource::close()
{
    m_db.close();
}

void DataSource::ensureOpen()
{
    if (!m_db.isOpen())
        m_db = SqliteDb(m_path, SqliteDb::Open::ReadWrite);
}

void DataSource::refresh()
{
    ensureOpen();
    TranslateOptions options;
    // One look at the few races without a sortable date decides whether the key may stand in
    // for the date functions.
    options.raceDateKeys = m_statement.contains(QLatin1String("ad_lauf_datum"), Qt::CaseInsensitive)
        && !RaceDateIndex::hasIrregularDates(m_db);
    const TranslatedStatement translated = translateStatement(m_statement, options);
    if (translated.excel)
        throw DbError(ErrNo::SqlError, QStringLiteral("Diese Anweisung liefert keine Datensätze"));

    const auto m = writableSelect().match(m_statement);
    const QString table = m.hasMatch() ? m.captured(1) : QString();
    std::string sql = translated.sql;
    const auto star = sql.find('*');
    QStringList fields;
    std::vector<Row> rows;
    std::string keySql;
    int keysRead = 0;
    if (!table.isEmpty()) {
        // The row's key travels in a hidden first column, so writes find their row. Only the
        // keys are read now; the fields follow when a row is first looked at.
        Statement named(m_db, std::string(sql).replace(star, 1, "_rowid_, *"));
        for (int c = 1; c < named.columnCount(); ++c)
            fields << named.columnName(c);
        keySql = std::string(sql).replace(star, 1, "_rowid_");
        const std::string unordered = withoutFinalOrdering(keySql);
        if (m_keysOnDemand && unordered != keySql) {
            // Every search reads the whole table again: keep it in memory (up to 32 MB)
            // rather than in the system's file cache, a read call per page.
            m_db.exec("pragma cache_size = -32768");
            // One snapshot for the first keys and the count.
            m_db.exec("begin");
            try {
                // Where the rows are sorted whole before the first comes out, the scan that
                // picks the first rows counts them all on the way.
                const std::string limit = "\nlimit " + std::to_string(kFirstKeys);
                std::string counting = withCountedCondition(unordered);
                if (!counting.empty()) {
                    counting += keySql.substr(unordered.size()) + limit;
                    sqlite3_create_function_v2(m_db.handle(), "counted_row", 1, SQLITE_UTF8,
                                               &m_counted, countedRow, nullptr, nullptr, nullptr);
                    if (!sortsWhole(m_db, counting))
                        counting.clear();
                }
                m_counted = 0;
                Statement first(m_db, counting.empty() ? keySql + limit : counting);
                while (first.step())
                    rows.push_back(Row { first.column(0).toLongLong(), {}, false });
                keysRead = int(rows.size());
                // Fewer than asked for are all there are; only a longer list is counted.
                if (keysRead == kFirstKeys && !counting.empty()) {
                    rows.resize(size_t(std::max<qlonglong>(m_counted, keysRead)),
                                Row { 0, {}, false });
                } else if (keysRead == kFirstKeys) {
                    const auto count
                        = m_db.scalar("select count(*) from (\n" + unordered + "\n)").toLongLong();
                    rows.resize(size_t(std::max<qlonglong>(count, keysRead)), Row { 0, {}, false });
                }
                m_db.exec("commit");
            } catch (...) {
                m_db.exec("rollback");
                throw;
            }
        } else {
            Statement keys(m_db, keySql);
            while (keys.step())
                rows.push_back(Row { keys.column(0).toLongLong(), {}, false });
            keysRead = int(rows.size());
        }
    } else {
        Statement st(m_db, sql);
        for (int c = 0; c < st.columnCount(); ++c)
            fields << st.columnName(c);
        while (st.step()) {
            Row row { qlonglong(rows.size()), {}, true };
            row.values.reserve(size_t(fields.size()));
            for (int c = 0; c < st.columnCount(); ++c)
                row.values.push_back(st.column(c));
            rows.push_back(std::move(row));
        }
        keysRead = int(rows.size());
    }

    int keyField = -1;
    if (!table.isEmpty()) {
        Statement info(m_db, "pragma table_info(" + quotedName(table) + ")");
        while (info.step()) {
            if (info.column(5).toInt() == 1
                && info.column(2).toString().compare(QStringLiteral("integer"), Qt::CaseInsensitive)
                    == 0)
                keyField = int(fields.indexOf(info.column(1).toString()));
        }
    }

    // Only now that everything was read does the data source change: a failing
    // statement leaves the previous result where it was.
    m_table = table;
    m_keyField = keyField;
    m_fields = fields;
    m_fieldIndex.clear();
    for (int i = 0; i < fields.size(); ++i)
        m_fieldIndex.insert(fields[i].toLower(), i);
    m_rows = std::move(rows);
    m_keysRead = keysRead;
    m_keySql = keysRead < int(m_rows.size()) ? std::move(keySql) : std::string();
    m_loadedPages.clear();
    m_mode = EditMode::None;
    m_buffer.clear();
    m_pos = m_rows.empty() ? -1 : 0;
    m_currentDeleted = false;
    emit resetDone();
    emit currentChanged(currentIndex());
}

void DataSource::requireCurrent() const
{
    if (m_currentDeleted)
        throw DbError(ErrNo::RecordDeleted, QStringLiteral("Der Datensatz ist gelöscht."));
    if (!hasCurrent())
        throw noCurrentRecord();
}

void DataSource::requireWritable() const
{
    if (m_table.isEmpty())
        throw DbError(ErrNo::ReadOnly,
                      QStringLiteral("Aktualisieren nicht möglich. Datenbank oder Objekt "
                                     "ist schreibgeschützt."));
}

void DataSource::dropEdit()
{
    m_mode = EditMode::None;
    m_buffer.clear();
    m_snapshot.clear();
    m_dirty.clear();
}

void DataSource::setPosition(int pos)
{
    dropEdit();
    m_currentDeleted = false;
    m_pos = pos;
    emit currentChanged(currentIndex());
}

void DataSource::moveFirst()
{
    if (m_rows.empty())
        throw noCurrentRecord();
    setPosition(0);
}

void DataSource::moveLast()
{
    if (m_rows.empty())
        throw noCurrentRecord();
    setPosition(int(m_rows.size()) - 1);
}

void DataSource::moveNext()
{
    if (eof())
        throw noCurrentRecord();
    // After a delete the slot already holds the next row.
    setPosition(m_currentDeleted ? m_pos : m_pos + 1);
}

void DataSource::movePrevious()
{
    if (bof())
        throw noCurrentRecord();
    setPosition(m_pos - 1);
}

void DataSource::moveTo(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        throw noCurrentRecord();
    if (row != m_pos || m_currentDeleted)
        setPosition(row);
}

void DataSource::reread()
{
    requireCurrent();
    readAllKeys();
    dropEdit();
    if (m_table.isEmpty())
        return;
    ensureOpen();
    if (auto fresh = readRow(m_rows[size_t(m_pos)].key)) {
        m_rows[size_t(m_pos)] = std::move(*fresh);
        emit rowChanged(m_pos);
    }
}

bool DataSource::findFirst(const QString &criterion)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*(\w+)\s*=\s*(.*?)\s*$)"));
    const auto m = re.match(criterion);
    if (!m.hasMatch())
        throw DbError(ErrNo::SearchSyntax,
                      QStringLiteral("Syntaxfehler im Suchausdruck: ") + criterion);
    const int column = requireField(m.captured(1));
    readAllKeys();
    QString wanted = m.captured(2);
    const bool text = wanted.startsWith(u'\'') && wanted.endsWith(u'\'') && wanted.size() >= 2;
    if (text)
        wanted
            = wanted.mid(1, wanted.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const QVariant v = column == m_keyField ? QVariant(m_rows[size_t(r)].key)
                                                : loadedRow(r).values[size_t(column)];
        if (v.isNull())
            continue;
        const bool equal = text ? v.toString() == wanted
                                : (v.toString() == wanted || v.toDouble() == wanted.toDouble());
        if (equal) {
            setPosition(r);
            return true;
        }
    }
    return false;
}

QVariant DataSource::bookmark() const
{
    requireCurrent();
    readKeys(m_pos + 1);
    return m_rows[size_t(m_pos)].key;
}

void DataSource::setBookmark(const QVariant &bookmark)
{
    readAllKeys();
    for (int r = 0; r < int(m_rows.size()); ++r)
        if (m_rows[size_t(r)].key == bookmark.toLongLong()) {
            setPosition(r);
            return;
        }
    throw DbError(ErrNo::InvalidBookmark, QStringLiteral("Ungültige Textmarke."));
}

std::optional<DataSource::Row> DataSource::readRow(qlonglong key)
{
    std::string sql = "select _rowid_, ";
    for (int i = 0; i < m_fields.size(); ++i)
        sql += (i ? ", " : "") + quotedName(m_fields[i]);
    sql += " from " + quotedName(m_table) + " where _rowid_ = ?";
    Statement st(m_db, sql);
    st.bind(1, key);
    if (!st.step())
        return std::nullopt;
    Row row;
    row.key = key;
    for (int c = 1; c < st.columnCount(); ++c)
        row.values.push_back(st.column(c));
    return row;
}

qlonglong DataSource::nextKey()
{
    // The number a new row gets from the table's own counter: never one used before.
    qlonglong next = m_db.scalar("select coalesce(max(_rowid_), 0) + 1 from " + quotedName(m_table))
                         .toLongLong();
    Statement seq(m_db, "select seq + 1 from sqlite_sequence where name = ?");
    seq.bind(1, m_table);
    if (seq.step() && !seq.column(0).isNull())
        next = std::max(next, seq.column(0).toLongLong());
    return next;
}

void DataSource::addNew()
{
    requireWritable();
    readAllKeys();
    ensureOpen();
    dropEdit();
    m_newKey = nextKey();
    m_buffer.assign(size_t(m_fields.size()), QVariant());
    if (m_keyField >= 0)
        m_buffer[size_t(m_keyField)] = m_newKey;
    m_dirty.assign(m_buffer.size(), false);
    m_mode = EditMode::AddNew;
}

void DataSource::edit()
{
    requireWritable();
    requireCurrent();
    readAllKeys();
    ensureOpen();
    auto fresh = readRow(m_rows[size_t(m_pos)].key);
    if (!fresh)
        throw DbError(ErrNo::RecordDeleted, QStringLiteral("Der Datensatz ist gelöscht."));
    m_rows[size_t(m_pos)] = *fresh;
    m_snapshot = fresh->values;
    m_buffer = std::move(fresh->values);
    m_dirty.assign(m_buffer.size(), false);
    m_mode = EditMode::Edit;
}

std::vector<QVariant> &DataSource::buffer()
{
    if (m_mode == EditMode::None)
        throw DbError(ErrNo::UpdateWithoutEdit,
                      QStringLiteral("Aktualisieren ohne Hinzufügen oder Bearbeiten."));
    return m_buffer;
}

void DataSource::update()
{
    std::vector<QVariant> &values = buffer();
    readAllKeys();
    ensureOpen();
    if (m_mode == EditMode::AddNew) {
        // Columns left null are not named, so the table's defaults (false for yes/no) apply.
        std::string cols = "_rowid_", marks = "?";
        std::vector<int> given;
        for (int i = 0; i < m_fields.size(); ++i) {
            if (i == m_keyField || values[size_t(i)].isNull())
                continue;
            cols += ", " + quotedName(m_fields[i]);
            marks += ", ?";
            given.push_back(i);
        }
        Statement st(
            m_db, "insert into " + quotedName(m_table) + " (" + cols + ") values (" + marks + ")");
        st.bind(1, m_newKey);
        int bindIndex = 2;
        for (int i : given)
            st.bind(bindIndex++, values[size_t(i)]);
        st.step();
        auto stored = readRow(m_newKey);
        m_rows.push_back(stored ? std::move(*stored) : Row { m_newKey, values });
        dropEdit();
        emit rowInserted(int(m_rows.size()) - 1);
        return;
    }

    Row &row = m_rows[size_t(m_pos)];
    loadedRow(m_pos);
    // Optimistic locking: the row must still be as it was when editing began.
    const auto stored = readRow(row.key);
    if (!stored || stored->values != m_snapshot) {
        if (stored) {
            row = *stored;
            m_snapshot = stored->values;
        }
        throw DbError(ErrNo::RowChanged,
                      QStringLiteral("Der Datensatz wurde seit dem Lesen von einem anderen "
                                     "Vorgang geändert."));
    }
    // Only the fields written are stored, so a repeated write after a conflict keeps
    // what the other writer changed in the other fields.
    std::string sets;
    std::vector<int> changed;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (!m_dirty[size_t(i)])
            continue;
        sets += (sets.empty() ? "" : ", ") + quotedName(m_fields[i]) + " = ?";
        changed.push_back(i);
    }
    if (!changed.empty()) {
        Statement st(m_db, "update " + quotedName(m_table) + " set " + sets + " where _rowid_ = ?");
        int bindIndex = 1;
        for (int i : changed)
            st.bind(bindIndex++, values[size_t(i)]);
        st.bind(bindIndex, row.key);
        st.step();
    }
    for (int i : changed)
        row.values[size_t(i)] = values[size_t(i)];
    dropEdit();
    emit rowChanged(m_pos);
}

void DataSource::cancelUpdate()
{
    dropEdit();
}

void DataSource::deleteCurrent()
{
    requireWritable();
    requireCurrent();
    readAllKeys();
    ensureOpen();
    Statement st(m_db, "delete from " + quotedName(m_table) + " where _rowid_ = ?");
    st.bind(1, m_rows[size_t(m_pos)].key);
    st.step();
    dropEdit();
    m_rows.erase(m_rows.begin() + m_pos);
    m_currentDeleted = true;
    emit rowRemoved(m_pos);
}

int DataSource::fieldIndex(const QString &name) const
{
    return m_fieldIndex.value(name.toLower(), -1);
}

int DataSource::requireField(const QString &field) const
{
    const int i = fieldIndex(field);
    if (i < 0)
        throw DbError(ErrNo::NoSuchField,
                      QStringLiteral("Das Feld '%1' ist in dieser Auflistung nicht "
                                     "enthalten.")
                          .arg(field));
    return i;
}

QVariant DataSource::value(const QString &field) const
{
    const int i = requireField(field);
    if (m_mode != EditMode::None)
        return m_buffer[size_t(i)];
    requireCurrent();
    return loadedRow(m_pos).values[size_t(i)];
}

void DataSource::setValue(const QString &field, const QVariant &value)
{
    const int i = requireField(field);
    if (i == m_keyField)
        throw DbError(ErrNo::FieldNotUpdatable,
                      QStringLiteral("Das Feld '%1' kann nicht aktualisiert werden.").arg(field));
    buffer()[size_t(i)] = value;
    m_dirty[size_t(i)] = true;
}

QVariant DataSource::valueAt(int row, int column) const
{
    if (row < 0 || row >= int(m_rows.size()) || column < 0 || column >= m_fields.size())
        return {};
    try {
        return loadedRow(row).values[size_t(column)];
    } catch (const DbError &) {
        return {}; // a grid cell that cannot be read stays empty; the next action reports it
    }
}

const DataSource::Row &DataSource::loadedRow(int index) const
{
    if (!m_rows[size_t(index)].loaded)
        loadPage(index);
    return m_rows[size_t(index)];
}

namespace {
constexpr int kPage = 64;
// About 4,000 rows of 54 fields: a few screens of any grid, some megabytes.
constexpr size_t kPagesKept = 64;
} // namespace

void DataSource::unloadOldPages() const
{
    // Rows are read again from the file when needed; the file always holds what was stored.
    while (m_loadedPages.size() > kPagesKept) {
        const int first = m_loadedPages.front();
        m_loadedPages.pop_front();
        const int last = std::min(int(m_rows.size()), first + kPage);
        for (int r = first; r < last; ++r) {
            if (r == m_pos)
                continue;
            std::vector<QVariant>().swap(m_rows[size_t(r)].values);
            m_rows[size_t(r)].loaded = false;
        }
    }
}

void DataSource::readKeys(int upTo) const
{
    if (upTo <= m_keysRead || m_keySql.empty())
        return;
    if (!m_db.isOpen())
        m_db = SqliteDb(m_path, SqliteDb::Open::ReadWrite);
    const int total = int(m_rows.size());
    // Each step reads several times what is known; past an eighth of the list, everything.
    const int wanted = std::max(upTo, m_keysRead * 4);
    const bool all = wanted >= total / 8;
    Statement keys(m_db, all ? m_keySql : m_keySql + "\nlimit " + std::to_string(wanted));
    int r = 0;
    for (; (all || r < wanted) && keys.step(); ++r) {
        const qlonglong key = keys.column(0).toLongLong();
        if (r >= int(m_rows.size()))
            m_rows.push_back(Row { key, {}, false });
        else if (r < m_keysRead && m_rows[size_t(r)].key != key)
            m_rows[size_t(r)] = Row { key, {}, false }; // rows of equal rank in another order
        else
            m_rows[size_t(r)].key = key;
    }
    if (!all && r == wanted) {
        m_keysRead = wanted;
        return;
    }
    m_keySql.clear();
    m_keysRead = r;
    if (r != total) {
        // Only a write elsewhere since the count gets here; the list is then the one read now.
        m_rows.resize(size_t(r), Row { 0, {}, false });
        auto *self = const_cast<DataSource *>(this);
        self->m_pos = std::min(self->m_pos, r - 1);
        emit self->resetDone();
    }
}

void DataSource::loadPage(int index) const
{
    const int first = index - index % kPage;
    readKeys(first + kPage);
    const int last = std::min(int(m_rows.size()), first + kPage);
    std::string marks;
    for (int r = first; r < last; ++r)
        marks += r == first ? "?" : ", ?";
    std::string sql = "select _rowid_";
    for (const QString &f : m_fields)
        sql += ", " + quotedName(f);
    sql += " from " + quotedName(m_table) + " where _rowid_ in (" + marks + ")";
    Statement st(m_db, sql);
    QHash<qlonglong, int> where;
    for (int r = first; r < last; ++r) {
        st.bind(r - first + 1, m_rows[size_t(r)].key);
        where.insert(m_rows[size_t(r)].key, r);
    }
    for (int r = first; r < last; ++r) {
        // A row deleted elsewhere since the keys were read shows as empty.
        if (!m_rows[size_t(r)].loaded)
            m_rows[size_t(r)].values.assign(size_t(m_fields.size()), QVariant());
    }
    while (st.step()) {
        Row &row = m_rows[size_t(where.value(st.column(0).toLongLong()))];
        if (row.loaded)
            continue;
        for (int c = 1; c < st.columnCount(); ++c)
            row.values[size_t(c - 1)] = st.column(c);
    }
    for (int r = first; r < last; ++r)
        m_rows[size_t(r)].loaded = true;
    m_loadedPages.push_back(first);
    unloadOldPages();
}
