#pragma once

#include "common/DbError.h"
#include "jet/JetTable.h"

#include <QByteArray>
#include <stdexcept>

// The frames in which the reader process hands what it read of a Jet file to the program: a tag
// byte, the payload's length (4 bytes, little-endian) and the payload. Numbers are little-endian,
// texts UTF-8 with a 4-byte length. One run of the reader gives one answer: the table names
// (Tables), or one table (Head, a Row per row, End), or at any point an error (Error).
namespace jetwire {

enum class Tag : char { Tables = 'L', Head = 'H', Row = 'R', End = 'Z', Error = 'E' };

// The reader's exit code after it sent an Error frame.
constexpr int kErrorExit = 2;

// No frame is larger; a row of a Jet table holds at most a few memos.
constexpr quint32 kMaxFrame = 64u << 20;

QByteArray tablesFrame(const QStringList &names);
// The table's name, the row count its header gives and its columns; its rows follow.
QByteArray headFrame(const JetTable &table);
QByteArray rowFrame(const QVariantList &row);
QByteArray endFrame(qsizetype rows);
QByteArray errorFrame(const DbError &error);

// An answer that breaks the form: what is wrong, in German, for the message.
struct Malformed : std::runtime_error
{
    explicit Malformed(const QString &why)
        : std::runtime_error(why.toStdString())
        , why(why)
    {
    }
    QString why;
};

// Each checks the whole answer: the frames, their order, every length, count, type and text.
// An error the reader reported is thrown as the DbError it sent; anything else amiss as
// Malformed. A frame cut short counts as missing.
QStringList decodeTables(const QByteArray &answer);
JetTable decodeTable(const QByteArray &answer, const QString &requested);

} // namespace jetwire
