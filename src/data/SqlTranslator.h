#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

// A select-into whose target is an Excel 97 worksheet: "[Excel 8.0;Database=PATH].SHEET".
struct ExcelTarget
{
    QString path;
    QString sheet;
};

struct TranslatedStatement
{
    std::string sql; // what SQLite runs (for an export: the select without its target)
    std::optional<ExcelTarget> excel;
    // The order by ends in a tie-break on the row's key: every way of running the statement,
    // also a part at a time with limit and offset, lists the same rows in the same order.
    bool totalOrder = false;
};

struct TranslateOptions
{
    // Compare and sort the race date by its indexed key instead of the date functions; only
    // when every race date the functions read is one the key covers.
    bool raceDateKeys = false;
    // Columns that hold only texts (or nothing), that the index of PlaceNameIndex covers, and
    // whose rows may come in any order, since the order by breaks every tie: a German prefix
    // comparison on one of them also asks for the first bytes a matching name can begin with.
    QStringList leadByteColumns;
};

// Makes the program's statements run on SQLite:
// - val(x)= '12' compares numbers (SQLite never finds a number equal to a text); for a document
//   link's race number the comparison is one the index of DocumentLinkIndex answers;
// - left(x,'n' )  = 't' compares the German way (collation "de"), and every order-by column
//   sorts by the same collation;
//   left() itself is called left_text() (LEFT is a keyword in SQLite); on leadByteColumns the
//   comparison is narrowed to the first bytes a matching name can have;
// - ordering by the race date breaks ties by the row's key, so that every way of running the
//   statement lists races of one day in the same order (by number); with raceDateKeys, the race
//   date's comparisons with a date and its ordering use the sortable key of RaceDateIndex;
// - select ... into [Excel 8.0;Database=...].Sheet from ... becomes a plain select plus its target.
// String literals are never touched.
TranslatedStatement translateStatement(const QString &statement,
                                       const TranslateOptions &options = {});

// Quotes a text for a statement whose wording is fixed: 'it''s'.
QString sqlQuoted(const QString &text);

// The statement (as SQLite runs it) without the ORDER BY that ends it, for counting its rows
// without sorting them. Unchanged when it has no such clause or when leaving it out could change
// the rows: a LIMIT or OFFSET after it, or a comment that hides where it ends.
std::string withoutFinalOrdering(const std::string &sql);
