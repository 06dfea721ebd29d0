// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook writer on its own, judged by two independent readers (freexl and xlrd).

#include "Readers.h"
#include "xls/SharedStrings.h"
#include "xls/Utf16.h"
#include "xls/WorkbookWriter.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Expected = std::vector<std::vector<ReadCell>>;

// A row to write, owning its texts.
struct In
{
    xls::Cell::Kind kind = xls::Cell::Kind::Empty;
    std::string text;
    bool value = false;
};
In T(std::string s)
{
    return { xls::Cell::Kind::Text, std::move(s), false };
}
In B(bool b)
{
    return { xls::Cell::Kind::Boolean, {}, b };
}
In E()
{
    return {};
}

void addRow(xls::WorkbookWriter &book, const std::vector<In> &row)
{
    std::vector<xls::Cell> cells;
    for (const In &in : row)
        cells.push_back({ in.kind, in.text, in.value });
    book.addRow(cells);
}

void writeBook(const std::string &path, const std::string &sheet,
               const std::vector<std::vector<In>> &rows)
{
    xls::WorkbookWriter book(path, sheet);
    for (const auto &row : rows)
        addRow(book, row);
    book.finish();
}

std::vector<std::string> filesIn(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string contentOf(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string repeat(const std::string &piece, std::size_t times)
{
    std::string s;
    for (std::size_t i = 0; i < times; ++i)
        s += piece;
    return s;
}

void expectSheet(const std::vector<ReadSheet> &sheets, const std::string &name,
                 const Expected &rows)
{
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].name, name);
    ASSERT_EQ(sheets[0].rows.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(sheets[0].rows[r], rows[r]) << "Zeile " << r;
}

class WorkbookWriterTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    std::string folder() const { return dir.path().toStdString(); }
    std::string file(const char *name) const { return folder() + "/" + name; }
};

TEST_F(WorkbookWriterTest, TextsBooleansAndEmptyCellsReadBackExactly)
{
    const std::string path = file("Läufe 24-05-01 10-00-00.xls");
    writeBook(path, "Läufe",
              {
                  { T("Name"), T("Ort"), T("angemeldet"), T("Notiz"), T("leer"), T("Ende") },
                  { T("Lauf über Stock & Stein"), T("Köln"), B(true),
                    T("Zeile 1\nZeile 2\r\nZeile 3\rEnde"), E(), T("O'Brien's \"Lauf\"") },
                  { T("🏃 Läufer 𝄞 ☃ ĳ"), T(""), B(false), T("ßÄÖÜäöü€"), E(), E() },
                  { E(), E(), E(), E(), E(), E() },
                  { T("kaputt \xff\xfe und \xe2\x82"), T(" "), B(true), T("Ja"), E(),
                    T("\xed\xa0\x80 \xc0\xaf") },
              });

    const Expected expected = padded({
        { text("Name"), text("Ort"), text("angemeldet"), text("Notiz"), text("leer"),
          text("Ende") },
        { text("Lauf über Stock & Stein"), text("Köln"), boolean(true),
          text("Zeile 1\nZeile 2\nZeile 3\nEnde"), empty(), text("O'Brien's \"Lauf\"") },
        { text("🏃 Läufer 𝄞 ☃ ĳ"), empty(), boolean(false), text("ßÄÖÜäöü€") },
        {},
        { text("kaputt \uFFFD\uFFFD und \uFFFD"), text(" "), boolean(true), text("Ja"), empty(),
          text("\uFFFD \uFFFD\uFFFD") },
    });
    expectSheet(readWithXlrd(path), "Läufe", expected);
    expectSheet(readWithFreexl(path), "Läufe", booleansAsNumbers(expected));
    expectLibreOfficeShows(path, expected);
}

