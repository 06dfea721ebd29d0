#pragma once

#include <QColor>
#include <QPalette>
#include <QPushButton>
#include <QRect>

// The program's colours: save buttons light green, cancel buttons light red, command rows
// light yellow, grids white on blue.
namespace Style {
inline const QColor GridBlue { 0, 128, 255 };
inline const QColor LightGreen { 192, 255, 192 };
inline const QColor LightRed { 255, 192, 192 };
inline const QColor LightYellow { 255, 255, 192 };

// Sets one palette colour; for Window also fills the background.
inline void setColor(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(role, color);
    widget->setPalette(p);
    if (role == QPalette::Window)
        widget->setAutoFillBackground(true);
}

inline QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption,
                               const QRect &geometry, const QColor &color = {})
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    // Enter moves between fields in these windows; it must never press a button by accident.
    button->setAutoDefault(false);
    if (color.isValid())
        setColor(button, QPalette::Button, color);
    return button;
}

// A button of a row of commands: every such row looks the same.
inline QPushButton *makeCommandButton(QWidget *parent, const QString &name, const QString &caption,
                                      const QRect &geometry)
{
    return makeButton(parent, name, caption, geometry, LightYellow);
}
} // namespace Style
