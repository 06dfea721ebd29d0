#pragma once

#include "common/DbError.h"

#include <QString>

// Writes every race of the database file, latest first, into worksheet "Läufe" of a new Excel 97
// workbook at `path`: a heading row of the column names, then one row per race, with the Yes/No
// columns as boolean cells, nulls as empty cells and everything else as text. Returns how many
// texts were longer than a cell holds and were cut in the workbook.
//
// An existing file at `path` is never replaced or changed, and a failed export leaves no file.
// Failures throw DbError with a German description (an existing file: ErrNo::FileExists).
quint32 exportRacesToWorkbook(const QString &databasePath, const QString &path);

namespace xls {
class Error;
}
// A failure of the file layer as the program's error, with its German description.
DbError toDbError(const xls::Error &e);