TEST_F(WorkbookWriterTest, LongTextsAreCutToWhatACellHoldsAndSurviveRecordBoundaries)
{
    const std::string path = file("lang.xls");
    std::vector<std::vector<In>> rows = {
        { T(repeat("x", 32767)) },
        { T(repeat("ä", 40000)) }, // one byte per character in the file
        { T(repeat("€", 40000)) }, // two bytes per character
        { T(repeat("😀", 20000)) }, // a pair would straddle the limit: it is left out whole
        { T("a" + repeat("😀", 20000)) },
    };
    // Surrogate pairs at every offset relative to the record boundaries.
    for (int shift = 0; shift < 4; ++shift)
        rows.push_back({ T(repeat("b", shift) + repeat("😀", 9000)) });
    writeBook(path, "Läufe", rows);

    Expected expected = {
        { text(repeat("x", 32767)) },       { text(repeat("ä", 32767)) },
        { text(repeat("€", 32767)) },       { text(repeat("😀", 16383)) },
        { text("a" + repeat("😀", 16383)) },
    };
    for (int shift = 0; shift < 4; ++shift)
        expected.push_back({ text(repeat("b", shift) + repeat("😀", 9000)) });
    // freexl cannot read strings that span more than two records; the others can.
    expectSheet(readWithXlrd(path), "Läufe", expected);
    expectLibreOfficeShows(path, expected);
}

TEST_F(WorkbookWriterTest, TextsAcrossOneRecordBoundaryReadInFreexlToo)
{
    const std::string path = file("mittel.xls");
    std::vector<std::vector<In>> rows;
    Expected expected;
    for (int i = 0; i < 4; ++i) {
        const std::string t = std::to_string(i) + repeat("€", 3000) + "\n" + repeat("ö", 1000);
        rows.push_back({ T(t), B(i % 2 == 0) });
        expected.push_back({ text(t), boolean(i % 2 == 0) });
    }
    rows.push_back({ T(repeat("ä", 8000)) });
    expected.push_back({ text(repeat("ä", 8000)), empty() });
    writeBook(path, "Läufe", rows);
    expectSheet(readWithFreexl(path), "Läufe", booleansAsNumbers(expected));
    expectSheet(readWithXlrd(path), "Läufe", expected);
}

TEST_F(WorkbookWriterTest, FullSheetOfLargeFileReadsBackAndOneRowMoreIsRefused)
{
    // 65,536 rows (the format's limit) with distinct texts: a file beyond 7 MB, whose
    // allocation table no longer fits into the header's list.
    const std::string path = file("voll.xls");
    const auto longText = [](std::uint32_t r) { return std::to_string(r) + repeat("Ü", 100); };
    {
        xls::WorkbookWriter book(path, "Läufe");
        for (std::uint32_t r = 0; r < xls::WorkbookWriter::maxRows; ++r)
            addRow(book, { T("Zeile " + std::to_string(r)), B(r % 3 == 0), T(longText(r)) });
        try {
            addRow(book, { T("eine zu viel") });
            FAIL() << "row 65,537 was accepted";
        } catch (const xls::Error &e) {
            EXPECT_EQ(e.kind(), xls::ErrorKind::TooManyRows);
            EXPECT_NE(std::string(e.what()).find("65.536 Zeilen"), std::string::npos);
        }
        book.finish();
    }
    EXPECT_GT(std::filesystem::file_size(path), 7u * 1024 * 1024);

    for (const auto &sheets : { readWithXlrd(path), readWithFreexl(path) }) {
        ASSERT_EQ(sheets.size(), 1u);
        const auto &rows = sheets[0].rows;
        ASSERT_EQ(rows.size(), 65536u);
        for (std::uint32_t r = 0; r < rows.size(); ++r) {
            ASSERT_EQ(rows[r].size(), 3u);
            ASSERT_EQ(rows[r][0], text("Zeile " + std::to_string(r)));
            ASSERT_EQ(rows[r][1].number, r % 3 == 0 ? 1 : 0) << r;
            ASSERT_EQ(rows[r][2], text(longText(r)));
        }
    }
}

