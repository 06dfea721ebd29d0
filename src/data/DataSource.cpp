#include "data/DataSource.h"

#include "common/DbError.h"
#include "data/PlaceNameIndex.h"
#include "data/RaceDateIndex.h"
#include "data/SqlTranslator.h"

#include <QRegularExpression>
#include <QSet>

#include <limits>

namespace {
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

// Keys read by refresh() when the keys are read a part at a time: a few screens of any grid.
constexpr int kFirstKeys = 256;

// A statement that limits its own rows is read whole.
bool hasOwnLimit(const QString &statement)
{
    static const QRegularExpression re(QStringLiteral(R"(\blimit\b|;|--|/\*)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(statement).hasMatch();
}

// The table name comes from the \w+ match above and never holds a quote, so quoting is enough
// to paste it into a statement; values are always bound.
std::string quotedName(const QString &name)
{
    return '"' + name.toStdString() + '"';
}

// The columns whose German prefix searches may be narrowed to first bytes: only for a statement
// on one table (so a column name means that table's column) that ends in an order by the keys'
// tie-break completes, since the index reads the rows in another order.
QStringList narrowableColumns(SqliteDb &db, const QString &statement)
{
    static const QRegularExpression oneTable(
        QStringLiteral(R"(^\s*select\s+\*\s+from\s+(\w+)\s+where\b)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression select(QStringLiteral(R"(\bselect\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression prefix(QStringLiteral(R"(\bleft\s*\()"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = oneTable.match(statement);
    if (!m.hasMatch() || !prefix.match(statement).hasMatch() || statement.count(select) != 1
        || hasOwnLimit(statement))
        return {};
    const std::string sql = translateStatement(statement).sql;
    if (withoutFinalOrdering(sql) == sql)
        return {};
    return PlaceNameIndex::indexedColumns(db, m.captured(1));
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
    // A list whose order breaks every tie may narrow its German prefix searches by first bytes:
    // an index then reads the rows in another order, which the sort undoes.
    if (m_keysOnDemand)
        options.leadByteColumns = narrowableColumns(m_db, m_statement);
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
    bool complete = true;
    int consumed = 0;
    if (!table.isEmpty()) {
        // The row's key travels in a hidden first column, so writes find their row. Only the
        // keys are read now; the fields follow when a row is first looked at.
        Statement named(m_db, std::string(sql).replace(star, 1, "_rowid_, *"));
        for (int c = 1; c < named.columnCount(); ++c)
            fields << named.columnName(c);
        keySql = std::string(sql).replace(star, 1, "_rowid_");
        bool totalOrder = translated.totalOrder;
        if (!totalOrder && m_keysOnDemand && withoutFinalOrdering(keySql) != keySql) {
            // Ties broken by the row key, in which a scan of the table meets them: every part
            // read with limit and offset then continues the same order.
            keySql += ", _rowid_";
            totalOrder = true;
            // Every search reads the whole table again: keep it in memory (up to 32 MB)
            // rather than in the system's file cache, a read call per page.
            m_db.exec("pragma cache_size = -32768");
        }
        if (totalOrder && !hasOwnLimit(m_statement)) {
            // The first screens now, the rest as the rows are reached.
            Statement keys(m_db, keySql + " limit " + std::to_string(kFirstKeys));
            while (keys.step())
                rows.push_back(Row { keys.column(0).toLongLong(), {}, false });
            consumed = int(rows.size());
            complete = consumed < kFirstKeys;
        } else {
            Statement keys(m_db, keySql);
            while (keys.step())
                rows.push_back(Row { keys.column(0).toLongLong(), {}, false });
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
    m_keySql = std::move(keySql);
    m_keysConsumed = consumed;
    m_complete = complete;
    m_writtenSinceRead = false;
    m_skipListed = false;
    m_listedKeys.clear();
    m_loadedPages.clear();
    m_mode = EditMode::None;
    m_buffer.clear();
    m_pos = m_rows.empty() ? -1 : 0;
    m_currentDeleted = false;
    emit resetDone();
    emit currentChanged(currentIndex());
}

bool DataSource::eof() const
{
    hasRow(std::max(m_pos, 0));
    return m_rows.empty() || m_pos >= int(m_rows.size());
}

bool DataSource::bof() const
{
    hasRow(0);
    return m_rows.empty() || m_pos < 0;
}

int DataSource::recordCount() const
{
    readKeys(std::numeric_limits<int>::max());
    return int(m_rows.size());
}

void DataSource::readMore() const
{
    readKeys(int(m_rows.size()) + 1);
}

bool DataSource::hasRow(int row) const
{
    if (row >= int(m_rows.size()))
        readKeys(row + 1);
    return row >= 0 && row < int(m_rows.size());
}

void DataSource::readKeys(int wanted) const
{
    while (!m_complete && int(m_rows.size()) < wanted) {
        // Parts grow with the list, so reading a whole list costs about twice one run of it.
        const int part = std::max(kFirstKeys, int(m_rows.size()));
        const int first = int(m_rows.size());
        // After a write the rows may stand elsewhere in the result: start at the top again, and
        // from now on list only keys not listed yet, so that no row goes missing and none shows
        // twice.
        const bool again = m_writtenSinceRead;
        if (again) {
            m_listedKeys.clear();
            for (const Row &row : m_rows)
                m_listedKeys.insert(row.key);
            m_skipListed = true;
        }
        const int offset = again ? 0 : m_keysConsumed;
        const int limit = again ? m_keysConsumed + part : part;
        Statement keys(m_db,
                       m_keySql + " limit " + std::to_string(limit) + " offset "
                           + std::to_string(offset));
        int read = 0;
        while (keys.step()) {
            ++read;
            const qlonglong key = keys.column(0).toLongLong();
            if (m_skipListed) {
                if (m_listedKeys.contains(key))
                    continue;
                m_listedKeys.insert(key);
            }
            m_rows.push_back(Row { key, {}, false });
        }
        m_keysConsumed = offset + read;
        m_complete = read < limit;
        m_writtenSinceRead = false;
        if (int(m_rows.size()) > first)
            emit const_cast<DataSource *>(this)->keysRead(first, int(m_rows.size()) - 1);
    }
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
    hasRow(pos);
    dropEdit();
    m_currentDeleted = false;
    m_pos = pos;
    emit currentChanged(currentIndex());
}

void DataSource::moveFirst()
{
    if (!hasRow(0))
        throw noCurrentRecord();
    setPosition(0);
}

void DataSource::moveLast()
{
    readKeys(std::numeric_limits<int>::max());
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
    if (!hasRow(row))
        throw noCurrentRecord();
    if (row != m_pos || m_currentDeleted)
        setPosition(row);
}

void DataSource::reread()
{
    requireCurrent();
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
    QString wanted = m.captured(2);
    const bool text = wanted.startsWith(u'\'') && wanted.endsWith(u'\'') && wanted.size() >= 2;
    if (text)
        wanted
            = wanted.mid(1, wanted.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    for (int r = 0; hasRow(r); ++r) {
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
    return m_rows[size_t(m_pos)].key;
}

void DataSource::setBookmark(const QVariant &bookmark)
{
    for (int r = 0; hasRow(r); ++r)
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
    ensureOpen();
    if (m_mode == EditMode::AddNew) {
        // A new row comes after every row of the result, as it always did; the result is read
        // before the row exists, or the row would be listed twice.
        readKeys(std::numeric_limits<int>::max());
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
        m_writtenSinceRead = true;
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
    ensureOpen();
    Statement st(m_db, "delete from " + quotedName(m_table) + " where _rowid_ = ?");
    st.bind(1, m_rows[size_t(m_pos)].key);
    st.step();
    m_writtenSinceRead = true;
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
    try {
        if (!hasRow(row) || column < 0 || column >= m_fields.size())
            return {};
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

void DataSource::loadPage(int index) const
{
    const int first = index - index % kPage;
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
