#pragma once

#include <ostream>
#include <string>
#include <vector>

// A worksheet as an independent reader sees it.
struct ReadCell
{
    enum class Kind { Empty, Text, Bool, Number, Other };
    Kind kind = Kind::Empty;
    std::string text; // UTF-8
    double number = 0; // Bool and Number

    bool operator==(const ReadCell &) const = default;
};

struct ReadSheet
{
    std::string name;
    std::vector<std::vector<ReadCell>> rows; // every row as wide as the sheet
    std::size_t columns = 0;
};

// Reads with the C library freexl; booleans come back as numbers 0/1 there.
// Fails the current test (and returns an empty list) when freexl refuses the file.
std::vector<ReadSheet> readWithFreexl(const std::string &path);

// Reads with python3-xlrd through Debian's /usr/bin/python3. With `columns`, each row holds
// only its first `columns` cells (xlrd still parses the whole workbook); faster on big sheets.
std::vector<ReadSheet> readWithXlrd(const std::string &path, int columns = -1);

// Reads with LibreOffice Calc (soffice converting to CSV), where installed: every cell as its
// shown text, booleans as "1"/"0". Returns false when LibreOffice is not installed.
bool libreOfficeInstalled();
std::vector<std::vector<std::string>> readWithLibreOffice(const std::string &path);
// Compares what LibreOffice shows with the expected cells; skips silently without LibreOffice.
void expectLibreOfficeShows(const std::string &path,
                            const std::vector<std::vector<struct ReadCell>> &rows);

// Expected cells, for building the comparison.
ReadCell text(const std::string &utf8);
ReadCell boolean(bool value);
ReadCell empty();

// Rows padded to a common width, as the readers report them.
std::vector<std::vector<ReadCell>> padded(std::vector<std::vector<ReadCell>> rows);
// freexl shows booleans as the numbers 0 and 1.
std::vector<std::vector<ReadCell>> booleansAsNumbers(std::vector<std::vector<ReadCell>> rows);

// Readable failure output.
void PrintTo(const ReadCell &cell, std::ostream *os);
