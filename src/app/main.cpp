#include "common/Clock.h"
#include "context/AppContext.h"
#include "data/InstanceLock.h"
#include "data/UserFolder.h"
#include "racelist/RaceListWindow.h"
#include "ui/CommandLine.h"
#include "ui/ProgramIdentity.h"
#include "ui/QtTranslations.h"
#include "ui/QtUi.h"
#include "ui/TerminationSignals.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

// Started directly before strivo ever made the folder, the start-up could only report a missing
// file; this says how to start instead, and without a display it does not wait for a click.
bool reportMissingDatabase(Ui &ui, const QString &programFolder)
{
    const QString message = missingDatabaseMessage(programFolder);
    if (message.isEmpty())
        return false;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (hasWindowSystem())
        ui.message(message, Ui::Icon::Critical, Ui::Buttons::Ok, QStringLiteral("Strivo"));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (answerCommandLine(Command::Program, argc, argv))
        return 0;
    // A file-size limit then makes a write fail (EFBIG), reported like a full disk, instead of
    // ending the program in the middle of a copy.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Strivo"));
    installGermanQtTranslations(app);
    identifyProgram();

    QtUi ui;
    // The user's folder, which the launcher strivo prepares; a program folder holding a
    // database is used as it is.
    const QString programFolder = programFolderFor(QCoreApplication::applicationDirPath());
    if (reportMissingDatabase(ui, programFolder))
        return 1;
    SystemClock clock;
    AppContext ctx(ui, clock, programFolder);
    // A logout or a kill ends the program as its "Beenden" command does, once the event that
    // runs now (a save, an export) is done: the database closed, the lock released. In place
    // before the lock is taken, so that no moment of the run can end without releasing it.
    const TerminationSignals ending([&ctx, &ui](int) {
        ctx.closeDatabase();
        ui.quitProgram();
    });
    // A second copy must not compact the database under the first one.
    InstanceLock lock(programFolder);
    if (!lock.tryLock()) {
        ui.message(InstanceLock::alreadyRunningMessage(), Ui::Icon::Warning, Ui::Buttons::Ok,
                   QStringLiteral("Strivo"));
        return 1;
    }

    // The file work of the start-up needs no window: it runs while the window is built.
    ctx.maintenance.begin(MaintenancePaths::inFolder(ctx.paths.folder));

    RaceListWindow window(ctx);
    if (!window.load())
        return 0;
    window.show();
    // Lets the package check run the whole start-up without anyone to close the window.
    if (qEnvironmentVariableIsSet("STRIVO_QUIT_AFTER_START"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