TEST_F(WorkbookWriterTest, ExistingFileIsNeverTouched)
{
    const std::string path = file("da.xls");
    std::ofstream(path) << "alter Inhalt";
    try {
        xls::WorkbookWriter book(path, "Läufe");
        FAIL() << "an existing file was accepted";
    } catch (const xls::Error &e) {
        EXPECT_EQ(e.kind(), xls::ErrorKind::FileExists);
        EXPECT_NE(std::string(e.what()).find("existiert bereits"), std::string::npos);
    }

    // A file that appears while the workbook is written wins as well.
    const std::string later = file("später.xls");
    {
        xls::WorkbookWriter book(later, "Läufe");
        addRow(book, { T("a") });
        std::ofstream(later) << "dazwischen";
        try {
            book.finish();
            FAIL() << "a file that appeared meanwhile was replaced";
        } catch (const xls::Error &e) {
            EXPECT_EQ(e.kind(), xls::ErrorKind::FileExists);
        }
    }
    EXPECT_EQ(contentOf(path), "alter Inhalt");
    EXPECT_EQ(contentOf(later), "dazwischen");
    EXPECT_EQ(filesIn(folder()), (std::vector<std::string> { "da.xls", "später.xls" }));
}

TEST_F(WorkbookWriterTest, AbandonedOrFailedWorkbookLeavesNoFile)
{
    {
        xls::WorkbookWriter book(file("abgebrochen.xls"), "Läufe");
        addRow(book, { T("a"), B(true) });
    } // destroyed without finish()
    EXPECT_TRUE(filesIn(folder()).empty());

    try {
        xls::WorkbookWriter book(folder() + "/fehlt/x.xls", "Läufe");
        FAIL() << "a missing folder was accepted";
    } catch (const xls::Error &e) {
        EXPECT_EQ(e.kind(), xls::ErrorKind::FolderMissing);
    }
    EXPECT_THROW(xls::WorkbookWriter(file("x.xls"), "a:b"), xls::Error);
    EXPECT_TRUE(filesIn(folder()).empty());

    // A full disk, imitated by a file size limit in a child process.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { 300000, 300000 };
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            xls::WorkbookWriter book(file("voll.xls"), "Läufe");
            for (int r = 0; r < 20000; ++r)
                addRow(book, { T("Zeile " + std::to_string(r)), T(repeat("ä", 20)) });
            book.finish();
        } catch (const xls::Error &e) {
            _exit(e.kind() == xls::ErrorKind::DiskFull ? 0 : 1);
        }
        _exit(2);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: other error, 2: no error";
    EXPECT_TRUE(filesIn(folder()).empty());
}

TEST_F(WorkbookWriterTest, EmptySheetAndSheetNameBeyondLatin1)
{
    const std::string path = file("leer.xls");
    writeBook(path, "Läufe ☃ 2024", {});
    expectSheet(readWithXlrd(path), "Läufe ☃ 2024", {});
    expectSheet(readWithFreexl(path), "Läufe ☃ 2024", {});
}

// Changes made for speed must leave every byte of the file as it was: a workbook touching every
// form (shared and unique texts, both character forms, pairs and long texts across record
// boundaries, cut texts, damaged bytes, booleans, empty cells, several buffers of cells and an
// allocation table beyond the header's list) against the digest of the file as it was written
// before those changes.
TEST_F(WorkbookWriterTest, BytesOfTheFileStayTheSame)
{
    const std::string path = file("gleich.xls");
    {
        xls::WorkbookWriter book(path, "Läufe €");
        book.expectRows(1000); // fewer than follow: the table grows beyond the hint
        addRow(book, { T("Lauf"), T("Ort"), T("Notiz"), T("ja/nein"), T("leer"), T("Wert") });
        static const char *const places[] = { "Köln", "Berlin", "Łódź", "Zürich", "Ελλάδα" };
        for (int r = 1; r <= 30000; ++r) {
            const std::string n = std::to_string(r);
            std::vector<In> row = {
                T("Lauf " + n + (r % 7 ? " über Stock" : " 🏃 €")),
                T(places[r % 5]),
                T(r % 11 ? "Notiz " + std::to_string(r % 97) + "\r\nzweite Zeile\rdritte" : ""),
                B(r % 3 == 0),
                E(),
                T(r % 13 ? std::to_string(r % 500) : "kaputt \xff\xe2\x82 " + n),
                T(n + repeat("Ü", 150)),
            };
            if (r % 1000 == 0) // long texts at varying offsets to the record boundaries
                row.push_back(T(repeat("b", r / 1000 % 4) + repeat(r % 2000 ? "😀" : "ä", 9000)));
            if (r == 15000)
                row.push_back(T(repeat("€", 40000)));
            addRow(book, row);
        }
        book.finish();
    }
    EXPECT_GT(std::filesystem::file_size(path), 7u * 1024 * 1024);
    const std::string bytes = contentOf(path);
    EXPECT_EQ(QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                       QCryptographicHash::Sha256)
                  .toHex()
                  .toStdString(),
              "f8897b25bde669b3788ce26c6a5a0b4ed9b34b2d1d47e9022d945ff47a302674");
}

