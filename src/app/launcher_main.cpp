// SPDX-License-Identifier: GPL-3.0-or-later
// strivo: the command users start and the menu entry runs. It makes the user's folder with its
// database, Export/ and Dokumente/ where they are absent, then runs the program Strivo on it.
// The program itself never creates a database.
#include "common/DbError.h"
#include "data/InstanceLock.h"
#include "data/UserFolder.h"
#include "ui/CommandLine.h"
#include "ui/ProgramIdentity.h"
#include "ui/QtUi.h"

#include <QApplication>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

int tell(std::unique_ptr<QCoreApplication> &core, int argc, char **argv, const QString &message,
         Ui::Icon icon)
{
    say(message);
    if (!hasWindowSystem())
        return 1;
    core.reset(); // one application object at a time
    QApplication app(argc, argv);
    identifyProgram();
    QtUi ui;
    ui.message(message, icon, Ui::Buttons::Ok, QStringLiteral("Strivo"));
    return 1;
}

int fail(std::unique_ptr<QCoreApplication> &core, int argc, char **argv, QString text)
{
    if (!text.endsWith(u'.') && !text.endsWith(u'!') && !text.endsWith(u'?'))
        text += u'.';
    return tell(core, argc, argv, text + QStringLiteral(" Strivo wird nicht gestartet."),
                Ui::Icon::Critical);
}

} // namespace

int main(int argc, char **argv)
{
    if (answerCommandLine(Command::Launcher, argc, argv))
        return 0;
    // A file-size limit makes a write fail like a full disk instead of ending the launcher in the
    // middle of the first database.
    std::signal(SIGXFSZ, SIG_IGN);
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
    // Taken before anything is made and held until the program has it: a second start at the
    // same moment (a double click) finds it held and makes nothing.
    const bool portable = oldDatabase.isEmpty() && isPortableFolder(programDir);
    InstanceLock lock(portable ? programDir : folder);
    if (!lock.tryLock())
        return tell(core, argc, argv, InstanceLock::alreadyRunningMessage(), Ui::Icon::Warning);
    try {
        if (!oldDatabase.isEmpty()) {
            const QString said = takeOverDatabase(oldDatabase, folder);
            if (!said.isEmpty())
                say(said);
        }
        if (!portable)
            prepareUserFolder(folder);
    } catch (const DbError &e) {
        return fail(core, argc, argv, e.description());
    }

    const QByteArray path = QFile::encodeName(program);
    char *const programArgs[] = { const_cast<char *>(path.constData()), nullptr };
    lock.passOnAcrossExec();
    ::execv(path.constData(), programArgs);
    return fail(core, argc, argv,
                QStringLiteral("Das Programm '%1' kann nicht gestartet werden.").arg(program));
}
