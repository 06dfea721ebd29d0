// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class RaceList;

// A field as spreadsheets read it (RFC 4180): quoted when it holds ";", a quote, CR or LF, with
// its quotes doubled; otherwise as it is. Nothing is cut.
QString csvField(const QString &text);

// Writes the races of the list, in its order, as a CSV file that German spreadsheets open with a
// double click: UTF-8 with a byte-order mark, ";" between fields, CRLF at line ends, the column
// names in the first line. Yes/No columns read "WAHR" / "FALSCH", as those spreadsheets write
// truth values. The file replaces `target` only when complete; failures throw DbError. Returns
// how many races were written.
int writeRacesCsv(const RaceList &races, const QString &target);
