#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class RaceEditor;
class AppContext;
class DateLabel;
class QLineEdit;
class QWidget;
struct PostalPlace;

// How the race editor's fields react to keys and clicks: Enter moves on in the listed fields,
// the date labels ask the calendar for a date, the e-mail and web fields hand their address to
// the desktop, the small place buttons open the postal directory.
class FieldBehaviours : public QObject
{
    Q_OBJECT
public:
    FieldBehaviours(AppContext &ctx, RaceEditor &form);

    // The seven date labels share one handler; only the format differs.
    void onDateLabelClicked(DateLabel &label, bool withWeekday);
    // A double click: "mailto:" or "http://" followed by the field's text, unchanged.
    void openLink(QLineEdit &field, const QString &scheme);
    // aufruf: "lauf_ort" for the race's place, "ort" for the contact person.
    void onPlaceButtonClicked(const QString &aufruf);

    // The control that Enter (like Tab) moves to from the given one.
    QWidget *nextStop(QWidget *from) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void listenForEnter(QWidget *control);
    // Fills the fields of the place button's caller: "lauf_ort" sets the race's place and
    // completes the contact fields that are still empty; every other caller sets the contact
    // person's place, postcode and direct line.
    void takePostalPlace(const QString &aufruf, const PostalPlace &chosen);

    AppContext &m_ctx;
    RaceEditor &m_form;
    QSet<QObject *> m_enterMovesOn;
    QSet<QObject *> m_linkFields;
};
