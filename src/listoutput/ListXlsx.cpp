// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ListXlsx.h"

#include "common/DbError.h"
#include "common/TextCut.h"
#include "listoutput/ListSheet.h"
#include "listoutput/ReplacingFile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <xlsxwriter.h>

namespace {

constexpr lxw_row_t kMaxRows = 1048576;
// Column widths in characters: room for the heading, at most what a screen shows at once.
constexpr double kWidestColumn = 50;

struct FreeWorkbook
{
    void operator()(lxw_workbook *book) const { lxw_workbook_free(book); }
};

DbError writeError(const QString &target, lxw_error error)
{
    // libxlsxwriter reports the file's failures by kind only; a full disk leaves its errno.
    if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)
        return DbError(ErrNo::DiskFull,
                       QStringLiteral("Nicht genügend Speicherplatz auf dem Datenträger für '%1'.")
                           .arg(target));
    return DbError(ErrNo::DiskError,
                   QStringLiteral("Die Excel-Arbeitsmappe '%1' konnte nicht geschrieben werden "
                                  "(Fehler %2 der Bibliothek libxlsxwriter).")
                       .arg(target)
                       .arg(int(error)));
}

class SheetOut
{
public:
    SheetOut(lxw_workbook *book, const QString &target)
        : m_target(target)
        , m_sheet(workbook_add_worksheet(book, "Läufe"))
        , m_bold(workbook_add_format(book))
        , m_dateFormat(workbook_add_format(book))
    {
        if (!m_sheet || !m_bold || !m_dateFormat)
            throw writeError(m_target, LXW_ERROR_MEMORY_MALLOC_FAILED);
        format_set_bold(m_bold);
        format_set_num_format(m_dateFormat, "dd.mm.yyyy");
        worksheet_freeze_panes(m_sheet, 1, 0);
    }

    void heading(const QStringList &names)
    {
        m_widths.assign(std::size_t(names.size()), 0);
        for (qsizetype c = 0; c < names.size(); ++c)
            text(lxw_col_t(c), names[c], m_bold);
        ++m_row;
    }

    void row(const std::vector<SheetValue> &values)
    {
        if (m_row >= kMaxRows)
            throw DbError(ErrNo::SqlError,
                          QStringLiteral("Ein Excel-Arbeitsblatt fasst höchstens 1.048.575 "
                                         "Läufe unter der Überschriftenzeile. Es wurde keine "
                                         "Datei geschrieben."));
        for (std::size_t c = 0; c < values.size(); ++c) {
            const SheetValue &v = values[c];
            const auto col = lxw_col_t(c);
            switch (v.kind) {
            case SheetValue::Kind::Empty:
                break;
            case SheetValue::Kind::YesNo:
                check(worksheet_write_boolean(m_sheet, m_row, col, v.yes, nullptr));
                widen(c, 6);
                break;
            case SheetValue::Kind::Date:
                // Excel counts days from 1900 on; earlier dates stay text.
                if (v.date.year() >= 1900) {
                    lxw_datetime when { v.date.year(), v.date.month(), v.date.day(), 0, 0, 0 };
                    check(worksheet_write_datetime(m_sheet, m_row, col, &when, m_dateFormat));
                    widen(c, 10);
                    break;
                }
                text(col, v.text, nullptr);
                break;
            case SheetValue::Kind::Text:
                text(col, v.text, nullptr);
                break;
            }
        }
        ++m_row;
    }

    void setWidths()
    {
        for (std::size_t c = 0; c < m_widths.size(); ++c)
            check(worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c),
                                       std::min(m_widths[c], kWidestColumn) + 2, nullptr));
    }

    quint32 cutCells() const { return m_cut; }

    // libxlsxwriter spools the rows to a temporary file without looking at its write errors;
    // the stream remembers them.
    void checkSpool() const
    {
        if (m_sheet->file && (std::fflush(m_sheet->file) != 0 || std::ferror(m_sheet->file))) {
            if (errno == 0)
                errno = ENOSPC;
            throw writeError(m_target, LXW_ERROR_CREATING_TMPFILE);
        }
    }

private:
    void check(lxw_error error) const
    {
        // An empty text makes no cell, as NULL does.
        if (error != LXW_NO_ERROR && error != LXW_ERROR_NULL_PARAMETER_IGNORED)
            throw writeError(m_target, error);
    }
    void widen(std::size_t column, qsizetype characters)
    {
        m_widths[column] = std::max(m_widths[column], double(characters));
    }
    void text(lxw_col_t col, const QString &value, lxw_format *format)
    {
        const bool cut = value.size() > kMaxCellText;
        QString kept = cut ? leftWhole(value, kMaxCellText) : QString();
        // A cell breaks its lines at LF; a CR would be lost or doubled by the readers' XML.
        if ((cut ? kept : value).contains(u'\r')) {
            if (!cut)
                kept = value;
            kept.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        }
        const QString &shown = kept.isNull() ? value : kept;
        m_cut += cut ? 1 : 0;
        m_utf8.resize(std::size_t(m_encoder.requiredSpace(shown.size())) + 1);
        char *end = m_encoder.appendToBuffer(m_utf8.data(), shown);
        *end = '\0';
        check(worksheet_write_string(m_sheet, m_row, col, m_utf8.data(), format));
        widen(col, std::min<qsizetype>(shown.size(), qsizetype(kWidestColumn)));
    }

    const QString &m_target;
    lxw_worksheet *m_sheet;
    lxw_format *m_bold;
    lxw_format *m_dateFormat;
    lxw_row_t m_row = 0;
    std::vector<double> m_widths;
    quint32 m_cut = 0;
    std::string m_utf8;
    QStringEncoder m_encoder { QStringEncoder::Utf8, QStringConverter::Flag::Stateless };
};

} // namespace

XlsxExported writeRacesXlsx(const RaceList &races, const QString &target)
{
    ReplacingFile file(target);
    // The rows wait in libxlsxwriter's own temporary files, which have no name from the start
    // and go with the process.
    const QByteArray scratch = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char *>(scratch.constData());
    std::unique_ptr<lxw_workbook, FreeWorkbook> book(
        workbook_new_opt(file.path().c_str(), &options));
    if (!book)
        throw writeError(target, LXW_ERROR_MEMORY_MALLOC_FAILED);

    XlsxExported result;
    {
        SheetOut sheet(book.get(), target);
        sheet.heading(sheetHeadings());
        result.races
            = eachSheetRow(races, [&](const std::vector<SheetValue> &row) { sheet.row(row); });
        sheet.setWidths();
        result.cutCells = sheet.cutCells();
        errno = 0;
        sheet.checkSpool();
    }
    const lxw_error closed = workbook_close(book.release()); // frees the workbook in any case
    // No successful call leaves these behind: a write of the spool's last part failed unseen.
    if (closed != LXW_NO_ERROR || errno == ENOSPC || errno == EFBIG || errno == EDQUOT)
        throw writeError(target, closed);
    file.commit();
    return result;
}
