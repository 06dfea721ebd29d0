#include "calendar/CalendarDialog.h"

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

std::optional<QDate> chooseDate(AppContext &ctx, QWidget *parent, const QDate &shown)
{
    CalendarDialog calendar(ctx, shown, parent);
    ctx.ui.runModal(calendar);
    return calendar.chosenDate();
}

CalendarDialog::CalendarDialog(AppContext &ctx, const QDate &shown, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    load(shown);
}

void CalendarDialog::load(const QDate &shown)
{
    m_ctx.guard([this, shown] {
        // No date, or one the calendar cannot show: today.
        setCurrentDate(inRange(shown) ? shown : m_ctx.clock.today());
        for (int i = 0; i < CellCount; ++i)
            paintCell(i, false);
        showMonth();

        k_t_tag->setText(QString::number(m_date.day()));
        k_t_monat->setText(QString::number(m_date.month()));
        k_t_jahr->setText(QString::number(m_date.year()));

        k_k_ausw_tag->setCurrentIndex(12); // 13
        k_k_ausw_monat->setCurrentIndex(0); // "egal"
        k_k_ausw_wotag->setCurrentIndex(5); // "Freitag"

        onLessClicked();
    });
}

void CalendarDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        onFirstShown();
    }
}

void CalendarDialog::onFirstShown()
{
    showMonth();
}

void CalendarDialog::setCurrentDate(const QDate &date)
{
    m_date = date;
}

void CalendarDialog::paintCell(int cell, bool marked)
{
    DayCell *c = k_l_tage[cell];
    QPalette p = palette();
    p.setColor(QPalette::Window, marked ? QColor(0, 255, 255) : p.color(QPalette::Button));
    c->setPalette(p);
    c->setFrameShape(marked ? QFrame::Box : QFrame::NoFrame);
    c->setAccessibleDescription(marked ? QStringLiteral("Tag, ausgewählt") : QStringLiteral("Tag"));
}

void CalendarDialog::markCell(int cell)
{
    paintCell(cell, true);
    m_marked = cell;
}

void CalendarDialog::unmarkCell()
{
    if (m_selectedCell < 0 || m_selectedCell >= CellCount)
        return;
    paintCell(m_selectedCell, false);
    m_marked = -1;
}

void CalendarDialog::showMonth()
{
    unmarkCell();
    for (DayCell *cell : k_l_tage) {
        cell->clear();
        cell->setAccessibleName(QString());
    }
    const int length = monthLength(m_date.year(), m_date.month());
    for (int day = 1; day <= length; ++day) {
        DayCell *cell = k_l_tage[cellOfDay(m_date, day)];
        cell->setText(QString::number(day));
        cell->setAccessibleName(formatDateWithWeekday(QDate(m_date.year(), m_date.month(), day)));
    }
    m_selectedCell = cellOfDay(m_date, m_date.day());
    markCell(m_selectedCell);
    setCurrentDate(m_date);

    // The bars follow the date; moving them here is no user's choice.
    const QSignalBlocker blockMonth(k_sh_monat);
    const QSignalBlocker blockYear(k_sh_jahr);
    k_sh_monat->setValue(m_date.month());
    k_sh_jahr->setValue(m_date.year());
    showHeading();
}

void CalendarDialog::showHeading()
{
    m_ctx.guard([this] {
        k_l_datum_anzeige->setText(headerText(m_date));
        k_l_datum_anzeige->setAccessibleName(k_l_datum_anzeige->text());
        const std::array<int, RowCount> weeks = weekNumbers(m_date);
        for (int r = 0; r < RowCount; ++r) {
            const QString text
                = r == 0 && weeks[r] == 0 ? QString() : QString::number(weeks[r]) + u'.';
            k_l_kw[r]->setText(text);
            k_l_kw[r]->setAccessibleName(text);
        }
    });
}

void CalendarDialog::onMonthScrolled(int month)
{
    setCurrentDate(withMonth(m_date, month));
    showMonth();
}

