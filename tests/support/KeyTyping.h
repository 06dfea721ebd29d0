#pragma once

#include <QString>
#include <QTest>

// Key by key, as a user types; letters beyond ASCII come as the text of a key event.
inline void typeKeys(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
