#include "WorkbookExport.h"

#include "DbError.h"
#include "SqlTranslator.h"
#include "Sqlite.h"
#include "WorkbookWriter.h"

#include <QFile>
#include <QRegularExpression>

#include <set>
#include <vector>

namespace {

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
        return DbError(
            ErrNo::SqlError,
            QStringLiteral("Die Abfrage liefert mehr als 65.535 Datensätze; ein "
                           "Excel-97-Arbeitsblatt fasst mit der Überschriftenzeile "
                           "höchstens 65.536 Zeilen. Es wurde keine Datei geschrieben."));
    case xls::ErrorKind::TooManyColumns:
    case xls::ErrorKind::TooLarge:
    case xls::ErrorKind::InvalidSheetName:
    case xls::ErrorKind::InvalidUse:
        break;
    }
    return DbError(ErrNo::SqlError, text);
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

void exportToWorkbook(const SqliteDb &db, const std::string &select, const ExcelTarget &target)
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

    while (rows.step()) {
        for (int c = 0; c < columns; ++c) {
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
}

} // namespace

void executeStatement(const QString &databasePath, const QString &statement)
{
    SqliteDb db(databasePath, SqliteDb::Open::ReadWrite);
    const TranslatedStatement translated = translateStatement(statement);
    if (!translated.excel) {
        db.exec(translated.sql);
        return;
    }
    try {
        exportToWorkbook(db, translated.sql, *translated.excel);
    } catch (const xls::Error &e) {
        throw toDbError(e);
    }
}
