// SPDX-License-Identifier: GPL-3.0-or-later
// strivo-makedb OUT.mdb schema.sql [seed.sql ...]: makes the database an installation delivers.
#include "common/DbError.h"
#include "data/MakeDb.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "Aufruf: strivo-makedb DATENBANK.mdb schema.sql [daten.sql ...]\n");
        return 2;
    }
    try {
        makeDatabase(args[0], args.mid(1));
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
