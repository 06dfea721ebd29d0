#pragma once

#include "xls/Bytes.h"
#include "xls/OutputFile.h"
#include "xls/SharedStrings.h"
#include "xls/XlsError.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// One cell of a row: a text (UTF-8), a boolean, or nothing.
struct Cell
{
    enum class Kind { Empty, Text, Boolean };
    Kind kind = Kind::Empty;
    std::string_view text; // for Text; must stay valid until addRow() returns
    bool value = false; // for Boolean

    static Cell empty() { return {}; }
    static Cell fromText(std::string_view utf8) { return { Kind::Text, utf8, false }; }
    static Cell fromBool(bool b) { return { Kind::Boolean, {}, b }; }
};

// Writes an Excel 97-2003 workbook (BIFF8 in a compound file) with one worksheet, row by row.
//
//     xls::WorkbookWriter book("/home/a/Export/Läufe.xls", "Läufe");
//     book.addRow(heading);
//     for (...) book.addRow(cells);
//     book.finish();
//
// The target is never overwritten: if it exists, the constructor (or finish(), should it appear
// meanwhile) throws ErrorKind::FileExists and leaves it untouched. Cells are spooled to an
// unnamed file beside the target, and only the distinct texts stay in memory. The workbook is
// written to an unnamed file in the same folder and linked into place when it is complete, so
// a failure, an abandoned writer (destroyed without finish()) or a killed process leaves no file
// behind. Where the file system has no unnamed files, a hidden named one takes its place, and
// the next workbook in that folder removes those that killed processes left.
//
// Texts: any Unicode; line breaks (LF, CR LF or CR) become LF and the cell wraps so they show;
// longer texts are cut to the
// 32,767 UTF-16 code units a cell holds, never inside a character; invalid UTF-8 becomes U+FFFD;
// an empty text is an empty cell.
class WorkbookWriter
{
public:
    static constexpr std::uint32_t maxRows = 65536; // heading included
    static constexpr std::uint32_t maxColumns = 256;

    WorkbookWriter(const std::string &targetPath, std::string_view sheetNameUtf8);
    ~WorkbookWriter();
    WorkbookWriter(const WorkbookWriter &) = delete;
    WorkbookWriter &operator=(const WorkbookWriter &) = delete;

    // A hint that about this many rows follow: the string table makes room for a distinct text
    // per row at once, and for as many as the first rows bring once they are in, instead of
    // growing step by step.
    void expectRows(std::uint32_t rows)
    {
        m_expectedRows = rows;
        m_strings.reserve(rows);
    }
    void addRow(std::span<const Cell> cells);
    void finish();

    std::uint32_t rowCount() const { return m_rows; }
    // Cells whose text was longer than a cell holds and was cut.
    std::uint32_t cutCells() const { return m_cutCells; }

private:
    void writeWorkbook(OutputFile &out);

    std::string m_target;
    std::string m_folder;
    std::u16string m_sheetName;
    OutputFile m_cells; // cell records of the sheet, in row order
    Bytes m_rowRecords;
    SharedStrings m_strings;
    // A text cell of the row being added, converted, waiting for its entry in the table.
    struct PendingText
    {
        std::size_t offset = 0; // in m_rowTexts
        std::size_t size = 0; // 0: no cell
        std::uint32_t hash = 0;
        bool wraps = false;
    };
    std::u16string m_text; // the cell being converted, one buffer for all
    std::u16string m_rowTexts; // the row's converted texts, back to back
    std::vector<PendingText> m_pending;
    std::uint32_t m_rows = 0; // rows added
    std::uint32_t m_expectedRows = 0;
    std::uint32_t m_usedRows = 0; // up to the last row with a cell
    std::uint32_t m_columns = 0; // up to the last column with a cell
    std::uint32_t m_cutCells = 0;
    bool m_finished = false;
};

} // namespace xls
