#include "data/WorkbookExport.h"

#include "common/DbError.h"
#include "data/RaceDateIndex.h"
#include "data/SqlTranslator.h"
#include "data/Sqlite.h"
#include "xls/Utf16.h"
#include "xls/WorkbookWriter.h"

#include <QFile>
#include <QRegularExpression>

#include <cctype>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

// A sheet holds 65,536 rows, and the heading takes one of them.
constexpr qint64 maxResultRows = xls::WorkbookWriter::maxRows - 1;

DbError tooManyRows(const QString &count)
{
    return DbError(ErrNo::SqlError,
                   QStringLiteral("Die Abfrage liefert ") + count
                       + QStringLiteral(" Datensätze; ein Excel-97-Arbeitsblatt fasst mit der "
                                        "Überschriftenzeile höchstens 65.536 Zeilen, also "
                                        "65.535 Datensätze. Es wurde keine Datei geschrieben."));
}

// 65536 -> "65.536"
QString groupedNumber(qint64 n)
{
    QString digits = QString::number(n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char('.'));
    return digits;
}

// Counting first costs a fraction of the export and refuses a result that cannot fit before
// any file exists; the count is returned. The writer keeps its own limit for rows added between
// count and export.
qint64 refuseOversizedResult(const SqliteDb &db, std::string select)
{
    while (!select.empty()
           && (select.back() == ';' || std::isspace(static_cast<unsigned char>(select.back()))))
        select.pop_back();
    // Line breaks keep a trailing comment from swallowing the closing parenthesis.
    // Without its ordering the select is flattened into the count: no sort, no columns read.
    Statement count(db, "select count(*) from (\n" + withoutFinalOrdering(select) + "\n)");
    const qint64 rows = count.step() ? count.column(0).toLongLong() : 0;
    if (rows > maxResultRows)
        throw tooManyRows(groupedNumber(rows));
    return rows;
}

// Columns declared BOOLEAN in the table the select reads from.
std::set<QString> booleanColumns(const SqliteDb &db, const std::string &select)
{
    static const QRegularExpression fromTable(
        QStringLiteral(R"(\bfrom\s+([A-Za-z_][A-Za-z0-9_]*))"),
        QRegularExpression::CaseInsensitiveOption);
    std::set<QString> names;
    const auto m = fromTable.match(QString::fromStdString(select));
    if (!m.hasMatch())
        return names;
    Statement info(db, "select name, type from pragma_table_info(?)");
    info.bind(1, m.captured(1));
    while (info.step()) {
        if (info.column(1).toString().compare(QStringLiteral("BOOLEAN"), Qt::CaseInsensitive) == 0)
            names.insert(info.column(0).toString());
    }
    return names;
}

// The rows of the select, read on a thread of their own a batch at a time while the writer
// encodes the batch before: reading and encoding each take a good part of the export, and the
// second core does the one while the first does the other.
class RowReader
{
public:
    struct Value
    {
        xls::Cell::Kind kind = xls::Cell::Kind::Empty;
        bool value = false;
        std::size_t offset = 0; // text: in the batch's texts
        std::size_t size = 0;
    };
    struct Batch
    {
        std::string texts; // of all its rows, back to back
        std::vector<Value> values; // row by row, a value per column
    };

    RowReader(Statement &rows, std::vector<bool> isBoolean)
        : m_rows(rows)
        , m_isBoolean(std::move(isBoolean))
        , m_batches(batchCount)
    {
        for (Batch &batch : m_batches)
            m_free.push_back(&batch);
        m_thread = std::thread([this] { run(); });
    }
    ~RowReader()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    RowReader(const RowReader &) = delete;
    RowReader &operator=(const RowReader &) = delete;

