// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonDocument>
#include <QString>
#include <QStringList>

// Readers that are not ours: Python's csv module, openpyxl and poppler's tools, run as their own
// processes. A reader that fails adds a test failure and gives an empty result.
QJsonDocument readCsvWithPython(const QString &path);
QJsonDocument readXlsxWithOpenpyxl(const QString &path);
QString pdfText(const QString &path);
// pdfinfo's "Title", "Creator", "Pages" and so on.
QString pdfInfo(const QString &path, const QString &field);
