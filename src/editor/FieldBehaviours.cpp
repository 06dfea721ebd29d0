#include "editor/FieldBehaviours.h"

#include "calendar/Kalender_Form.h"
#include "common/DbError.h"
#include "common/GermanText.h"
#include "context/AppContext.h"
#include "editor/Adressen_Form.h"
#include "editor/DateLabel.h"
#include "postal/PostalDirectory.h"
#include "ui/FieldLimit.h"
#include "ui/OptionStops.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QUrl>

namespace {
bool isEnterKey(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    // Shift+Enter is an Enter as well; with Ctrl or Alt it is another key.
    return !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}
} // namespace

FieldBehaviours::FieldBehaviours(AppContext &ctx, Adressen_Form &form)
    : ctx(ctx)
    , form(form)
{
    Adressen_Form &f = form;
    QWidget *const enterFields[] = {
        f.ad_t_lauf_ort,
        f.t_termin_stunde,
        f.t_termin_minuten,
        f.ad_check_vorgemerkt,
        f.ad_check_angemeldet,
        f.ad_check_gelaufen,
        f.ad_t_zeit,
        f.ad_name2,
        f.ad_telefon1,
        f.ad_fax,
        f.ad_internet,
        f.ad_email,
        f.ad_konto1,
        f.ad_blz1,
        f.ad_bank1,
        f.ad_t_sg11,
        f.ad_t_sg12,
        f.ad_t_sg13,
        f.ad_t_sg21,
        f.ad_t_sg22,
        f.ad_t_sg23,
        f.ad_t_sg31,
        f.ad_t_sg32,
        f.ad_t_sg33,
        f.ad_check_alarm,
        f.ad_check_bezahlt,
        f.ad_name1,
        f.ad_vorname,
        f.ad_plz,
        f.ad_ort,
        f.ad_pfplz,
        f.ad_postfach,
        f.ad_direkt,
        f.ad_funk,
        f.ad_email_ansprech,
    };
    for (QWidget *field : enterFields)
        listenForEnter(field);
    QList<QAbstractButton *> distances;
    for (const auto &[index, option] : f.ad_o_strecke) {
        listenForEnter(option);
        distances << option;
    }
    makeOneTabStop(distances);
    for (const auto &[index, combo] : f.aw_Combo1)
        listenForEnter(combo);
    // Enter that no control took (a field without the rule, a button) ends here, so the
    // dialog never presses a button for it.
    form.installEventFilter(this);

    const std::pair<DateLabel *, bool> dates[] = {
        { f.ad_l_lauf_datum, true },  { f.ad_l_angemeldet, true }, { f.ad_l_start1, false },
        { f.ad_l_start2, false },     { f.ad_l_start3, false },    { f.ad_l_alarm, true },
        { f.ad_l_ueberwiesen, true },
    };
    for (const auto &[label, withWeekday] : dates)
        connect(label, &DateLabel::clicked, this, [this, label = label, withWeekday = withWeekday] {
            DateLabel_Click(*label, withWeekday);
        });

    connect(f.ad_c_lauf_ort, &QToolButton::clicked, this,
            [this] { PlaceButton_Click(QStringLiteral("lauf_ort")); });
    // Postcode and place of the contact person come from the same directory entry.
    for (QToolButton *button : { f.ad_c_plz, f.ad_c_ort })
        connect(button, &QToolButton::clicked, this,
                [this] { PlaceButton_Click(QStringLiteral("ort")); });

    for (QLineEdit *field : { f.ad_email, f.ad_email_ansprech, f.ad_internet }) {
        m_linkFields.insert(field);
        field->installEventFilter(this);
    }
}

void FieldBehaviours::listenForEnter(QWidget *control)
{
    m_enterMovesOn.insert(control);
    control->installEventFilter(this);
    // An editable combo's line edit sees the keys of the combo.
    if (auto *combo = qobject_cast<QComboBox *>(control); combo && combo->lineEdit()) {
        m_enterMovesOn.insert(combo->lineEdit());
        combo->lineEdit()->installEventFilter(this);
    }
}

