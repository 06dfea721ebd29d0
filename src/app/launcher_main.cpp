// SPDX-License-Identifier: GPL-3.0-or-later
// strivo: the command users start and the menu entry runs. It makes the user's folder with its
// database, Export/ and Dokumente/ where they are absent, then runs the program Strivo on it.
// The program itself never creates a database.
#include "common/DbError.h"
#include "data/UserFolder.h"
#include "ui/CommandLine.h"
#include "ui/ProgramIdentity.h"
#include "ui/QtUi.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

int fail(std::unique_ptr<QCoreApplication> &core, int argc, char **argv, const QString &text)
{
    const QString message = text + QStringLiteral(" Strivo wird nicht gestartet.");
    say(message);
    if (!hasWindowSystem())
        return 1;
    core.reset(); // one application object at a time
    QApplication app(argc, argv);
    identifyProgram();
    QtUi ui;
    ui.message(message, Ui::Icon::Critical, Ui::Buttons::Ok, QStringLiteral("Strivo"));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (answerCommandLine(Command::Launcher, argc, argv))
        return 0;
    auto core = std::make_unique<QCoreApplication>(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString program = programDir + QStringLiteral("/Strivo");

    // run.sh passes the database an earlier version of it kept in the build folder.
    QString oldDatabase;
    if (args.size() == 2 && args[0] == QLatin1String("--uebernehmen"))
        oldDatabase = args[1];
    else if (!args.isEmpty())
        return fail(core, argc, argv,
                    QStringLiteral("Unbekannter Aufruf: strivo %1. Der Aufruf lautet: strivo "
                                   "(ohne Argumente); strivo --help zeigt die Hilfe.")
                        .arg(args.join(u' ')));
    if (!QFileInfo(program).isExecutable())
        return fail(core, argc, argv,
                    QStringLiteral("Das Programm '%1' wurde nicht gefunden.").arg(program));

    const QString folder = userDataFolder();
    if (folder.isEmpty() && (!oldDatabase.isEmpty() || !isPortableFolder(programDir)))
        return fail(core, argc, argv,
                    QStringLiteral("Der Ordner für die Läufe kann nicht bestimmt werden: weder "
                                   "XDG_DATA_HOME noch HOME nennt einen absoluten Pfad."));
    try {
        if (!oldDatabase.isEmpty()) {
            const QString said = takeOverDatabase(oldDatabase, folder);
            if (!said.isEmpty())
                say(said);
        }
        if (!isPortableFolder(programDir))
            prepareUserFolder(folder);
    } catch (const DbError &e) {
        return fail(core, argc, argv, e.description());
    }

    const QByteArray path = QFile::encodeName(program);
    char *const programArgs[] = { const_cast<char *>(path.constData()), nullptr };
    ::execv(path.constData(), programArgs);
    return fail(core, argc, argv,
                QStringLiteral("Das Programm '%1' kann nicht gestartet werden.").arg(program));
}
