#pragma once

#include "ui/Twips.h"

#include <QCheckBox>
#include <QColor>
#include <QList>
#include <QPoint>
#include <QString>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// A control's place in twips, as the forms were drawn.
struct TwBox
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Builds a window's controls in one way: each placed in twips on one parent, named, and styled
// from Style.h. Every window builds with it, so a field or a command row looks and behaves the
// same everywhere.
class FormBuilder
{
public:
    static constexpr int RowHeight = 315; // text fields, combos, captions beside them
    static constexpr int CheckHeight = 255; // check boxes and option buttons

    explicit FormBuilder(QWidget *parent);
    // A tab page: the drawing measures its controls from the tab control's corner, above the
    // page's own (the tab bar and the frame lie between).
    static FormBuilder tabPage(QWidget *page);

    // Positions are measured from this point of the drawing (in twips), e.g. a tab page's
    // corner, and then moved by a number of pixels found at run time.
    FormBuilder &from(int left, int top);
    FormBuilder &shifted(QPoint pixels);
    // Every control made from now on is also added to this list.
    FormBuilder &collectInto(QList<QWidget *> *list);
    // For windows without text fields: Enter presses the button that has the focus, as
    // elsewhere it moves between fields.
    FormBuilder &enterPressesFocusedButton();
    // The same settings on another parent.
    FormBuilder on(QWidget *parent) const;

    QWidget *parent() const { return m_parent; }
    QRect rect(const TwBox &box) const;

    // Places a control made elsewhere (widgets of the window's own kinds).
    template<class W> W *place(W *widget, const QString &name, const TwBox &box)
    {
        if (!name.isEmpty())
            widget->setObjectName(name);
        widget->setGeometry(rect(box));
        collect(widget);
        return widget;
    }
    template<class W, class... Args> W *make(const QString &name, const TwBox &box, Args &&...args)
    {
        return place(new W(std::forward<Args>(args)..., m_parent), name, box);
    }

    // A plain label; with a buddy its mnemonic moves the focus there.
    QLabel *label(const QString &text, const TwBox &box, QWidget *buddy = nullptr,
                  const QString &name = {});
    // A caption left of its field, right-aligned against it; without a field, fixed plain text.
    QLabel *caption(const QString &text, const TwBox &box, QWidget *buddy = nullptr);
    // A text field: its limit counts characters as the database does, it never cuts one in
    // half, and it is white.
    QLineEdit *field(const QString &name, const TwBox &box, int maxLength,
                     const QString &accessibleName = {});
    template<class Box = QCheckBox>
    Box *checkBox(const QString &name, const QString &text, const TwBox &box)
    {
        return make<Box>(name, box, text);
    }
    QRadioButton *option(const QString &name, const QString &text, const TwBox &box);
    QGroupBox *frame(const QString &name, const QString &title, const TwBox &box);
    // A sunken panel or line.
    QFrame *panel(const QString &name, const TwBox &box, int shape);
    QPushButton *button(const QString &name, const QString &text, const TwBox &box,
                        const QColor &color = {});
    // A row holding commands, and the commands in it: every such row looks the same.
    QFrame *commandRow(const QString &name, const TwBox &box);
    QPushButton *commandButton(const QString &name, const QString &text, const TwBox &box);

private:
    void collect(QWidget *widget) const;

    QWidget *m_parent;
    QPoint m_origin; // twips
    QPoint m_shift; // pixels
    QList<QWidget *> *m_collect = nullptr;
    bool m_enterPressesButton = false;
};

// Tab goes through these controls in this order.
void setTabChain(const QList<QWidget *> &chain);
