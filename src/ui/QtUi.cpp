#include "ui/QtUi.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <cstdlib>

namespace {
QWidget *activeParent()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                             : QApplication::activeWindow();
}

Ui::FileAnswer runFileDialog(const Ui::FileRequest &request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(activeParent(), request.title, request.initialDir,
                       qtFileFilter(request.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    // Unless the caller asks for it, overwriting is its own decision, not a dialog question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    Ui::FileAnswer answer;
    answer.fileName = request.fileName;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        answer.accepted = true;
        answer.fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
        answer.filterIndex = int(dialog.nameFilters().indexOf(dialog.selectedNameFilter())) + 1;
    }
    return answer;
}
} // namespace

QString qtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(u';', u' ')
                + u')';
    return filters.join(QStringLiteral(";;"));
}

Ui::Answer QtUi::message(const QString &text, Icon icon, Buttons buttons, const QString &title)
{
    QMessageBox box(activeParent());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (buttons == Buttons::YesNo) {
        box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == no ? Answer::No : Answer::Yes;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return Answer::Ok;
}

int QtUi::runModal(QDialog &window)
{
    return window.exec();
}

Ui::FileAnswer QtUi::openFile(const FileRequest &request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

Ui::FileAnswer QtUi::saveFile(const FileRequest &request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

bool QtUi::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void QtUi::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::quitProgram()
{
    // Every change is stored when its window closes; nothing is left to save.
    std::exit(0);
}

bool hasWindowSystem()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.startsWith(QLatin1String("offscreen"))
        || platform.startsWith(QLatin1String("minimal")))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
