#include "ui/FormBuilder.h"

#include "ui/FieldLimit.h"
#include "ui/Style.h"
#include "ui/WholeCharacters.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

FormBuilder::FormBuilder(QWidget *parent)
    : m_parent(parent)
{
}

FormBuilder FormBuilder::tabPage(QWidget *page)
{
    constexpr int kTabFrame = 45;
    constexpr int kTabBarHeight = 420;
    FormBuilder b(page);
    b.from(kTabFrame, kTabBarHeight);
    return b;
}

FormBuilder &FormBuilder::from(int left, int top)
{
    m_origin = QPoint(left, top);
    return *this;
}

FormBuilder &FormBuilder::shifted(QPoint pixels)
{
    m_shift = pixels;
    return *this;
}

FormBuilder &FormBuilder::collectInto(QList<QWidget *> *list)
{
    m_collect = list;
    return *this;
}

FormBuilder &FormBuilder::enterPressesFocusedButton()
{
    m_enterPressesButton = true;
    return *this;
}

FormBuilder FormBuilder::on(QWidget *parent) const
{
    FormBuilder other = *this;
    other.m_parent = parent;
    return other;
}

QRect FormBuilder::rect(const TwBox &box) const
{
    // Subtracted in twips before rounding, as the drawing measures.
    return twRect(box.left - m_origin.x(), box.top - m_origin.y(), box.width, box.height)
        .translated(m_shift);
}

void FormBuilder::collect(QWidget *widget) const
{
    if (m_collect)
        *m_collect << widget;
}

QLabel *FormBuilder::label(const QString &text, const TwBox &box, QWidget *buddy,
                           const QString &name)
{
    auto *l = make<QLabel>(name, box, text);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

QLabel *FormBuilder::caption(const QString &text, const TwBox &box, QWidget *buddy)
{
    QLabel *l = label(text, box, buddy);
    if (buddy)
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    else
        l->setTextFormat(Qt::PlainText);
    return l;
}

QLineEdit *FormBuilder::field(const QString &name, const TwBox &box, int maxLength,
                              const QString &accessibleName)
{
    auto *f = make<QLineEdit>(name, box);
    FieldLimit::setLimit(*f, maxLength);
    keepWholeCharacters(f);
    Style::setColor(f, QPalette::Base, Style::White);
    if (!accessibleName.isEmpty())
        f->setAccessibleName(accessibleName);
    return f;
}

QRadioButton *FormBuilder::option(const QString &name, const QString &text, const TwBox &box)
{
    return make<QRadioButton>(name, box, text);
}

QGroupBox *FormBuilder::frame(const QString &name, const QString &title, const TwBox &box)
{
    return make<QGroupBox>(name, box, title);
}

QFrame *FormBuilder::panel(const QString &name, const TwBox &box, int shape)
{
    auto *f = make<QFrame>(name, box);
    f->setFrameShape(QFrame::Shape(shape));
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

QPushButton *FormBuilder::button(const QString &name, const QString &text, const TwBox &box,
                                 const QColor &color)
{
    QPushButton *b = Style::makeButton(m_parent, name, text, rect(box), color);
    if (m_enterPressesButton)
        b->setAutoDefault(true);
    collect(b);
    return b;
}

QFrame *FormBuilder::commandRow(const QString &name, const TwBox &box)
{
    return make<QFrame>(name, box);
}

QPushButton *FormBuilder::commandButton(const QString &name, const QString &text, const TwBox &box)
{
    return button(name, text, box, Style::LightYellow);
}

void setTabChain(const QList<QWidget *> &chain)
{
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}
