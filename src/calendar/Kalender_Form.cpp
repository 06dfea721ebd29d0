#include "calendar/Kalender_Form.h"

#include "calendar/CalendarWidgets.h"
#include "common/BusyPointer.h"
#include "common/GermanText.h"
#include "context/AppContext.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <cstdlib>

using namespace CalendarRules;

namespace {
// The date a caller handed over: a date, a date with time, or a date text.
QDate passedDate(const QVariant &value)
{
    QDate date;
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        date = value.toDate();
        break;
    case QMetaType::QDateTime:
        date = value.toDateTime().date();
        break;
    case QMetaType::QString:
        date = parseGermanDate(value.toString());
        break;
    default:
        break;
    }
    return inRange(date) ? date : QDate();
}

const QString &helpText()
{
    static const QString text = QStringLiteral(
        "So wählen Sie ein Datum:\r\n\r\n"
        "- Klicken Sie auf einen Tag, um ihn auszuwählen. Ein Doppelklick auf einen Tag "
        "übernimmt ihn sofort.\r\n"
        "- Mit den Bildlaufleisten \"Monat\" und \"Jahr\" blättern Sie Monate und Jahre "
        "durch. \"Heute\" springt zum heutigen Datum.\r\n"
        "- \"OK - Datum übernehmen\" (oder die Eingabetaste) übernimmt das gewählte Datum, "
        "\"Abbrechen\" (oder Esc) lässt das bisherige Datum unverändert.\r\n\r\n"
        "Unter \"Mehr >>\" finden Sie außerdem:\r\n"
        "- Direkteingabe: Tag, Monat und Jahr eintippen und \"Zeigen\" drücken.\r\n"
        "- Datum in / oder vor ... Tagen: vom gewählten Datum um so viele Tage vor- oder "
        "zurückblättern.\r\n"
        "- Tagesabstand: einen Tag mit gedrückter Maustaste auf \"Datum1:\" und einen "
        "zweiten auf \"Datum2:\" ziehen; angezeigt wird die Anzahl der Tage dazwischen.\r\n"
        "- Wochentagssuche: das nächste oder letzte Datum finden, an dem z. B. der 13. "
        "ein Freitag ist.");
    return text;
}

} // namespace

Kalender_Form::Kalender_Form(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    Form_Load();
}

void Kalender_Form::Form_Load()
{
    m_ctx.guard([this] {
        const QDate passed = passedDate(m_ctx.vars.kalender_datum);
        const QDate start = passed.isValid() ? passed : m_ctx.clock.today();
        start_datum = formatDate(start);
        setCurrentDate(start);
        for (int i = 0; i < CellCount; ++i)
            paintCell(i, false);
        monat_zeigen();

        k_t_tag->setText(QString::number(m_datum.day()));
        k_t_monat->setText(QString::number(m_datum.month()));
        k_t_jahr->setText(QString::number(m_datum.year()));

        k_k_ausw_tag->setCurrentIndex(12); // 13
        k_k_ausw_monat->setCurrentIndex(0); // "egal"
        k_k_ausw_wotag->setCurrentIndex(5); // "Freitag"

        k_c_weniger_Click();
    });
}

void Kalender_Form::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void Kalender_Form::Form_Activate()
{
    monat_zeigen();
}

void Kalender_Form::setCurrentDate(const QDate &date)
{
    m_datum = date;
    m_ctx.vars.kalender_datum = formatDate(date);
}

void Kalender_Form::paintCell(int cell, bool marked)
{
    DayCell *c = k_l_tage[cell];
    QPalette p = palette();
    p.setColor(QPalette::Window, marked ? QColor(0, 255, 255) : p.color(QPalette::Button));
    c->setPalette(p);
    c->setFrameShape(marked ? QFrame::Box : QFrame::NoFrame);
    c->setAccessibleDescription(marked ? QStringLiteral("Tag, ausgewählt") : QStringLiteral("Tag"));
}

