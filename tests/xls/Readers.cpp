#include "Readers.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <freexl.h>
#include <gtest/gtest.h>

std::vector<ReadSheet> readWithFreexl(const std::string &path)
{
    std::vector<ReadSheet> sheets;
    const void *handle = nullptr;
    const int rc = freexl_open(path.c_str(), &handle);
    if (rc != FREEXL_OK) {
        ADD_FAILURE() << "freexl_open failed: " << rc;
        freexl_close(handle);
        return sheets;
    }
    unsigned int count = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
    for (unsigned short s = 0; s < count; ++s) {
        ReadSheet sheet;
        const char *name = nullptr;
        EXPECT_EQ(freexl_get_worksheet_name(handle, s, &name), FREEXL_OK);
        sheet.name = name ? name : "";
        EXPECT_EQ(freexl_select_active_worksheet(handle, s), FREEXL_OK);
        unsigned int rows = 0;
        unsigned short columns = 0;
        EXPECT_EQ(freexl_worksheet_dimensions(handle, &rows, &columns), FREEXL_OK);
        sheet.columns = columns;
        for (unsigned int r = 0; r < rows; ++r) {
            std::vector<ReadCell> row(columns);
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK) {
                    ADD_FAILURE() << "freexl cannot read cell " << r << "," << c;
                    continue;
                }
                ReadCell &cell = row[c];
                switch (value.type) {
                case FREEXL_CELL_NULL:
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                    cell.kind = ReadCell::Kind::Text;
                    cell.text = value.value.text_value;
                    break;
                case FREEXL_CELL_INT:
                    cell.kind = ReadCell::Kind::Number;
                    cell.number = value.value.int_value;
                    break;
                case FREEXL_CELL_DOUBLE:
                    cell.kind = ReadCell::Kind::Number;
                    cell.number = value.value.double_value;
                    break;
                default:
                    cell.kind = ReadCell::Kind::Other;
                }
            }
            sheet.rows.push_back(std::move(row));
        }
        sheets.push_back(std::move(sheet));
    }
    freexl_close(handle);
    return sheets;
}

std::vector<ReadSheet> readWithXlrd(const std::string &path, int columns)
{
    std::vector<ReadSheet> sheets;
    QStringList arguments { QStringLiteral(XLRD_DUMP_SCRIPT), QString::fromStdString(path) };
    if (columns >= 0)
        arguments << QString::number(columns);
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!python.waitForFinished(120000) || python.exitStatus() != QProcess::NormalExit
        || python.exitCode() != 0) {
        ADD_FAILURE() << "xlrd failed: " << python.readAllStandardError().toStdString();
        return sheets;
    }
    const QJsonObject book = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    for (const QJsonValue &s : book[QStringLiteral("sheets")].toArray()) {
        ReadSheet sheet;
        sheet.name = s[QStringLiteral("name")].toString().toStdString();
        sheet.columns = s[QStringLiteral("ncols")].toInt();
        for (const QJsonValue &r : s[QStringLiteral("rows")].toArray()) {
            std::vector<ReadCell> row;
            for (const QJsonValue &c : r.toArray()) {
                const QString type = c[0].toString();
                ReadCell cell;
                if (type == QStringLiteral("text")) {
                    cell.kind = ReadCell::Kind::Text;
                    cell.text = c[1].toString().toStdString();
                } else if (type == QStringLiteral("bool")) {
                    cell.kind = ReadCell::Kind::Bool;
                    cell.number = c[1].toDouble();
                } else if (type == QStringLiteral("number")) {
                    cell.kind = ReadCell::Kind::Number;
                    cell.number = c[1].toDouble();
                } else if (type != QStringLiteral("empty")) {
                    cell.kind = ReadCell::Kind::Other;
                }
                row.push_back(cell);
            }
            sheet.rows.push_back(std::move(row));
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

bool libreOfficeInstalled()
{
    return QFileInfo::exists(QStringLiteral("/usr/bin/soffice"));
}

std::vector<std::vector<std::string>> readWithLibreOffice(const std::string &path)
{
    std::vector<std::vector<std::string>> rows;
    QTemporaryDir work;
    QProcess soffice;
    soffice.start(QStringLiteral("/usr/bin/soffice"),
                  { QStringLiteral("-env:UserInstallation=file://") + work.filePath("profile"),
                    QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                    QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"),
                    QStringLiteral("--outdir"), work.filePath("out"),
                    QString::fromStdString(path) });
    if (!soffice.waitForFinished(300000) || soffice.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "LibreOffice failed";
        return rows;
    }
    const QString csv = work.filePath("out/")
        + QFileInfo(QString::fromStdString(path)).completeBaseName() + QStringLiteral(".csv");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), { QStringLiteral(CSV_DUMP_SCRIPT), csv });
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        ADD_FAILURE() << "LibreOffice wrote no readable CSV: "
                      << python.readAllStandardError().toStdString();
        return rows;
    }
    for (const QJsonValue &r : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        std::vector<std::string> row;
        for (const QJsonValue &c : r.toArray())
            row.push_back(c.toString().toStdString());
        rows.push_back(std::move(row));
    }
    return rows;
}

void expectLibreOfficeShows(const std::string &path, const std::vector<std::vector<ReadCell>> &rows)
{
    if (!libreOfficeInstalled())
        return;
    std::vector<std::vector<std::string>> expected;
    for (const auto &row : padded(rows)) {
        std::vector<std::string> shown;
        for (const ReadCell &cell : row)
            shown.push_back(cell.kind == ReadCell::Kind::Bool ? (cell.number != 0 ? "1" : "0")
                                                              : cell.text);
        expected.push_back(std::move(shown));
    }
    const auto got = readWithLibreOffice(path);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t r = 0; r < got.size(); ++r)
        EXPECT_EQ(got[r], expected[r]) << "LibreOffice, Zeile " << r;
}

ReadCell text(const std::string &utf8)
{
    return { ReadCell::Kind::Text, utf8, 0 };
}

ReadCell boolean(bool value)
{
    return { ReadCell::Kind::Bool, {}, value ? 1.0 : 0.0 };
}

ReadCell empty()
{
    return {};
}

std::vector<std::vector<ReadCell>> padded(std::vector<std::vector<ReadCell>> rows)
{
    std::size_t width = 0;
    for (const auto &row : rows)
        width = std::max(width, row.size());
    for (auto &row : rows)
        row.resize(width);
    return rows;
}

std::vector<std::vector<ReadCell>> booleansAsNumbers(std::vector<std::vector<ReadCell>> rows)
{
    for (auto &row : rows) {
        for (ReadCell &cell : row) {
            if (cell.kind == ReadCell::Kind::Bool)
                cell.kind = ReadCell::Kind::Number;
        }
    }
    return rows;
}

void PrintTo(const ReadCell &cell, std::ostream *os)
{
    switch (cell.kind) {
    case ReadCell::Kind::Empty:
        *os << "(leer)";
        break;
    case ReadCell::Kind::Text:
        *os << "Text[" << cell.text.size() << " Bytes]\"" << cell.text.substr(0, 80) << "\"";
        break;
    case ReadCell::Kind::Bool:
        *os << "Bool(" << cell.number << ")";
        break;
    case ReadCell::Kind::Number:
        *os << "Zahl(" << cell.number << ")";
        break;
    case ReadCell::Kind::Other:
        *os << "(anderer Typ)";
        break;
    }
}
