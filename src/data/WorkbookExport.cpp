#include "data/WorkbookExport.h"

#include "common/DbError.h"
#include "data/RaceStore.h"
#include "data/StoredCell.h"
#include "model/RaceColumns.h"
#include "xls/WorkbookWriter.h"

#include <QFile>
#include <QStringEncoder>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

const QString kSheet = QStringLiteral("Läufe");

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

// The Yes/No columns, by their place among the races table's columns.
std::vector<bool> yesNoColumns()
{
    std::vector<bool> isYesNo;
    for (const RaceColumns::Kind kind : RaceColumns::kinds())
        isYesNo.push_back(kind == RaceColumns::Kind::YesNo);
    return isYesNo;
}

// The races, read on a thread of their own a batch at a time while the writer encodes the batch
// before: reading and encoding each take a good part of the export, and the second core does
// the one while the first does the other.
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

    RowReader(RaceStore &races, std::vector<bool> isYesNo)
        : m_races(races)
        , m_isYesNo(std::move(isYesNo))
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
    struct Stopped
    {
    };

    void run()
    {
        std::exception_ptr error;
        try {
            m_races.readStoredRows(RaceStore::Order::LatestFirst,
                                   [this](const Statement &row) { addRow(row); });
            if (m_filling && !m_filling->values.empty())
                hand(m_filling);
        } catch (const Stopped &) {
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

    // Columns 1.. of the row are the races table's columns after the number.
    void addRow(const Statement &row)
    {
        if (!m_filling) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_free.empty() || m_stop; });
            if (m_stop)
                throw Stopped();
            m_filling = m_free.front();
            m_free.pop_front();
            m_filling->texts.clear();
            m_filling->values.clear();
            m_rowsFilled = 0;
        }
        for (std::size_t c = 0; c < m_isYesNo.size(); ++c) {
            Value &v = m_filling->values.emplace_back();
            const int column = int(c) + 1;
            const StoredCell cell = storedCell(row, column, m_isYesNo[c]);
            if (cell.kind == StoredCell::Kind::Empty)
                continue;
            if (cell.kind == StoredCell::Kind::Truth) {
                v.kind = xls::Cell::Kind::Boolean;
                v.value = cell.yes;
                continue;
            }
            v.kind = xls::Cell::Kind::Text;
            v.offset = m_filling->texts.size();
            if (cell.kind == StoredCell::Kind::Bytes) {
                m_filling->texts.append(cell.bytes);
                v.size = cell.bytes.size();
            } else {
                v.size = appendUtf8(m_filling->texts, row.column(column));
            }
        }
        if (++m_rowsFilled == rowsPerBatch)
            hand(m_filling);
    }

    // Encodes straight into the batch: no text of its own for each of the export's millions of
    // values.
    std::size_t appendUtf8(std::string &texts, const QVariant &value)
    {
        const QString converted
            = value.typeId() == QMetaType::QString ? QString() : value.toString();
        const QString &text = value.typeId() == QMetaType::QString
            ? *static_cast<const QString *>(value.constData())
            : converted;
        const std::size_t at = texts.size();
        texts.resize(at + std::size_t(m_utf8.requiredSpace(text.size())));
        char *const end = m_utf8.appendToBuffer(texts.data() + at, text);
        texts.resize(std::size_t(end - texts.data()));
        return texts.size() - at;
    }

    void hand(Batch *&batch)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_full.push_back(batch);
        }
        batch = nullptr;
        m_changed.notify_all();
    }

    RaceStore &m_races;
    const std::vector<bool> m_isYesNo;
    std::vector<Batch> m_batches;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch *> m_free;
    std::deque<Batch *> m_full;
    Batch *m_current = nullptr;
    Batch *m_filling = nullptr; // the reading thread's
    int m_rowsFilled = 0;
    QStringEncoder m_utf8 { QStringEncoder::Utf8, QStringConverter::Flag::Stateless };
    bool m_stop = false;
    bool m_done = false;
    std::exception_ptr m_error;
    std::thread m_thread; // last: starts when everything it uses is ready
};

quint32 writeWorkbook(RaceStore &races, const QString &path, qint64 expectedRows)
{
    const QStringList &names = RaceColumns::names();
    const std::size_t columns = std::size_t(names.size());
    std::vector<QByteArray> heading(columns);
    std::vector<xls::Cell> cells(columns);

    xls::WorkbookWriter book(QFile::encodeName(path).toStdString(), kSheet.toStdString());
    for (std::size_t c = 0; c < columns; ++c) {
        heading[c] = names[qsizetype(c)].toUtf8();
        cells[c] = xls::Cell::fromText(std::string_view(heading[c].constData(), heading[c].size()));
    }
    book.addRow(cells);
    book.expectRows(static_cast<std::uint32_t>(expectedRows));

    {
        RowReader reader(races, yesNoColumns());
        while (const RowReader::Batch *batch = reader.next()) {
            const std::string_view texts = batch->texts;
            for (std::size_t at = 0; at < batch->values.size(); at += columns) {
                for (std::size_t c = 0; c < columns; ++c) {
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

quint32 exportRacesToWorkbook(const QString &databasePath, const QString &path)
{
    // The store is the export's alone: its reading thread has it from start to join.
    RaceStore races(databasePath, SqliteDb::Threads::OneAtATime);
    // Counting first refuses a list that cannot fit before any file exists. The writer keeps its
    // own limit for races added between count and export.
    const qint64 rows = races.raceCount();
    if (rows > maxResultRows)
        throw tooManyRows(groupedNumber(rows));
    // The rows are read through SQLite's own page cache, not a map of the file: a read error
    // under a map would end the program instead of reaching the error box.
    try {
        return writeWorkbook(races, path, rows);
    } catch (const xls::Error &e) {
        throw toDbError(e);
    }
}