void Kalender_Form::markCell(int cell)
{
    paintCell(cell, true);
    m_marked = cell;
}

void Kalender_Form::unmarkCell()
{
    if (auswahl_zelle < 0 || auswahl_zelle >= CellCount)
        return;
    paintCell(auswahl_zelle, false);
    m_marked = -1;
}

void Kalender_Form::monat_zeigen()
{
    unmarkCell();
    for (DayCell *cell : k_l_tage) {
        cell->clear();
        cell->setAccessibleName(QString());
    }
    const int length = monthLength(m_datum.year(), m_datum.month());
    for (int day = 1; day <= length; ++day) {
        DayCell *cell = k_l_tage[cellOfDay(m_datum, day)];
        cell->setText(QString::number(day));
        cell->setAccessibleName(formatDateWithWeekday(QDate(m_datum.year(), m_datum.month(), day)));
    }
    auswahl_zelle = cellOfDay(m_datum, m_datum.day());
    markCell(auswahl_zelle);
    setCurrentDate(m_datum);

    // The bars follow the date; moving them here is no user's choice.
    const QSignalBlocker blockMonth(k_sh_monat);
    const QSignalBlocker blockYear(k_sh_jahr);
    k_sh_monat->setValue(m_datum.month());
    k_sh_jahr->setValue(m_datum.year());
    kopf_zeigen();
}

void Kalender_Form::kopf_zeigen()
{
    m_ctx.guard([this] {
        k_l_datum_anzeige->setText(headerText(m_datum));
        k_l_datum_anzeige->setAccessibleName(k_l_datum_anzeige->text());
        const std::array<int, RowCount> weeks = weekNumbers(m_datum);
        for (int r = 0; r < RowCount; ++r) {
            const QString text
                = r == 0 && weeks[r] == 0 ? QString() : QString::number(weeks[r]) + u'.';
            k_l_kw[r]->setText(text);
            k_l_kw[r]->setAccessibleName(text);
        }
    });
}

void Kalender_Form::k_sh_monat_Change(int month)
{
    setCurrentDate(withMonth(m_datum, month));
    monat_zeigen();
}

void Kalender_Form::k_sh_jahr_Change(int year)
{
    setCurrentDate(withYear(m_datum, year));
    monat_zeigen();
}

void Kalender_Form::k_l_tage_MouseDown(int index)
{
    unmarkCell();
    const int day = dayInCell(m_datum, index);
    if (day != 0) {
        markCell(index);
        setCurrentDate(QDate(m_datum.year(), m_datum.month(), day));
        kopf_zeigen();
        // The drag carries this day; a drop takes the last clicked day, whichever cell moved.
        k_l_tage[index]->armDrag(formatDate(m_datum));
    }
    auswahl_zelle = index;
}

void Kalender_Form::k_l_tage_DblClick(int)
{
    // The first click of the double click has already chosen the day.
    k_c_ok_Click();
}

void Kalender_Form::k_l_datdiff_DragDrop(int target, const QString &dateText)
{
    const QDate dropped = parseGermanDate(dateText);
    if (!dropped.isValid())
        return;
    DayDropLabel *label = target == 1 ? k_l_datdiff_1 : k_l_datdiff_2;
    label->setText(formatDate(dropped));
    label->setAccessibleName(label->text());

    const QDate first = parseGermanDate(k_l_datdiff_1->text());
    const QDate second = parseGermanDate(k_l_datdiff_2->text());
    if (first.isValid() && second.isValid()) {
        k_l_datdiff->setText(QString::number(difference(first, second)));
        k_l_datdiff->setAccessibleName(k_l_datdiff->text());
    }
}

void Kalender_Form::k_c_heute_Click()
{
    unmarkCell();
    setCurrentDate(m_ctx.clock.today());
    monat_zeigen();
}

namespace {
// Puts the field's number back as its text, leaving the cursor alone when nothing changes.
void showNumber(QLineEdit *field, long long n)
{
    const QString text = QString::number(n);
    if (field->text() != text)
        field->setText(text);
}
} // namespace

