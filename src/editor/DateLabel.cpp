#include "editor/DateLabel.h"

#include <QMouseEvent>

DateLabel::DateLabel(QWidget *parent)
    : QLabel(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(255, 255, 192));
    // Black while it can be clicked; a locked editor greys it like its other fields.
    for (auto group : { QPalette::Active, QPalette::Inactive })
        p.setColor(group, QPalette::WindowText, Qt::black);
    setPalette(p);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Mausklick um Kalender aufzurufen"));
    setAccessibleDescription(QStringLiteral("Datum"));
}

void DateLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void DateLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}