void CalendarDialog::onYearScrolled(int year)
{
    setCurrentDate(withYear(m_date, year));
    showMonth();
}

void CalendarDialog::onDayPressed(int index)
{
    unmarkCell();
    const int day = dayInCell(m_date, index);
    if (day != 0) {
        markCell(index);
        setCurrentDate(QDate(m_date.year(), m_date.month(), day));
        showHeading();
        // The drag carries this day; a drop takes the last clicked day, whichever cell moved.
        k_l_tage[index]->armDrag(formatDate(m_date));
    }
    m_selectedCell = index;
}

void CalendarDialog::onDayDoubleClicked(int)
{
    // The first click of the double click has already chosen the day.
    onOkClicked();
}

void CalendarDialog::onDayDropped(int target, const QString &dateText)
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

void CalendarDialog::onTodayClicked()
{
    unmarkCell();
    setCurrentDate(m_ctx.clock.today());
    showMonth();
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

void CalendarDialog::onDayTyped()
{
    const long long n = leadingNumber(k_t_tag->text());
    showNumber(k_t_tag, n > 31 ? m_date.day() : n);
}

void CalendarDialog::onMonthTyped()
{
    const long long n = leadingNumber(k_t_monat->text());
    showNumber(k_t_monat, n > 12 ? m_date.month() : n);
}

void CalendarDialog::onYearTyped()
{
    const long long n = leadingNumber(k_t_jahr->text());
    showNumber(k_t_jahr, n == 0 ? m_date.year() : n);
}

void CalendarDialog::onShowTypedDateClicked()
{
    unmarkCell();
    const QDate typed
        = directInput(int(leadingNumber(k_t_tag->text())), int(leadingNumber(k_t_monat->text())),
                      int(leadingNumber(k_t_jahr->text())));
    setCurrentDate(typed.isValid() ? typed : m_ctx.clock.today());
    showMonth();
}

void CalendarDialog::onStepDaysClicked()
{
    unmarkCell();
    long long n = leadingNumber(k_t_in_vor->text(), true);
    if (k_o_vor->isChecked() && n > 0)
        n = -n;
    if (k_o_in->isChecked())
        n = std::llabs(n);
    k_t_in_vor->setText(QString::number(n));

    if (const std::optional<QDate> moved = addDays(m_date, n)) {
        setCurrentDate(*moved);
    } else {
        m_notice = rangeMessage();
        showInformation(m_notice);
        setCurrentDate(m_ctx.clock.today());
    }
    showMonth();
}

void CalendarDialog::onWeekdaySearchClicked()
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
        m_notice = refusal;
        busy.release();
        showInformation(m_notice);
        return;
    }
    const std::optional<QDate> found = findWeekday(m_date, search);
    busy.release();
    if (found) {
        setCurrentDate(*found);
    } else {
        // No such date before the end of the calendar: keep the date and say why.
        m_notice = rangeMessage();
        showInformation(m_notice);
    }
    showMonth();
}

void CalendarDialog::onOkClicked()
{
    m_chosen = m_date;
    accept();
}

void CalendarDialog::onCancelClicked()
{
    m_chosen.reset();
    QDialog::reject();
}

void CalendarDialog::reject()
{
    onCancelClicked();
}

void CalendarDialog::onMoreClicked()
{
    setFixedSize(largeSize());
    for (QWidget *w : std::as_const(m_largeOnly))
        w->show();
    k_c_weniger->setFocus();
    k_c_mehr->hide();
}

void CalendarDialog::onLessClicked()
{
    for (QWidget *w : std::as_const(m_largeOnly))
        w->hide();
    setFixedSize(smallSize());
    k_c_mehr->show();
    if (isVisible())
        k_c_mehr->setFocus();
}

void CalendarDialog::onHelpClicked()
{
    showInformation(helpText());
}

void CalendarDialog::showInformation(const QString &text)
{
    m_ctx.ui.message(text, Ui::Icon::Information, Ui::Buttons::Ok);
}
