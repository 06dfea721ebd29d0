#include "xls/WorkbookWriter.h"

#include "fileio/DurableWrite.h"
#include "xls/Bytes.h"
#include "xls/CompoundFile.h"
#include "xls/Utf16.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xls {

namespace {

constexpr std::uint16_t idBof = 0x0809;
constexpr std::uint16_t idEof = 0x000A;
constexpr std::uint16_t idCodepage = 0x0042;
constexpr std::uint16_t idWindow1 = 0x003D;
constexpr std::uint16_t idFont = 0x0031;
constexpr std::uint16_t idXf = 0x00E0;
constexpr std::uint16_t idStyle = 0x0293;
constexpr std::uint16_t idBoundSheet = 0x0085;
constexpr std::uint16_t idWsBool = 0x0081;
constexpr std::uint16_t idDimensions = 0x0200;
constexpr std::uint16_t idLabelSst = 0x00FD;
constexpr std::uint16_t idBoolErr = 0x0205;
constexpr std::uint16_t idWindow2 = 0x023E;

// Cell formats: 0-14 are the style formats every workbook carries, 15 the default cell
// format, 16 the same with wrapped text so that line breaks show.
constexpr std::uint16_t xfPlain = 15;
constexpr std::uint16_t xfWrapped = 16;

// A text cell's record (LABELSST) with its header; a boolean's is shorter.
constexpr std::size_t largestCellRecord = 14;

std::uint8_t *put16(std::uint8_t *out, std::uint32_t v)
{
    out[0] = static_cast<std::uint8_t>(v & 0xFF);
    out[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
    return out + 2;
}

// After this many rows the string table is sized for all expected rows, by the distinct texts
// so far; at most for this many texts (beyond, it grows as it must).
constexpr std::uint32_t sampleRows = 1024;
constexpr std::uint64_t maxReserve = 4'000'000;

// BIFF offsets are 32-bit; stay well inside what every reader handles.
constexpr std::uint64_t maxStreamLength = 0x7FFFFFFF;

void record(Bytes &out, std::uint16_t id, const Bytes &data)
{
    appendRecord(out, id, data);
}

Bytes bof(std::uint16_t type)
{
    Bytes b;
    b.u16(0x0600); // BIFF8
    b.u16(type);
    b.u16(0x0DBB); // build
    b.u16(0x07CC); // year
    b.u32(0x00000041);
    b.u32(0x00000006);
    return b;
}

Bytes xf(std::uint16_t typeAndParent, std::uint8_t alignment, std::uint8_t usedAttributes)
{
    Bytes b;
    b.u16(0); // font
    b.u16(0); // number format: General
    b.u16(typeAndParent);
    b.u8(alignment);
    b.u8(0); // rotation
    b.u8(0); // indent
    b.u8(usedAttributes);
    b.u32(0); // borders
    b.u32(0);
    b.u16(0x20C0); // pattern colours: automatic
    return b;
}

// Everything of the workbook globals that comes before the sheet list.
Bytes globalsHead()
{
    Bytes out;
    record(out, idBof, bof(0x0005));
    Bytes codepage;
    codepage.u16(1200); // texts are Unicode
    record(out, idCodepage, codepage);
    Bytes window;
    for (std::uint32_t v : { 0u, 0u, 0x355Cu, 0x30EDu, 0x0038u, 0u, 0u, 1u, 0x0258u })
        window.u16(v);
    record(out, idWindow1, window);
    Bytes font;
    font.u16(200); // 10 pt
    font.u16(0);
    font.u16(0x7FFF); // automatic colour
    font.u16(400); // normal weight
    font.u16(0);
    font.u8(0);
    font.u8(0);
    font.u8(0);
    font.u8(0);
    font.u8(5);
    font.u8(0);
    font.chars(u"Arial", true);
    for (int i = 0; i < 5; ++i) // readers expect fonts 0-3 and 5 (there is no 4)
        record(out, idFont, font);
    for (int i = 0; i < 15; ++i)
        record(out, idXf, xf(0xFFF5, 0x20, 0xF4));
    record(out, idXf, xf(0x0001, 0x20, 0xF8));
    record(out, idXf, xf(0x0001, 0x28, 0xF8));
    Bytes style;
    style.u16(0x8000); // built-in style "Normal" on format 0
    style.u8(0);
    style.u8(0xFF);
    record(out, idStyle, style);
    return out;
}

Bytes boundSheet(std::uint32_t sheetOffset, std::u16string_view name)
{
    Bytes b;
    b.u32(sheetOffset);
    b.u8(0); // visible
    b.u8(0); // worksheet
    const bool compressed = fitsLatin1(name);
    b.u8(static_cast<std::uint32_t>(name.size()));
    b.u8(compressed ? 0 : 1);
    b.chars(name, compressed);
    Bytes out;
    record(out, idBoundSheet, b);
    return out;
}

std::u16string checkedSheetName(std::string_view utf8)
{
    std::u16string name = utf8ToUtf16(utf8, 1000);
    const bool badChar = name.find_first_of(u":\\/?*[]") != std::u16string::npos;
    if (name.empty() || name.size() > 31 || badChar || name.front() == u'\''
        || name.back() == u'\'')
        throw Error(ErrorKind::InvalidSheetName,
                    "Der Name des Arbeitsblatts '" + std::string(utf8)
                        + "' ist ungültig (1 bis 31 Zeichen, ohne : \\ / ? * [ ]).");
    return name;
}

bool pathExists(const std::string &path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0; // a dangling link counts too: the name is taken
}

} // namespace

WorkbookWriter::WorkbookWriter(const std::string &targetPath, std::string_view sheetNameUtf8)
    : m_target(targetPath)
    , m_folder(fileio::folderOf(targetPath))
    , m_sheetName(checkedSheetName(sheetNameUtf8))
{
    if (m_target.empty() || m_target.back() == '/')
        throw Error(ErrorKind::WriteFailed,
                    "Es wurde kein Dateiname für die Arbeitsmappe angegeben.");
    if (pathExists(m_target))
        throw systemError(EEXIST, m_target);
    fileio::removeAbandonedTemporaries(m_folder);
    m_cells.setShownPath(m_target);
    m_cells.createScratch(m_folder);
}

WorkbookWriter::~WorkbookWriter() = default;

void WorkbookWriter::addRow(std::span<const Cell> cells)
{
    if (m_finished)
        throw Error(ErrorKind::InvalidUse, "Die Arbeitsmappe ist bereits abgeschlossen.");
    if (m_rows >= maxRows)
        throw Error(ErrorKind::TooManyRows,
                    "Ein Excel-97-Arbeitsblatt fasst höchstens 65.536 Zeilen.");
    if (cells.size() > maxColumns)
        throw Error(ErrorKind::TooManyColumns,
                    "Ein Excel-97-Arbeitsblatt fasst höchstens 256 Spalten.");

    const std::uint32_t row = m_rows++;
    // The row's texts first, converted and hashed, with their places in the string table asked
    // for ahead: the lookups then find them in the cache instead of each waiting for memory.
    m_rowTexts.clear();
    m_pending.clear();
    for (const Cell &cell : cells) {
        if (cell.kind != Cell::Kind::Text)
            continue;
        // Line breaks as the format's own LF, so every reader shows them alike.
        std::u16string &text = m_text;
        utf8ToUtf16(cell.text, text, std::u16string::npos);
        normalizeLineBreaks(text);
        if (text.size() > maxCellTextUnits)
            ++m_cutCells;
        cutToUnits(text);
        PendingText &pending = m_pending.emplace_back();
        pending.offset = m_rowTexts.size();
        pending.size = text.size();
        if (text.empty())
            continue;
        pending.hash = SharedStrings::hashOf(text);
        pending.wraps = text.find(u'\n') != std::u16string::npos;
        m_strings.prefetch(pending.hash);
        m_rowTexts.append(text);
    }

    Bytes &records = m_rowRecords;
    records.clear();
    std::uint8_t *const start = records.grow(cells.size() * largestCellRecord);
    std::uint8_t *out = start;
    const PendingText *pending = m_pending.data();
    for (std::uint32_t column = 0; column < cells.size(); ++column) {
        const Cell &cell = cells[column];
        if (cell.kind == Cell::Kind::Boolean) {
            out = put16(out, idBoolErr);
            out = put16(out, 8);
            out = put16(out, row);
            out = put16(out, column);
            out = put16(out, xfPlain);
            *out++ = cell.value ? 1 : 0;
            *out++ = 0; // a boolean, not an error code
        } else if (cell.kind == Cell::Kind::Text) {
            const PendingText &text = *pending++;
            if (text.size == 0)
                continue; // some readers fail on an empty shared string; an empty cell is the same
            const std::uint32_t entry = m_strings.add(
                std::u16string_view(m_rowTexts).substr(text.offset, text.size), text.hash);
            out = put16(out, idLabelSst);
            out = put16(out, 10);
            out = put16(out, row);
            out = put16(out, column);
            out = put16(out, text.wraps ? xfWrapped : xfPlain);
            out = put16(out, entry & 0xFFFF);
            out = put16(out, entry >> 16);
        } else {
            continue;
        }
        m_usedRows = row + 1;
        m_columns = std::max(m_columns, column + 1);
    }
    records.resize(static_cast<std::size_t>(out - start));
    m_cells.write(records.data(), records.size());

    if (m_rows == sampleRows && m_expectedRows > m_rows) {
        const std::uint64_t expected
            = std::uint64_t(m_strings.uniqueCount()) * m_expectedRows / m_rows * 9 / 8;
        m_strings.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(expected, maxReserve)));
    }
}

