#pragma once

#include <QString>
#include <QUrl>

class QDialog;

// Everything that needs a user's answer or the desktop goes through this interface,
// so that every window can be driven by tests without a display.
class Ui
{
public:
    enum class Icon { None, Information, Warning, Question, Critical };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    struct FileRequest
    {
        QString title;
        QString initialDir;
        QString fileName; // proposed name
        QString filter; // "Description|*.ext|Other|*.x"
        // Save dialogs: the dialog asks before an existing file is chosen, and adds this
        // extension (without dot) to a name typed without one.
        bool confirmOverwrite = false;
        QString defaultSuffix;
    };
    struct FileAnswer
    {
        bool accepted = false;
        QString fileName; // full path when accepted, else the proposed name
        int filterIndex = 1;
    };

    virtual ~Ui() = default;

    virtual Answer message(const QString &text, Icon icon = Icon::None,
                           Buttons buttons = Buttons::Ok,
                           const QString &title = QStringLiteral("Strivo"))
        = 0;
    // Shows the window modally and returns when it has closed.
    virtual int runModal(QDialog &window) = 0;
    virtual FileAnswer openFile(const FileRequest &request) = 0;
    virtual FileAnswer saveFile(const FileRequest &request) = 0;
    // Hands an address or a file to the desktop; never through a shell.
    virtual bool openUrl(const QUrl &url) = 0;
    virtual void setBusy(bool busy) = 0;
    // Ends the program at once; everything is stored already.
    virtual void quitProgram() = 0;
};