QWidget *FieldBehaviours::nextStop(QWidget *from) const
{
    QWidget *w = from;
    for (;;) {
        w = w->nextInFocusChain();
        if (!w || w == from)
            return nullptr;
        if (w->window() != &form || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus)
            || !w->isEnabled() || !w->isVisibleTo(&form))
            continue;
        return w;
    }
}

bool FieldBehaviours::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnterKey(event)) {
        if (m_enterMovesOn.contains(watched)) {
            auto *control = static_cast<QWidget *>(watched);
            if (control->focusProxy())
                control = control->focusProxy();
            if (QWidget *next = nextStop(control))
                next->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (watched == &form) {
            // A focused button is pressed by Enter as by the space bar.
            QWidget *focus = QApplication::focusWidget();
            auto *button = qobject_cast<QAbstractButton *>(focus);
            if (button
                && (qobject_cast<QPushButton *>(button) || qobject_cast<QToolButton *>(button))
                && button->window() == &form && button->isEnabled())
                button->click();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick && m_linkFields.contains(watched)) {
        auto *field = static_cast<QLineEdit *>(watched);
        LinkField_DblClick(*field,
                           field == form.ad_internet ? QStringLiteral("http://")
                                                     : QStringLiteral("mailto:"));
    }
    return QObject::eventFilter(watched, event);
}

void FieldBehaviours::DateLabel_Click(DateLabel &label, bool withWeekday)
{
    ctx.guard([&] {
        // A second click cannot start a second calendar.
        label.setEnabled(false);
        const QDate shown = parseGermanDate(label.text());
        ctx.vars.kalender_datum = shown.isValid() ? QVariant(shown) : QVariant(ctx.clock.now());

        Kalender_Form calendar(ctx, &form);
        ctx.ui.runModal(calendar);
        label.setEnabled(true);

        if (!ctx.vars.kalender_abbruch) {
            const QDate chosen = parseGermanDate(ctx.vars.kalender_datum.toString());
            if (!chosen.isValid())
                throw DbError(ErrNo::TypeMismatch, QStringLiteral("Typen unverträglich"));
            label.setText(withWeekday ? formatDateWithWeekday(chosen) : formatDate(chosen));
        } else {
            ctx.vars.kalender_datum = QString();
        }
    });
}

void FieldBehaviours::LinkField_DblClick(QLineEdit &field, const QString &scheme)
{
    ctx.guard([&] {
        // The typed text only ever becomes an address for the desktop to open; it is never
        // part of a command line.
        ctx.ui.openUrl(QUrl(scheme + field.text(), QUrl::TolerantMode));
    });
}

void FieldBehaviours::PlaceButton_Click(const QString &aufruf)
{
    ctx.guard([&] {
        if (const auto chosen = choosePostalPlace(ctx, &form))
            takePostalPlace(aufruf, *chosen);
    });
}

namespace {
// Fills a field only while it is empty and there is something to put in.
void complete(QLineEdit &field, const QString &value)
{
    if (field.text().isEmpty() && !value.isEmpty())
        FieldLimit::showWhole(field, value);
}
} // namespace

void FieldBehaviours::takePostalPlace(const QString &aufruf, const PostalPlace &chosen)
{
    // The area code starts a telephone number; the user types the rest.
    const QString dialling = chosen.dialCode + QStringLiteral(" / ");
    if (aufruf == QLatin1String("lauf_ort")) {
        FieldLimit::showWhole(*form.ad_t_lauf_ort, chosen.town);
        complete(*form.ad_ort, chosen.town);
        complete(*form.ad_plz, chosen.postcode);
        if (!chosen.dialCode.isEmpty()) {
            complete(*form.ad_direkt, dialling);
            complete(*form.ad_telefon1, dialling);
            complete(*form.ad_fax, dialling);
        }
        return;
    }
    FieldLimit::showWhole(*form.ad_ort, chosen.town);
    FieldLimit::showWhole(*form.ad_plz, chosen.postcode);
    FieldLimit::showWhole(*form.ad_direkt, dialling);
}
