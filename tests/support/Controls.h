#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <gtest/gtest.h>

// The control of a window by its name (objectName), as readers of the window's description
// know it; the test fails when the window has none.
template<class T> T *control(const QObject &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        ADD_FAILURE() << "no control " << name.toStdString();
    return found;
}

// The controls of an array, "name(0)", "name(1)", ..., in order.
template<class T> QList<T *> controls(const QObject &window, const QString &name, int count)
{
    QList<T *> list;
    for (int i = 0; i < count; ++i)
        list << control<T>(window, QStringLiteral("%1(%2)").arg(name).arg(i));
    return list;
}
