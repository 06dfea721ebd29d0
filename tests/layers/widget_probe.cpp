// A file that uses a widget. Built in a layer below the windows, it must fail: Qt Widgets is not
// among what those layers link.
#include <QWidget>

QWidget *makeProbeWidget()
{
    return new QWidget;
}