void Kalender_Form::k_t_tag_Change()
{
    const long long n = leadingNumber(k_t_tag->text());
    showNumber(k_t_tag, n > 31 ? m_datum.day() : n);
}

void Kalender_Form::k_t_monat_Change()
{
    const long long n = leadingNumber(k_t_monat->text());
    showNumber(k_t_monat, n > 12 ? m_datum.month() : n);
}

void Kalender_Form::k_t_jahr_Change()
{
    const long long n = leadingNumber(k_t_jahr->text());
    showNumber(k_t_jahr, n == 0 ? m_datum.year() : n);
}

void Kalender_Form::k_c_zeigen1_Click()
{
    unmarkCell();
    const QDate typed
        = directInput(int(leadingNumber(k_t_tag->text())), int(leadingNumber(k_t_monat->text())),
                      int(leadingNumber(k_t_jahr->text())));
    setCurrentDate(typed.isValid() ? typed : m_ctx.clock.today());
    monat_zeigen();
}

void Kalender_Form::k_c_zeigen2_Click()
{
    unmarkCell();
    long long n = leadingNumber(k_t_in_vor->text(), true);
    if (k_o_vor->isChecked() && n > 0)
        n = -n;
    if (k_o_in->isChecked())
        n = std::llabs(n);
    k_t_in_vor->setText(QString::number(n));

    if (const std::optional<QDate> moved = addDays(m_datum, n)) {
        setCurrentDate(*moved);
    } else {
        hinweis = rangeMessage();
        showInformation(hinweis);
        setCurrentDate(m_ctx.clock.today());
    }
    monat_zeigen();
}

void Kalender_Form::k_c_zeigen3_Click()
{
    unmarkCell();
    BusyPointer busy(m_ctx.ui);
    WeekdaySearch search;
    search.direction = k_o_letztes->isChecked() ? -1 : 1;
    search.month = k_k_ausw_monat->currentIndex();
    search.day = k_k_ausw_tag->currentIndex() + 1;
    search.weekday = k_k_ausw_wotag->currentIndex() + 1;

    const QString refusal = impossibleSearch(search);
    if (!refusal.isEmpty()) {
        hinweis = refusal;
        busy.release();
        showInformation(hinweis);
        return;
    }
    const std::optional<QDate> found = findWeekday(m_datum, search);
    busy.release();
    if (found) {
        setCurrentDate(*found);
    } else {
        // No such date before the end of the calendar: keep the date and say why.
        hinweis = rangeMessage();
        showInformation(hinweis);
    }
    monat_zeigen();
}

void Kalender_Form::k_c_ok_Click()
{
    m_ctx.guard([this] {
        m_ctx.vars.kalender_abbruch = false;
        setCurrentDate(m_datum);
    });
    accept();
}

void Kalender_Form::k_c_abbruch_Click()
{
    m_ctx.guard([this] {
        m_ctx.vars.kalender_datum = start_datum;
        m_ctx.vars.kalender_abbruch = true;
    });
    QDialog::reject();
}

void Kalender_Form::reject()
{
    k_c_abbruch_Click();
}

void Kalender_Form::k_c_mehr_Click()
{
    setFixedSize(largeSize());
    for (QWidget *w : std::as_const(m_largeOnly))
        w->show();
    k_c_weniger->setFocus();
    k_c_mehr->hide();
}

void Kalender_Form::k_c_weniger_Click()
{
    for (QWidget *w : std::as_const(m_largeOnly))
        w->hide();
    setFixedSize(smallSize());
    k_c_mehr->show();
    if (isVisible())
        k_c_mehr->setFocus();
}

void Kalender_Form::hilfe_Click()
{
    showInformation(helpText());
}

void Kalender_Form::showInformation(const QString &text)
{
    m_ctx.ui.message(text, Ui::Icon::Information, Ui::Buttons::Ok);
}
