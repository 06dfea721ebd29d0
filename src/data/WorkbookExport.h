#pragma once

#include "common/DbError.h"

#include <QString>

// Runs one of the program's statements on the database file. A select-into whose target is an
// Excel 97 worksheet ("select ... into [Excel 8.0;Database=PATH].Sheet from ...") writes a new
// workbook at PATH: a heading row of the column names, then one row per result row, with
// boolean columns as boolean cells, nulls as empty cells and everything else as text.
// Any other statement is executed as it is.
//
// An existing file at PATH is never replaced or changed, and a failed export leaves no file.
// Failures throw DbError with a German description (an existing file: ErrNo::FileExists).
//
// `excelPath`, when given, is the PATH written into the statement, handed over as it is: a path
// may hold brackets, which the statement's own syntax cannot tell from the target's end.
struct StatementResult
{
    quint32 cutCells = 0; // exported texts longer than a cell holds, cut in the workbook
};
StatementResult executeStatement(const QString &databasePath, const QString &statement,
                                 const QString &excelPath = {});

namespace xls {
class Error;
}
// A failure of the file layer as the program's error, with its German description.
DbError toDbError(const xls::Error &e);
