#pragma once

#include "calendar/CalendarRules.h"

#include <QDate>
#include <QDialog>
#include <QList>

#include <array>
#include <optional>

class AppContext;
class DayCell;
class DayDropLabel;
class FormBuilder;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;
class SelectAllEdit;

// Asks for a date in the modal calendar, opened on `shown` (today when that is no date the
// calendar can show). Nothing when the user cancels.
std::optional<QDate> chooseDate(AppContext &ctx, QWidget *parent, const QDate &shown);

// The modal date picker; chooseDate() opens it and hands back the date taken with OK.
class CalendarDialog final : public QDialog
{
    Q_OBJECT
public:
    CalendarDialog(AppContext &ctx, const QDate &shown, QWidget *parent = nullptr);

    // Client sizes of the two window sizes.
    static QSize smallSize();
    static QSize largeSize();

    // Grid area
    QLabel *k_l_datum_anzeige = nullptr;
    std::array<QLabel *, 7> k_l_wotag {}; // k_l_wotag(1) "Mo" .. k_l_wotag(7) "So"
    QLabel *k_l_kw_titel = nullptr;
    std::array<DayCell *, CalendarRules::CellCount> k_l_tage {};
    std::array<QLabel *, CalendarRules::RowCount> k_l_kw {};
    QScrollBar *k_sh_monat = nullptr;
    QScrollBar *k_sh_jahr = nullptr;
    QPushButton *k_c_heute = nullptr;

    // Direct input, step by days, date difference
    SelectAllEdit *k_t_tag = nullptr;
    SelectAllEdit *k_t_monat = nullptr;
    SelectAllEdit *k_t_jahr = nullptr;
    QPushButton *k_c_zeigen1 = nullptr;
    QRadioButton *k_o_in = nullptr;
    QRadioButton *k_o_vor = nullptr;
    QLineEdit *k_t_in_vor = nullptr;
    QPushButton *k_c_zeigen2 = nullptr;
    DayDropLabel *k_l_datdiff_1 = nullptr;
    DayDropLabel *k_l_datdiff_2 = nullptr;
    QLabel *k_l_datdiff = nullptr;

    // Weekday search
    QRadioButton *k_o_naechstes = nullptr;
    QRadioButton *k_o_letztes = nullptr;
    QComboBox *k_k_ausw_tag = nullptr;
    QComboBox *k_k_ausw_monat = nullptr;
    QComboBox *k_k_ausw_wotag = nullptr;
    QPushButton *k_c_zeigen3 = nullptr;

    QPushButton *k_c_ok = nullptr;
    QPushButton *k_c_abbruch = nullptr;
    QPushButton *k_c_mehr = nullptr;
    QPushButton *k_c_weniger = nullptr;
    QToolButton *hilfe = nullptr;

    // The current date of the window.
    QDate currentDate() const { return m_date; }
    // The date taken with OK; nothing while the window is open or after cancelling.
    std::optional<QDate> chosenDate() const { return m_chosen; }
    // Index of the marked cell, or -1 when none is marked.
    int markedCell() const { return m_marked; }

    // Closing by Escape or by the title bar's close box cancels like "&Abbrechen".
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildForm();
    void buildMonthGrid(FormBuilder &b);
    void buildMonthBars(FormBuilder &b);
    void buildCommands(FormBuilder &b);
    void buildDirectInput(FormBuilder &b);
    void buildDayStep(FormBuilder &b);
    void buildDifference(FormBuilder &b);
    void buildHelp(FormBuilder &b);
    void buildWeekdaySearch(FormBuilder &b);
    void load(const QDate &shown);
    void onFirstShown();

    void showMonth();
    void showHeading();
    void paintCell(int cell, bool marked);
    void markCell(int cell);
    void unmarkCell();
    void setCurrentDate(const QDate &date);

    void onMonthScrolled(int month);
    void onYearScrolled(int year);
    void onDayPressed(int index);
    void onDayDoubleClicked(int index);
    void onDayDropped(int target, const QString &dateText);
    void onTodayClicked();
    void onDayTyped();
    void onMonthTyped();
    void onYearTyped();
    void onShowTypedDateClicked();
    void onStepDaysClicked();
    void onWeekdaySearchClicked();
    void onOkClicked();
    void onCancelClicked();
    void onMoreClicked();
    void onLessClicked();
    void onHelpClicked();

    void showInformation(const QString &text);

    AppContext &m_ctx;
    QDate m_date;
    std::optional<QDate> m_chosen;
    bool m_activated = false;
    int m_marked = -1;
    QList<QWidget *> m_largeOnly; // controls of the right-hand column and the bottom strip

    // The day cell last pressed, and the last notice shown.
    int m_selectedCell = 0;
    QString m_notice;
};
