#include "common/FileChoice.h"

#include <QDir>
#include <QFileInfo>

QString safeFileName(QString name)
{
    for (QChar &c : name)
        if (c.unicode() < 0x20 || c == u'\x7f' || QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'-';
    return name;
}

bool mayReplace(Ui &ui, const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    const QString question = QStringLiteral("Die Datei %1 gibt es schon. Soll sie ersetzt werden ?")
                                 .arg(QDir::toNativeSeparators(path));
    return ui.message(question, Ui::Icon::Question, Ui::Buttons::YesNo) == Ui::Answer::Yes;
}
