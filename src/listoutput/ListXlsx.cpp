// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ListXlsx.h"

#include "common/DbError.h"
#include "common/TextCut.h"
#include "data/WorkbookExport.h"
#include "fileio/FileIo.h"
#include "listoutput/ListSheet.h"
#include "listoutput/ReplacingFile.h"
#include "xls/OutputFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
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
    // libxlsxwriter reports the file's failures by kind only; a full disk leaves its errno, which
    // says what the other exports say of it.
    const int err = errno;
    if (const fileio::Failure failure = fileio::failureOf(err);
        failure == fileio::Failure::NoSpace || failure == fileio::Failure::TooLarge)
        return toDbError(xls::systemError(err, QFile::encodeName(target).toStdString()));
    return DbError(ErrNo::DiskError,
                   QStringLiteral("Die Excel-Arbeitsmappe '%1' konnte nicht geschrieben werden "
                                  "(Fehler %2 der Bibliothek libxlsxwriter).")
                       .arg(target)
                       .arg(int(error)));
}

class SheetOut
{
public:
    // `spool` takes the rows on their way to libxlsxwriter's temporary file until the workbook
    // is closed.
    SheetOut(lxw_workbook *book, const QString &target, std::vector<char> &spool)
        : m_target(target)
        , m_sheet(workbook_add_worksheet(book, "Läufe"))
        , m_bold(workbook_add_format(book))
        , m_dateFormat(workbook_add_format(book))
    {
        if (!m_sheet || !m_bold || !m_dateFormat)
            throw writeError(m_target, LXW_ERROR_MEMORY_MALLOC_FAILED);
        // The rows' spool writes in small pieces by default: a system call every few cells.
        if (m_sheet->file)
            std::setvbuf(m_sheet->file, spool.data(), _IOFBF, spool.size());
        format_set_bold(m_bold);
        format_set_num_format(m_dateFormat, "dd.mm.yyyy");
        worksheet_freeze_panes(m_sheet, 1, 0);
    }

    void heading(const QStringList &names)
    {
        m_widths.assign(std::size_t(names.size()), 0);
        for (qsizetype c = 0; c < names.size(); ++c)
            text(lxw_col_t(c), names[c].toStdString(), m_bold);
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
                text(col, v.utf8, nullptr);
                break;
            case SheetValue::Kind::Text:
                text(col, v.utf8, nullptr);
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
    void text(lxw_col_t col, std::string_view utf8, lxw_format *format)
    {
        // A text of at most 32,767 bytes has at most as many UTF-16 units: no need to count.
        if (utf8.size() > std::size_t(kMaxCellText) || utf8.find('\r') != std::string_view::npos)
            utf8 = fitted(utf8);
        m_buffer.assign(utf8);
        check(worksheet_write_string(m_sheet, m_row, col, m_buffer.c_str(), format));
        if (m_widths[col] < kWidestColumn)
            widen(col, characters(utf8));
    }
    // The text cut to what a cell holds, and with a cell's line breaks: a CR would be lost or
    // doubled by the readers' XML.
    std::string_view fitted(std::string_view utf8)
    {
        QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
        if (text.size() > kMaxCellText) {
            text = leftWhole(text, kMaxCellText);
            ++m_cut;
        }
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        m_fitted = text.toStdString();
        return m_fitted;
    }
    static qsizetype characters(std::string_view utf8)
    {
        qsizetype n = 0;
        for (const char c : utf8)
            n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
        return n;
    }

    const QString &m_target;
    lxw_worksheet *m_sheet;
    lxw_format *m_bold;
    lxw_format *m_dateFormat;
    lxw_row_t m_row = 0;
    std::vector<double> m_widths;
    quint32 m_cut = 0;
    std::string m_buffer; // the text with its closing NUL
    std::string m_fitted;
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
    std::vector<char> spool(std::size_t(1) << 20); // outlives the workbook
    std::unique_ptr<lxw_workbook, FreeWorkbook> book(
        workbook_new_opt(file.path().c_str(), &options));
    if (!book)
        throw writeError(target, LXW_ERROR_MEMORY_MALLOC_FAILED);

    XlsxExported result;
    {
        SheetOut sheet(book.get(), target, spool);
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

// libxlsxwriter 1.1 has no setting for how hard its zip container compresses: it asks minizip
// for zlib's default level, and deflating a worksheet of tens of thousands of races at that
// level takes a third of the export. This stands in for minizip's call (the program is the first
// place the dynamic linker looks) and passes it on with zlib's fastest level: the file is about
// a quarter larger and written in little more than half the time. Nothing else in the program uses
// minizip.
extern "C" {

using OpenNewFileInZip = int (*)(void *, const char *, const void *, const void *, unsigned,
                                 const void *, unsigned, const char *, int, int, int, int, int, int,
                                 const char *, unsigned long, unsigned long, unsigned long, int);

__attribute__((visibility("default"))) int
zipOpenNewFileInZip4_64(void *file, const char *filename, const void *info, const void *localExtra,
                        unsigned localExtraSize, const void *globalExtra, unsigned globalExtraSize,
                        const char *comment, int method, int level, int raw, int windowBits,
                        int memLevel, int strategy, const char *password, unsigned long crc,
                        unsigned long versionMadeBy, unsigned long flagBase, int zip64)
{
    static const auto next
        = reinterpret_cast<OpenNewFileInZip>(::dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    constexpr int zInternalError = -104;
    if (!next) // no minizip behind us: the workbook fails with a message instead of crashing
        return zInternalError;
    constexpr int zDefaultCompression = -1;
    constexpr int zBestSpeed = 1;
    if (level == zDefaultCompression)
        level = zBestSpeed;
    return next(file, filename, info, localExtra, localExtraSize, globalExtra, globalExtraSize,
                comment, method, level, raw, windowBits, memLevel, strategy, password, crc,
                versionMadeBy, flagBase, zip64);
}
}
