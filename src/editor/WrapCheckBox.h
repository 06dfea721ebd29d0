#pragma once

#include <QCheckBox>

// A check box whose caption wraps onto further lines within its width, as the long
// captions of the race editor need. The whole area toggles the box.
class WrapCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit WrapCheckBox(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};
