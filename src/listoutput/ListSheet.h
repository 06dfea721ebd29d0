// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QStringList>

#include <functional>
#include <string_view>
#include <vector>

class RaceList;

// A race as a row of a spreadsheet, in the columns and value forms of the Excel 97 export: the
// races table's columns after the number, NULL as an empty cell, a Yes/No column holding a
// number as a truth value, everything else as its stored text. A date column whose text is a
// date also gives the date.
struct SheetValue
{
    enum class Kind { Empty, Text, YesNo, Date };
    Kind kind = Kind::Empty;
    std::string_view utf8; // Text and Date: the text, valid while the row is handed on
    bool yes = false;
    QDate date;
};

// The heading row: the column names.
const QStringList &sheetHeadings();

// Hands each race of the list, in its order, to `each` as a row (a value per heading); returns
// how many there were. The stored bytes are passed on as they are where they are sound UTF-8,
// as the Excel 97 export does, and the races are read a page at a time, so a long list never
// sits in memory whole. `races` itself reads no further than it had.
int eachSheetRow(const RaceList &races,
                 const std::function<void(const std::vector<SheetValue> &row)> &each);
