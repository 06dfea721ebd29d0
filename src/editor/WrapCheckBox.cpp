#include "editor/WrapCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

WrapCheckBox::WrapCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
}

void WrapCheckBox::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();
    // Indicator on the first line, like a one-line check box.
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, this);
    opt.rect.setHeight(qMin(height(), indicator.height() + 4));
    p.drawControl(QStyle::CE_CheckBox, opt);

    const int textLeft
        = indicator.right() + 1 + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &opt, this);
    const QRect textRect(textLeft, 0, width() - textLeft, height());
    style()->drawItemText(&p, textRect,
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic,
                          palette(), isEnabled(), caption, QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(
            textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, caption);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool WrapCheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
