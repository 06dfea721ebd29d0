#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QScrollBar>

// MIME type of a day dragged out of the calendar grid; the data is the date as "dd.mm.yyyy".
inline constexpr char kDayMimeType[] = "application/x-strivo-kalendertag";

// One cell of the month grid. It reports presses and double clicks; once the window has
// accepted a press on a real day it arms the cell, and moving the mouse with the button held
// then drags that day.
class DayCell final : public QLabel
{
    Q_OBJECT
public:
    DayCell(int index, QWidget *parent);
    int index() const { return m_index; }
    // The press was on a day of the shown month: a following move drags this date text.
    void armDrag(const QString &dateText);

signals:
    void pressed(int index);
    void doubleClicked(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    const int m_index;
    QString m_dragText;
    QPoint m_pressPos;
};

// A label that takes a dragged day.
class DayDropLabel final : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void dayDropped(const QString &dateText);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

// A short number field whose whole text is selected when it is entered or clicked,
// so that typing replaces it.
class SelectAllEdit final : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

// The month and year bars: Right, Down and Page Down go to a later month or year, Left, Up and
// Page Up to an earlier one, as the arrows and the captions "<< Monat >>" suggest.
class DateScrollBar final : public QScrollBar
{
    Q_OBJECT
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
