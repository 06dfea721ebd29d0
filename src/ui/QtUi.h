#pragma once

#include "common/Ui.h"

class QWidget;

// The real UI services: Qt message boxes, file dialogs, QDesktopServices.
class QtUi final : public Ui
{
public:
    Answer message(const QString &text, Icon icon, Buttons buttons, const QString &title) override;
    int runModal(QDialog &window) override;
    FileAnswer openFile(const FileRequest &request) override;
    FileAnswer saveFile(const FileRequest &request) override;
    bool openUrl(const QUrl &url) override;
    void setBusy(bool busy) override;
    void quitProgram() override;
};

// False under the offscreen and minimal platforms and without a display: a message box would
// wait there for a click no one can give.
bool hasWindowSystem();

// "Excel 97|*.xls|Alle|*.*" -> "Excel 97 (*.xls);;Alle (*.*)"
QString qtFileFilter(const QString &filter);
