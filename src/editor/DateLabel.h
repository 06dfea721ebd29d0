#pragma once

#include <QLabel>

// A date field: a light-yellow label that is never typed into. A click asks for a date;
// its text stays its accessible name (QLabel's default), the description says what it holds.
class DateLabel : public QLabel
{
    Q_OBJECT
public:
    explicit DateLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
