// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where one run keeps its files: the program folder (the user's folder the launcher prepared,
// or a folder holding a database) with the database, the export folder and the documents.
struct ProgramPaths
{
    QString folder; // no trailing separator

    QString database() const { return folder + QStringLiteral("/Strivo-DB.mdb"); }
    QString exportFolder() const { return folder + QStringLiteral("/Export/"); }
    QString documentFolder() const { return folder + QStringLiteral("/Dokumente/"); }
};
