#pragma once

#include <QLabel>

// A label that opens something when clicked, as a link does: underlined, hand pointer,
// and reachable by keyboard (Tab, then Enter or Space), so it is not mouse-only.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