    // The next batch, valid until the next call; null after the last. An error of the reading
    // thread is thrown here.
    const Batch *next()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_current) {
            m_free.push_back(m_current);
            m_current = nullptr;
            m_changed.notify_all();
        }
        m_changed.wait(lock, [this] { return !m_full.empty() || m_done; });
        if (!m_full.empty()) {
            m_current = m_full.front();
            m_full.pop_front();
            return m_current;
        }
        if (m_error)
            std::rethrow_exception(m_error);
        return nullptr;
    }

private:
    static constexpr int batchCount = 3;
    static constexpr int rowsPerBatch = 256;

    void run()
    {
        std::exception_ptr error;
        try {
            for (bool more = true; more;) {
                Batch *batch = nullptr;
                {
                    std::unique_lock<std::mutex> lock(m_mutex);
                    m_changed.wait(lock, [this] { return !m_free.empty() || m_stop; });
                    if (m_stop)
                        return;
                    batch = m_free.front();
                    m_free.pop_front();
                }
                batch->texts.clear();
                batch->values.clear();
                for (int r = 0; r < rowsPerBatch && (more = m_rows.step()); ++r)
                    readRow(*batch);
                if (batch->values.empty())
                    break;
                {
                    const std::lock_guard<std::mutex> lock(m_mutex);
                    m_full.push_back(batch);
                }
                m_changed.notify_all();
            }
        } catch (...) {
            error = std::current_exception();
        }
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
            m_error = error;
        }
        m_changed.notify_all();
    }

    void readRow(Batch &batch)
    {
        const int columns = static_cast<int>(m_isBoolean.size());
        for (int c = 0; c < columns; ++c) {
            Value &v = batch.values.emplace_back();
            const Statement::Type type = m_rows.columnType(c);
            if (type == Statement::Type::Null)
                continue;
            if (type == Statement::Type::Text) {
                // Stored text goes to the writer as it is, converted once; only damaged bytes
                // (and a leading byte order mark) take the way through QString, as before.
                const std::string_view utf8 = m_rows.columnUtf8(c);
                if (!utf8.starts_with("\xEF\xBB\xBF") && xls::isValidUtf8(utf8)) {
                    addText(batch, v, utf8);
                    continue;
                }
            }
            const QVariant value = m_rows.column(c);
            const bool number
                = value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Double;
            if (value.isNull())
                continue;
            if (m_isBoolean[c] && number) {
                v.kind = xls::Cell::Kind::Boolean;
                v.value = value.toDouble() != 0;
            } else {
                const QByteArray utf8 = value.toString().toUtf8();
                addText(batch, v, std::string_view(utf8.constData(), utf8.size()));
            }
        }
    }

    static void addText(Batch &batch, Value &v, std::string_view utf8)
    {
        v.kind = xls::Cell::Kind::Text;
        v.offset = batch.texts.size();
        v.size = utf8.size();
        batch.texts.append(utf8);
    }

    Statement &m_rows;
    const std::vector<bool> m_isBoolean;
    std::vector<Batch> m_batches;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch *> m_free;
    std::deque<Batch *> m_full;
    Batch *m_current = nullptr;
    bool m_stop = false;
    bool m_done = false;
    std::exception_ptr m_error;
    std::thread m_thread; // last: starts when everything it uses is ready
};

quint32 exportToWorkbook(const SqliteDb &db, const std::string &select, const ExcelTarget &target,
                         qint64 expectedRows)
{
    Statement rows(db, select);
    const int columns = rows.columnCount();
    const std::set<QString> booleans = booleanColumns(db, select);
    std::vector<bool> isBoolean(columns);
    std::vector<QByteArray> names(columns);
    std::vector<xls::Cell> cells(columns);

    xls::WorkbookWriter book(QFile::encodeName(target.path).toStdString(),
                             target.sheet.toStdString());
    for (int c = 0; c < columns; ++c) {
        isBoolean[c] = booleans.count(rows.columnName(c)) > 0;
        names[c] = rows.columnName(c).toUtf8();
        cells[c] = xls::Cell::fromText(std::string_view(names[c].constData(), names[c].size()));
    }
    book.addRow(cells);
    book.expectRows(static_cast<std::uint32_t>(expectedRows));

    {
        RowReader reader(rows, std::move(isBoolean));
        while (const RowReader::Batch *batch = reader.next()) {
            const std::string_view texts = batch->texts;
            for (std::size_t at = 0; at < batch->values.size(); at += columns) {
                for (int c = 0; c < columns; ++c) {
                    const RowReader::Value &v = batch->values[at + c];
                    cells[c] = { v.kind, texts.substr(v.offset, v.size), v.value };
                }
                book.addRow(cells);
            }
        }
    }
    book.finish();
    return book.cutCells();
}

