#pragma once

#include "common/Ui.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <deque>
#include <functional>

// UI services for tests: records every message and dialog, answers from a script,
// and runs a test's handler instead of a modal event loop.
class FakeUi final : public Ui
{
public:
    struct Message
    {
        QString text;
        Icon icon;
        Buttons buttons;
        QString title;
    };

    Answer message(const QString &text, Icon icon, Buttons buttons, const QString &title) override;
    int runModal(QDialog &window) override;
    FileAnswer openFile(const FileRequest &request) override;
    FileAnswer saveFile(const FileRequest &request) override;
    bool openUrl(const QUrl &url) override;
    void setBusy(bool busy) override { busyNow = busy; }
    // Records the request and returns: callers return right after asking to quit.
    void quitProgram() override { quitRequested = true; }

    QStringList messageTexts() const;

    QList<Message> messages;
    std::deque<Answer> answers; // for questions; an empty script answers Yes
    std::deque<FileAnswer> fileAnswers; // an empty script cancels
    QList<FileRequest> fileRequests;
    QList<QUrl> openedUrls;
    QStringList modalWindows; // objectName of every window run modally
    // Called instead of exec(); the dialog is shown, the handler may click and must close it.
    std::function<int(QDialog &)> onModal;
    bool busyNow = false;
    bool quitRequested = false;
};
