// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the postal directory in browse mode and in edit mode to two PNG files:
//   postal_screenshot [folder]  ->  folder/plzort_browse.png, folder/plzort_edit.png
#include "PlzOrtGenerator.h"
#include "ProgramFixture.h"
#include "postal/PostalDirectoryDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    ProgramRun run(TestFolder::Content::Empty, QDateTime(QDate(2026, 5, 7), QTime(10, 0)));
    const TestFolder &folder = run.folder;
    benchgen::addPostalDirectory(folder.dbPath(), 60);
    QWidget editor;

    PostalDirectoryDialog form(run.ctx, &editor);
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        std::printf("window not active\n");
    form.p_t_ort->setFocus();
    QTest::keyClicks(form.p_t_ort, QStringLiteral("B"));
    QCoreApplication::processEvents();
    const bool browse = form.grab().save(out + QStringLiteral("/plzort_browse.png"));

    form.DBGrid1->setCurrentRow(2);
    form.db_neu_plz[1]->click();
    QCoreApplication::processEvents();
    const bool edit = form.grab().save(out + QStringLiteral("/plzort_edit.png"));
    std::printf("%s\n", browse && edit ? "written" : "failed");
    return browse && edit ? 0 : 1;
}
