// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class RaceList;

struct XlsxExported
{
    int races = 0;
    // Texts longer than a cell holds, cut in the file.
    quint32 cutCells = 0;
};

// The most UTF-16 units an Excel cell holds.
constexpr qsizetype kMaxCellText = 32767;

// Writes the races of the list, in its order, into worksheet "Läufe" of a new Excel workbook
// (.xlsx): the column names in a bold first row that stays in view while scrolling, then a row
// per race. Dates of the date columns become date cells shown "TT.MM.JJJJ" (a stored text that
// is no date stays text), Yes/No columns truth values as in the Excel 97 export, NULL an empty
// cell, everything else text; a text longer than a cell holds is cut between whole characters.
// The rows are written as they come, so memory does not grow with the list. The file replaces
// `target` only when complete; failures throw DbError.
XlsxExported writeRacesXlsx(const RaceList &races, const QString &target);
