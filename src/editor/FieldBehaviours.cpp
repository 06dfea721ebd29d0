#include "editor/FieldBehaviours.h"

#include "calendar/CalendarDialog.h"
#include "common/GermanText.h"
#include "context/AppContext.h"
#include "editor/DateLabel.h"
#include "editor/RaceEditor.h"
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

FieldBehaviours::FieldBehaviours(AppContext &ctx, RaceEditor &form)
    : m_ctx(ctx)
    , m_form(form)
{
    RaceEditor &f = m_form;
    for (QWidget *field : f.fieldStops())
        listenForEnter(field);
    QList<QAbstractButton *> distances;
    for (const auto &[index, option] : f.ad_o_strecke)
        distances << option;
    makeOneTabStop(distances);
    // Enter that no control took (a field without the rule, a button) ends here, so the
    // dialog never presses a button for it.
    m_form.installEventFilter(this);

    const std::pair<DateLabel *, bool> dates[] = {
        { f.ad_l_lauf_datum, true },  { f.ad_l_angemeldet, true }, { f.ad_l_start1, false },
        { f.ad_l_start2, false },     { f.ad_l_start3, false },    { f.ad_l_alarm, true },
        { f.ad_l_ueberwiesen, true },
    };
    for (const auto &[label, withWeekday] : dates)
        connect(label, &DateLabel::clicked, this, [this, label = label, withWeekday = withWeekday] {
            onDateLabelClicked(*label, withWeekday);
        });

    connect(f.ad_c_lauf_ort, &QToolButton::clicked, this,
            [this] { onPlaceButtonClicked(QStringLiteral("lauf_ort")); });
    // Postcode and place of the contact person come from the same directory entry.
    for (QToolButton *button : { f.ad_c_plz, f.ad_c_ort })
        connect(button, &QToolButton::clicked, this,
                [this] { onPlaceButtonClicked(QStringLiteral("ort")); });

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
        if (w->window() != &m_form || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus)
            || !w->isEnabled() || !w->isVisibleTo(&m_form))
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
        if (watched == &m_form) {
            // A focused button is pressed by Enter as by the space bar.
            QWidget *focus = QApplication::focusWidget();
            auto *button = qobject_cast<QAbstractButton *>(focus);
            if (button
                && (qobject_cast<QPushButton *>(button) || qobject_cast<QToolButton *>(button))
                && button->window() == &m_form && button->isEnabled())
                button->click();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick && m_linkFields.contains(watched)) {
        auto *field = static_cast<QLineEdit *>(watched);
        openLink(*field,
                 field == m_form.ad_internet ? QStringLiteral("http://")
                                             : QStringLiteral("mailto:"));
    }
    return QObject::eventFilter(watched, event);
}

void FieldBehaviours::onDateLabelClicked(DateLabel &label, bool withWeekday)
{
    m_ctx.guard([&] {
        // A second click cannot start a second calendar.
        label.setEnabled(false);
        // A label without a date opens the calendar on today.
        const std::optional<QDate> chosen
            = chooseDate(m_ctx, &m_form, parseGermanDate(label.text()));
        label.setEnabled(true);
        if (chosen)
            label.setText(withWeekday ? formatDateWithWeekday(*chosen) : formatDate(*chosen));
    });
}

void FieldBehaviours::openLink(QLineEdit &field, const QString &scheme)
{
    m_ctx.guard([&] {
        // The typed text only ever becomes an address for the desktop to open; it is never
        // part of a command line.
        m_ctx.ui.openUrl(QUrl(scheme + field.text(), QUrl::TolerantMode));
    });
}

void FieldBehaviours::onPlaceButtonClicked(const QString &aufruf)
{
    m_ctx.guard([&] {
        if (const auto chosen = choosePostalPlace(m_ctx, &m_form))
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
        FieldLimit::showWhole(*m_form.ad_t_lauf_ort, chosen.town);
        complete(*m_form.ad_ort, chosen.town);
        complete(*m_form.ad_plz, chosen.postcode);
        if (!chosen.dialCode.isEmpty()) {
            complete(*m_form.ad_direkt, dialling);
            complete(*m_form.ad_telefon1, dialling);
            complete(*m_form.ad_fax, dialling);
        }
        return;
    }
    FieldLimit::showWhole(*m_form.ad_ort, chosen.town);
    FieldLimit::showWhole(*m_form.ad_plz, chosen.postcode);
    FieldLimit::showWhole(*m_form.ad_direkt, dialling);
}
