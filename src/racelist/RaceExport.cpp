#include "racelist/RaceExport.h"

#include "common/GermanText.h"

QString proposedExportName(const QDateTime &now)
{
    return QStringLiteral("Läufe ") + now.toString(QStringLiteral("yy-MM-dd hh-mm-ss"));
}

QString exportPathTooLongMessage(const QString &path)
{
    return QStringLiteral("Der vollständige Export-Dateiname darf nicht länger als 63 Zeichen "
                          "sein!\n")
        + path + QStringLiteral("\nist ") + numberText(path.size())
        + QStringLiteral(" Zeichen lang - Bitte wiederholen");
}

QString exportDoneMessage(quint32 cutCells)
{
    return QStringLiteral("Der Export wurde erfolgreich beendet") + cutCellsNote(cutCells);
}

QString cutCellsNote(quint32 cutCells)
{
    if (cutCells == 0)
        return {};
    const QString cells = cutCells == 1 ? QStringLiteral("einer Zelle")
                                        : QString::number(cutCells) + QStringLiteral(" Zellen");
    return QStringLiteral("\n\nIn %1 war der Text länger als die 32.767 Zeichen, die eine "
                          "Excel-Zelle fasst, und wurde in der Datei gekürzt. In der Datenbank "
                          "bleibt er vollständig erhalten.")
        .arg(cells);
}
