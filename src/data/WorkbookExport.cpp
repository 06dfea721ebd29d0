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
#include <set>
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

quint32 exportToWorkbook(const SqliteDb &db, const std::string &select, const ExcelTarget &target,
                         qint64 expectedRows)
{
    Statement rows(db, select);
    const int columns = rows.columnCount();
    const std::set<QString> booleans = booleanColumns(db, select);
    std::vector<bool> isBoolean(columns);
    std::vector<QByteArray> texts(columns);
    std::vector<xls::Cell> cells(columns);

    xls::WorkbookWriter book(QFile::encodeName(target.path).toStdString(),
                             target.sheet.toStdString());
    for (int c = 0; c < columns; ++c) {
        isBoolean[c] = booleans.count(rows.columnName(c)) > 0;
        texts[c] = rows.columnName(c).toUtf8();
        cells[c] = xls::Cell::fromText(std::string_view(texts[c].constData(), texts[c].size()));
    }
    book.addRow(cells);
    book.expectRows(static_cast<std::uint32_t>(expectedRows));

    while (rows.step()) {
        for (int c = 0; c < columns; ++c) {
            const Statement::Type type = rows.columnType(c);
            if (type == Statement::Type::Null) {
                cells[c] = xls::Cell::empty();
                continue;
            }
            if (type == Statement::Type::Text) {
                // Stored text goes to the writer as it is, converted once; only damaged bytes
                // (and a leading byte order mark) take the way through QString, as before.
                const std::string_view utf8 = rows.columnUtf8(c);
                if (!utf8.starts_with("\xEF\xBB\xBF") && xls::isValidUtf8(utf8)) {
                    cells[c] = xls::Cell::fromText(utf8);
                    continue;
                }
            }
            const QVariant value = rows.column(c);
            const bool number
                = value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Double;
            if (value.isNull()) {
                cells[c] = xls::Cell::empty();
            } else if (isBoolean[c] && number) {
                cells[c] = xls::Cell::fromBool(value.toDouble() != 0);
            } else {
                texts[c] = value.toString().toUtf8();
                cells[c]
                    = xls::Cell::fromText(std::string_view(texts[c].constData(), texts[c].size()));
            }
        }
        book.addRow(cells);
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
    SqliteDb db(databasePath, SqliteDb::Open::ReadWrite);
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
    try {
        result.cutCells = exportToWorkbook(db, translated.sql, *translated.excel, rows);
    } catch (const xls::Error &e) {
        throw toDbError(e);
    }
    return result;
}
