#pragma once

#include <QDateTime>
#include <QString>

// "Läufe yy-mm-dd hh-mm-ss": the name the save dialog proposes.
QString proposedExportName(const QDateTime &now);
// The longest path the export accepts.
constexpr int kMaxExportPathLength = 63;
QString exportPathTooLongMessage(const QString &path);
// The success message; it names how many cells had texts longer than a cell holds.
QString exportDoneMessage(quint32 cutCells);
// What the success message of an export adds when texts were cut; empty when none was.
QString cutCellsNote(quint32 cutCells);