void WorkbookWriter::finish()
{
    if (m_finished)
        throw Error(ErrorKind::InvalidUse, "Die Arbeitsmappe ist bereits abgeschlossen.");
    m_finished = true;
    if (pathExists(m_target))
        throw systemError(EEXIST, m_target);

    OutputFile out;
    out.setShownPath(m_target);
    out.createFor(m_target);
    out.writeBackEarly();
    writeWorkbook(out);
    out.commit(); // fails rather than replace a file that appeared meanwhile
    m_cells.close();
}

void WorkbookWriter::writeWorkbook(OutputFile &out)
{
    const auto sink = [&out](const std::uint8_t *data, std::size_t size) { out.write(data, size); };

    // Sizes first: the sheet list names the sheet's position, which follows the string table.
    const Bytes head = globalsHead();
    const std::size_t sheetListSize = boundSheet(0, m_sheetName).size();
    const std::uint64_t sstOffset = head.size() + sheetListSize;
    const std::uint64_t sheetOffset = sstOffset + m_strings.byteSize() + 4; // + EOF

    Bytes sheetHead;
    record(sheetHead, idBof, bof(0x0010));
    Bytes wsBool;
    wsBool.u16(0x04C1);
    record(sheetHead, idWsBool, wsBool);
    Bytes dimensions; // must match the cells exactly
    dimensions.u32(0);
    dimensions.u32(m_usedRows);
    dimensions.u16(0);
    dimensions.u16(m_columns);
    dimensions.u16(0);
    record(sheetHead, idDimensions, dimensions);

    Bytes sheetTail;
    Bytes window;
    window.u16(0x06B6); // grid lines, headings, zero values shown; sheet selected
    window.u16(0);
    window.u16(0);
    window.u32(0x40); // automatic grid line colour
    window.u16(0);
    window.u16(0);
    window.u32(0);
    record(sheetTail, idWindow2, window);
    record(sheetTail, idEof, Bytes());

    const std::uint64_t streamLength
        = sheetOffset + sheetHead.size() + m_cells.size() + sheetTail.size();
    if (streamLength > maxStreamLength)
        throw Error(ErrorKind::TooLarge,
                    "Die Arbeitsmappe würde größer als 2 GB, mehr fasst das Excel-97-Format nicht. "
                    "Es wurde keine Datei geschrieben.");

    const CompoundLayout layout = compoundLayout(streamLength);
    const Bytes header = compoundHeader(layout);
    out.write(header.data(), header.size());

    out.write(head.data(), head.size());
    const Bytes sheetList = boundSheet(static_cast<std::uint32_t>(sheetOffset), m_sheetName);
    out.write(sheetList.data(), sheetList.size());
    m_strings.write(sink, sstOffset);
    Bytes eof;
    record(eof, idEof, Bytes());
    out.write(eof.data(), eof.size());

    out.write(sheetHead.data(), sheetHead.size());
    m_cells.copyTo(out);
    out.write(sheetTail.data(), sheetTail.size());

    const std::vector<std::uint8_t> padding(layout.streamSize - streamLength, 0);
    out.write(padding.data(), padding.size());
    writeCompoundTail(layout, sink);
}

} // namespace xls
