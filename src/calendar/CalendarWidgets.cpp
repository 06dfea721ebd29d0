#include "calendar/CalendarWidgets.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

DayCell::DayCell(int index, QWidget *parent)
    : QLabel(parent)
    , m_index(index)
{
}

void DayCell::armDrag(const QString &dateText)
{
    m_dragText = dateText;
}

void DayCell::mousePressEvent(QMouseEvent *event)
{
    m_dragText.clear();
    m_pressPos = event->position().toPoint();
    emit pressed(m_index);
}

void DayCell::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragText.isEmpty() || event->buttons() == Qt::NoButton)
        return;
    if ((event->position().toPoint() - m_pressPos).manhattanLength()
        < QApplication::startDragDistance())
        return;
    auto *mime = new QMimeData;
    mime->setData(QString::fromLatin1(kDayMimeType), m_dragText.toLatin1());
    mime->setText(m_dragText);
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(grab());
    drag->setHotSpot(m_pressPos);
    m_dragText.clear();
    drag->exec(Qt::CopyAction);
}

void DayCell::mouseReleaseEvent(QMouseEvent *)
{
    m_dragText.clear();
}

void DayCell::mouseDoubleClickEvent(QMouseEvent *)
{
    emit doubleClicked(m_index);
}

void DayDropLabel::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(kDayMimeType)))
        event->acceptProposedAction();
}

void DayDropLabel::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(kDayMimeType)))
        event->acceptProposedAction();
}

void DayDropLabel::dropEvent(QDropEvent *event)
{
    const QByteArray data = event->mimeData()->data(QString::fromLatin1(kDayMimeType));
    if (data.isEmpty())
        return;
    event->acceptProposedAction();
    emit dayDropped(QString::fromLatin1(data));
}

void SelectAllEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    selectAll();
}

void SelectAllEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    selectAll();
}

void DateScrollBar::keyPressEvent(QKeyEvent *event)
{
    // A scroll bar turns its keys around so that Up and Page Up go back; that turns Left and
    // Right around as well.
    switch (event->key()) {
    case Qt::Key_Left:
        triggerAction(SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        triggerAction(SliderSingleStepAdd);
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    event->accept();
}
