// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class AppContext;
class QMenu;
class QWidget;
class RaceList;

// What the main window shows at the moment of a command: its headline and its list.
struct ShownList
{
    QString headline;
    const RaceList *races = nullptr; // none before the first list
};

// "Läufe <headline>" made safe for a file name, with `extension` (without dot).
QString listFileName(const QString &headline, const QString &extension);

enum class ListFileType { Csv, Xlsx };
struct ListExportTarget
{
    QString path;
    ListFileType type = ListFileType::Csv;
    bool extensionAdded = false; // the dialog's own question did not see this name
};
// The file and its type from the save dialog's answer: a name ending in ".csv" or ".xlsx" has
// that type, any other gets the extension of the type chosen in the dialog.
ListExportTarget listExportTarget(const QString &chosen, int filterIndex);

// The commands, as the menu items run them.
void printListCommand(AppContext &ctx, QWidget *window, const ShownList &shown);
void saveListPdfCommand(AppContext &ctx, const ShownList &shown);
void exportListCommand(AppContext &ctx, const ShownList &shown);

// Adds "Liste drucken...", "Liste als PDF speichern..." and "Liste exportieren (CSV,
// Excel-Arbeitsmappe)..." to the menu; `shown` tells what the window shows when one is chosen.
void addListOutputItems(QMenu &menu, AppContext &ctx, QWidget *window,
                        const std::function<ShownList()> &shown);