// The statement with the handed target path set aside, so that nothing in the path can be taken
// for the statement's own syntax.
TranslatedStatement translateWithTarget(const QString &statement, const QString &excelPath,
                                        const TranslateOptions &options)
{
    if (excelPath.isEmpty())
        return translateStatement(statement, options);
    const QString prefix = QStringLiteral("[Excel 8.0;Database=");
    const QString written = prefix + excelPath + QStringLiteral("].");
    const qsizetype at = statement.indexOf(written);
    if (at < 0)
        throw DbError(ErrNo::SqlError,
                      QStringLiteral("Die Abfrage nennt die Exportdatei '%1' nicht als Ziel.")
                          .arg(excelPath));
    TranslatedStatement translated = translateStatement(
        QString(statement).replace(at, written.size(), prefix + QStringLiteral("_].")), options);
    if (translated.excel)
        translated.excel->path = excelPath;
    return translated;
}

} // namespace

DbError toDbError(const xls::Error &e)
{
    const QString text = QString::fromUtf8(e.what());
    switch (e.kind()) {
    case xls::ErrorKind::FileExists:
        return DbError(ErrNo::FileExists, text);
    case xls::ErrorKind::FolderMissing:
    case xls::ErrorKind::AccessDenied:
        return DbError(ErrNo::CannotOpenFile, text);
    case xls::ErrorKind::DiskFull:
        return DbError(ErrNo::DiskFull, text);
    case xls::ErrorKind::WriteFailed:
        return DbError(ErrNo::DiskError, text);
    case xls::ErrorKind::TooManyRows:
        return tooManyRows(QStringLiteral("mehr als 65.535"));
    case xls::ErrorKind::TooManyColumns:
    case xls::ErrorKind::TooLarge:
    case xls::ErrorKind::InvalidSheetName:
    case xls::ErrorKind::InvalidUse:
        break;
    }
    return DbError(ErrNo::SqlError, text);
}

StatementResult executeStatement(const QString &databasePath, const QString &statement,
                                 const QString &excelPath)
{
    // The connection is this function's alone: its reading thread has it from start to join.
    SqliteDb db(databasePath, SqliteDb::Open::ReadWrite, SqliteDb::Threads::OneAtATime);
    TranslateOptions options;
    // As the lists do: the race date's index answers the ordering unless a race date needs the
    // date functions.
    options.raceDateKeys = statement.contains(QLatin1String("ad_lauf_datum"), Qt::CaseInsensitive)
        && !RaceDateIndex::hasIrregularDates(db);
    const TranslatedStatement translated = translateWithTarget(statement, excelPath, options);
    StatementResult result;
    {
        // One statement only: text after it is refused before anything runs or a file exists.
        Statement single(db, translated.sql);
        if (!translated.excel) {
            while (single.step()) { }
            return result;
        }
    }
    const qint64 rows = refuseOversizedResult(db, translated.sql);
    // The rows are read through SQLite's own page cache, not a map of the file: a read error
    // under a map would end the program instead of reaching the error box.
    try {
        result.cutCells = exportToWorkbook(db, translated.sql, *translated.excel, rows);
    } catch (const xls::Error &e) {
        throw toDbError(e);
    }
    return result;
}
