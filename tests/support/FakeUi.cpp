#include "FakeUi.h"

Ui::Answer FakeUi::message(const QString &text, Icon icon, Buttons buttons, const QString &title)
{
    messages.append({ text, icon, buttons, title });
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.empty())
        return Answer::Yes;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

int FakeUi::runModal(QDialog &window)
{
    modalWindows << window.objectName();
    if (!onModal)
        return QDialog::Rejected;
    window.show();
    return onModal(window);
}

Ui::FileAnswer FakeUi::openFile(const FileRequest &request)
{
    return saveFile(request);
}

Ui::FileAnswer FakeUi::saveFile(const FileRequest &request)
{
    fileRequests << request;
    if (fileAnswers.empty())
        return FileAnswer { false, request.fileName, 1 };
    FileAnswer a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

bool FakeUi::openUrl(const QUrl &url)
{
    openedUrls << url;
    return true;
}

QStringList FakeUi::messageTexts() const
{
    QStringList texts;
    for (const Message &m : messages)
        texts << m.text;
    return texts;
}
