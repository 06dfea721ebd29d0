// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the main window with its "Datei" menu open and saves the screen as a PNG, for looking
// at the calendar export's menu item. Needs a real window system:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/menu_screenshot out.png
#include "ProgramFixture.h"
#include "racelist/RaceListWindow.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    ProgramRun program;
    Race race;
    race.name = QStringLiteral("Köln-Marathon");
    race.place = QStringLiteral("Köln");
    race.date = StoredDate::fromDate(QDate(2027, 10, 4));
    race.start = QStringLiteral("09:30");
    program.addRace(race);
    RaceListWindow window(program.ctx);
    if (!window.load())
        return 1;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto *datei = window.findChild<QMenu *>(QStringLiteral("m_datei"));
    window.menuBar()->setActiveAction(datei->menuAction());
    QTest::qWait(500);
    datei->setActiveAction(window.findChild<QAction *>(QStringLiteral("m_termine")));
    QTest::qWait(300);
    return QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[1]))
        ? 0
        : 1;
}
