// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Race.h"

#include <functional>

#include <QDate>
#include <QStringList>

#include <vector>

class RaceList;

// A race as a row of a spreadsheet, in the columns and value forms of the Excel 97 export: the
// races table's columns after the number, NULL as an empty cell, a Yes/No column as a truth
// value, everything else as its stored text. A date column that holds a date also gives it.
struct SheetValue
{
    enum class Kind { Empty, Text, YesNo, Date };
    Kind kind = Kind::Empty;
    QString text; // Text and Date: as stored
    bool yes = false;
    QDate date;
};

// The heading row: the column names.
const QStringList &sheetHeadings();
// Fills `row` (one value per heading) from the race; the vector is reused from race to race.
void sheetRow(const Race &race, std::vector<SheetValue> &row);

// Hands each race of the list, in its order, to `each` as a row; returns how many there were.
// The races are read a page at a time, so a long list never sits in memory whole; `races`
// itself reads no further than it had.
int eachSheetRow(const RaceList &races,
                 const std::function<void(const std::vector<SheetValue> &row)> &each);