TEST(Utf8ToUtf16, DamagedInputBecomesReplacementCharacters)
{
    EXPECT_EQ(xls::utf8ToUtf16("Aä€😀"), u"Aä€😀");
    EXPECT_EQ(xls::utf8ToUtf16("\xc0\x80"), u"\uFFFD\uFFFD"); // never a lead byte, then a stray
    EXPECT_EQ(xls::utf8ToUtf16("\xe0\x80\x80"), u"\uFFFD"); // overlong
    EXPECT_EQ(xls::utf8ToUtf16("\xed\xb0\x80x"), u"\uFFFDx"); // encoded surrogate
    EXPECT_EQ(xls::utf8ToUtf16("\xf4\x90\x80\x80"), u"\uFFFD"); // beyond U+10FFFF
    EXPECT_EQ(xls::utf8ToUtf16("a\xe2\x82"), u"a\uFFFD"); // cut short at the end
    EXPECT_EQ(xls::utf8ToUtf16("\xe2\x82x"), u"\uFFFDx"); // cut short before a character
    EXPECT_EQ(xls::utf8ToUtf16("ab😀", 3), u"ab"); // never half a pair
    EXPECT_EQ(xls::utf8ToUtf16("ab😀", 4), u"ab😀");

    // One buffer for many texts: nothing of the longer text before stays.
    std::u16string buffer;
    xls::utf8ToUtf16("Langer Text über alles", buffer);
    xls::utf8ToUtf16("a\xe2\x82", buffer);
    EXPECT_EQ(buffer, u"a\uFFFD");
    xls::utf8ToUtf16("ABC", buffer, 2);
    EXPECT_EQ(buffer, u"AB");
}

TEST(Utf8ToUtf16, OnlyWellFormedTextIsValid)
{
    using namespace std::string_view_literals;
    // A real U+FFFD and a NUL character are text like any other.
    for (const std::string_view good : { ""sv, "plain"sv, "Aä€😀"sv, "\xef\xbf\xbd"sv, "a\0b"sv })
        EXPECT_TRUE(xls::isValidUtf8(good)) << good;
    for (const char *bad : { "\xc0\x80", "\xe0\x80\x80", "\xed\xb0\x80", "\xf4\x90\x80\x80",
                             "a\xe2\x82", "\xe2\x82x", "\x80", "\xff" })
        EXPECT_FALSE(xls::isValidUtf8(bad)) << bad;
}

TEST(SharedStrings, EqualTextsShareOneEntryAcrossEveryGrowth)
{
    for (const bool reserved : { false, true }) {
        SCOPED_TRACE(reserved ? "reserved" : "growing");
        xls::SharedStrings table;
        if (reserved)
            table.reserve(5000);
        std::vector<std::u16string> texts;
        for (int i = 0; i < 20000; ++i)
            texts.push_back(u"Ort " + xls::utf8ToUtf16(std::to_string(i)));
        for (std::uint32_t i = 0; i < texts.size(); ++i)
            ASSERT_EQ(table.add(texts[i]), i);
        // Every text again, in another order, finds its entry; nothing new is added.
        for (std::size_t i = texts.size(); i-- > 0;)
            ASSERT_EQ(table.add(texts[i]), i);
        EXPECT_EQ(table.uniqueCount(), 20000u);
        EXPECT_EQ(table.referenceCount(), 40000u);
        EXPECT_EQ(table.add(u"Ort 1 "), 20000u); // only equal texts are one entry
    }
}

} // namespace
