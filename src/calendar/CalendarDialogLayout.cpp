// SPDX-License-Identifier: GPL-3.0-or-later
// Widgets and their places; the behaviour is in CalendarDialog.cpp.
#include "calendar/CalendarDialog.h"

#include "calendar/CalendarWidgets.h"
#include "common/GermanText.h"
#include "ui/FormBuilder.h"
#include "ui/Style.h"
#include "ui/Twips.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>

namespace {
constexpr int kGridLeft = 390;
constexpr int kGridTop = 720;
constexpr int kPitch = 360;
constexpr int kCell = 315;
constexpr int kWeekendGap = 135; // Saturday and Sunday stand apart from the working days
constexpr int kRightColumn = 4110;
constexpr int kRightWidth = 2190;

int columnLeft(int column)
{
    return kGridLeft + column * kPitch + (column >= 5 ? kWeekendGap : 0);
}

int rowTop(int row)
{
    return kGridTop + row * kPitch;
}

// The week numbers stand right of Sunday, as far off as the weekend from the working days.
int weekNumberLeft()
{
    return columnLeft(6) + kCell + kWeekendGap;
}

QString indexedName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

QSize CalendarDialog::smallSize()
{
    return twSize(3990, 4995);
}

QSize CalendarDialog::largeSize()
{
    return twSize(6415, 5895);
}

void CalendarDialog::buildForm()
{
    setObjectName(QStringLiteral("Kalender_Form"));
    setWindowTitle(QStringLiteral("Kalender"));
    setModal(true);

    FormBuilder always(this);
    // No text fields to move between: Enter presses the button that has the focus.
    always.enterPressesFocusedButton();
    FormBuilder largeOnly = always;
    largeOnly.collectInto(&m_largeOnly);
    buildMonthGrid(always);
    buildMonthBars(always);
    buildCommands(always);
    buildDirectInput(largeOnly);
    buildDayStep(largeOnly);
    buildDifference(largeOnly);
    buildHelp(largeOnly);
    buildWeekdaySearch(largeOnly);
}

namespace {
void describeValue(QLabel *l, const QString &description)
{
    l->setAccessibleName(l->text());
    l->setAccessibleDescription(description);
}

// The "Zeigen" buttons at the right edge, each for the row it stands in.
QPushButton *showButton(FormBuilder &b, const QString &name, int top, const QString &description)
{
    QPushButton *button = b.button(name, QStringLiteral("Zeigen"), { 5550, top, 750, 345 });
    button->setAccessibleDescription(description);
    return button;
}

struct BarRange
{
    int minimum;
    int maximum;
    int pageStep;
};

// A bar that steps the month or the year, under its centred caption.
QScrollBar *dateBar(FormBuilder &b, const QString &caption, const QString &name, int top,
                    const QString &meaning, const BarRange &range)
{
    QLabel *label = b.label(caption, { kGridLeft, top, 2415, 225 });
    label->setAlignment(Qt::AlignCenter);
    auto *bar = b.make<DateScrollBar>(name, { kGridLeft, top + 225, 2415, 255 }, Qt::Horizontal);
    bar->setRange(range.minimum, range.maximum);
    bar->setPageStep(range.pageStep);
    label->setBuddy(bar);
    bar->setAccessibleName(meaning);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

QFont enlarged(QFont font, qreal factor)
{
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}
} // namespace

// Header, weekday captions, the 37 day cells and the week numbers beside the six rows.
void CalendarDialog::buildMonthGrid(FormBuilder &b)
{
    k_l_datum_anzeige
        = b.label({}, { kGridLeft, 90, 3195, 330 }, nullptr, QStringLiteral("k_l_datum_anzeige"));
    k_l_datum_anzeige->setAlignment(Qt::AlignCenter);
    k_l_datum_anzeige->setFont(enlarged(k_l_datum_anzeige->font(), 1.2));
    describeValue(k_l_datum_anzeige, QStringLiteral("Gewähltes Datum"));

    for (int c = 0; c < 7; ++c) {
        QLabel *l = b.label(weekdayShort(c + 1), { columnLeft(c), 465, kCell, 240 }, nullptr,
                            indexedName("k_l_wotag", c + 1));
        l->setAlignment(Qt::AlignCenter);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        if (c >= 5) {
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, QColor(255, 0, 0));
            l->setPalette(p);
        }
        k_l_wotag[c] = l;
    }
    k_l_kw_titel = b.label(QStringLiteral("KW"), { weekNumberLeft(), 465, 450, 240 }, nullptr,
                           QStringLiteral("k_l_kw_titel"));
    k_l_kw_titel->setAlignment(Qt::AlignCenter);

    for (int i = 0; i < CalendarRules::CellCount; ++i) {
        auto *cell = b.make<DayCell>(indexedName("k_l_tage", i),
                                     { columnLeft(i % 7), rowTop(i / 7), kCell, kCell }, i);
        cell->setAlignment(Qt::AlignCenter);
        cell->setAutoFillBackground(true);
        connect(cell, &DayCell::pressed, this, &CalendarDialog::onDayPressed);
        connect(cell, &DayCell::doubleClicked, this, &CalendarDialog::onDayDoubleClicked);
        k_l_tage[i] = cell;
    }
    for (int r = 0; r < CalendarRules::RowCount; ++r) {
        QLabel *l = b.label({}, { weekNumberLeft(), rowTop(r), 450, kCell }, nullptr,
                            indexedName("k_l_kw", r));
        l->setAlignment(Qt::AlignCenter);
        l->setAccessibleDescription(QStringLiteral("Kalenderwoche"));
        k_l_kw[r] = l;
    }
}

// Month and year bars with "Heute" beside them.
void CalendarDialog::buildMonthBars(FormBuilder &b)
{
    k_sh_monat = dateBar(b, QStringLiteral("<< Monat >>"), QStringLiteral("k_sh_monat"), 2955,
                         QStringLiteral("Monat"), { 1, 12, 3 });
    k_sh_jahr = dateBar(b, QStringLiteral("<< Jahr >>"), QStringLiteral("k_sh_jahr"), 3495,
                        QStringLiteral("Jahr"), { 100, 9999, 5 });
    connect(k_sh_monat, &QScrollBar::valueChanged, this, &CalendarDialog::onMonthScrolled);
    connect(k_sh_jahr, &QScrollBar::valueChanged, this, &CalendarDialog::onYearScrolled);

    k_c_heute
        = b.button(QStringLiteral("k_c_heute"), QStringLiteral("Heute"), { 2940, 3180, 645, 795 });
    connect(k_c_heute, &QPushButton::clicked, this, &CalendarDialog::onTodayClicked);
}

// Accept, cancel and the switch to the large window; the small window is only these and the
// month.
void CalendarDialog::buildCommands(FormBuilder &b)
{
    k_c_ok = b.button(QStringLiteral("k_c_ok"), QStringLiteral("&OK - Datum übernehmen"),
                      { kGridLeft, 4110, 3195, 375 }, Style::LightGreen);
    k_c_ok->setDefault(true);
    connect(k_c_ok, &QPushButton::clicked, this, &CalendarDialog::onOkClicked);
    k_c_abbruch = b.button(QStringLiteral("k_c_abbruch"), QStringLiteral("&Abbrechen"),
                           { kGridLeft, 4560, 1530, 375 }, Style::LightRed);
    connect(k_c_abbruch, &QPushButton::clicked, this, &CalendarDialog::onCancelClicked);
    k_c_mehr = b.button(QStringLiteral("k_c_mehr"), QStringLiteral("&Mehr >>"),
                        { 2055, 4560, 1530, 375 });
    connect(k_c_mehr, &QPushButton::clicked, this, &CalendarDialog::onMoreClicked);
}

// Right-hand column: a date typed in as day, month and year.
void CalendarDialog::buildDirectInput(FormBuilder &b)
{
    QLabel *direct
        = b.label(QStringLiteral("Direkteingabe:"), { kRightColumn, 90, kRightWidth, 240 });
    auto numberField = [&b](const QString &name, int maxLength, const TwBox &box,
                            const QString &accessibleName) {
        auto *e = b.make<SelectAllEdit>(name, box);
        e->setMaxLength(maxLength);
        e->setAlignment(Qt::AlignRight);
        e->setAccessibleName(accessibleName);
        return e;
    };
    k_t_tag = numberField(QStringLiteral("k_t_tag"), 2, { kRightColumn, 360, 330, 315 },
                          QStringLiteral("Tag"));
    direct->setBuddy(k_t_tag);
    b.label(QStringLiteral("."), { 4440, 360, 90, 315 })->setAlignment(Qt::AlignCenter);
    k_t_monat = numberField(QStringLiteral("k_t_monat"), 2, { 4530, 360, 330, 315 },
                            QStringLiteral("Monat"));
    b.label(QStringLiteral("."), { 4860, 360, 90, 315 })->setAlignment(Qt::AlignCenter);
    k_t_jahr = numberField(QStringLiteral("k_t_jahr"), 4, { 4950, 360, 510, 315 },
                           QStringLiteral("Jahr"));
    connect(k_t_tag, &QLineEdit::textEdited, this, &CalendarDialog::onDayTyped);
    connect(k_t_monat, &QLineEdit::textEdited, this, &CalendarDialog::onMonthTyped);
    connect(k_t_jahr, &QLineEdit::textEdited, this, &CalendarDialog::onYearTyped);
    k_c_zeigen1 = showButton(b, QStringLiteral("k_c_zeigen1"), 345,
                             QStringLiteral("Eingegebenes Datum zeigen"));
    connect(k_c_zeigen1, &QPushButton::clicked, this, &CalendarDialog::onShowTypedDateClicked);

    b.panel({}, { kRightColumn, 795, kRightWidth, 30 }, QFrame::HLine);
}

// Step by a number of days, forward or back.
void CalendarDialog::buildDayStep(FormBuilder &b)
{
    k_o_in = b.option(QStringLiteral("k_o_in"), QStringLiteral("Datum in"),
                      { kRightColumn, 870, kRightWidth, 255 });
    k_o_vor = b.option(QStringLiteral("k_o_vor"), QStringLiteral("oder vor"),
                       { kRightColumn, 1140, kRightWidth, 255 });
    auto *stepGroup = new QButtonGroup(this);
    stepGroup->addButton(k_o_in);
    stepGroup->addButton(k_o_vor);
    k_t_in_vor = b.make<QLineEdit>(QStringLiteral("k_t_in_vor"), { kRightColumn, 1440, 690, 315 });
    k_t_in_vor->setMaxLength(6);
    k_t_in_vor->setAlignment(Qt::AlignRight);
    b.label(QStringLiteral("Tagen"), { 4860, 1440, 630, 315 }, k_t_in_vor);
    k_t_in_vor->setAccessibleName(QStringLiteral("Anzahl der Tage"));
    k_c_zeigen2 = showButton(b, QStringLiteral("k_c_zeigen2"), 1425,
                             QStringLiteral("Um die Anzahl der Tage weiterblättern"));
    connect(k_c_zeigen2, &QPushButton::clicked, this, &CalendarDialog::onStepDaysClicked);

    b.panel({}, { kRightColumn, 1875, kRightWidth, 30 }, QFrame::HLine);
}

// Date difference: days are dragged out of the grid onto the two drop labels.
void CalendarDialog::buildDifference(FormBuilder &b)
{
    QLabel *between = b.label(QStringLiteral("Anzahl der Tage zwischen"),
                              { kRightColumn, 1950, kRightWidth, 450 });
    between->setWordWrap(true);
    auto dropLabel = [&b](const QString &name, int top, const QString &description) {
        auto *l
            = b.make<DayDropLabel>(name, { 4905, top, 1395, 315 }, QStringLiteral("hier ablegen"));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setAcceptDrops(true);
        describeValue(l, description);
        return l;
    };
    b.label(QStringLiteral("Datum1:"), { kRightColumn, 2430, 795, 315 });
    k_l_datdiff_1 = dropLabel(QStringLiteral("k_l_datdiff_1"), 2430, QStringLiteral("Datum1"));
    b.label(QStringLiteral("und"), { kRightColumn, 2790, 795, 240 });
    b.label(QStringLiteral("Datum2:"), { kRightColumn, 3060, 795, 315 });
    k_l_datdiff_2 = dropLabel(QStringLiteral("k_l_datdiff_2"), 3060, QStringLiteral("Datum2"));
    connect(k_l_datdiff_1, &DayDropLabel::dayDropped, this,
            [this](const QString &text) { onDayDropped(1, text); });
    connect(k_l_datdiff_2, &DayDropLabel::dayDropped, this,
            [this](const QString &text) { onDayDropped(2, text); });
    b.label(QStringLiteral("beträgt:"), { kRightColumn, 3450, 795, 315 });
    k_l_datdiff = b.label({}, { 4905, 3450, 855, 315 }, nullptr, QStringLiteral("k_l_datdiff"));
    k_l_datdiff->setFrameShape(QFrame::Panel);
    k_l_datdiff->setFrameShadow(QFrame::Sunken);
    k_l_datdiff->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    describeValue(k_l_datdiff, QStringLiteral("Anzahl der Tage zwischen Datum1 und Datum2"));
    b.label(QStringLiteral("Tage"), { 5805, 3450, 495, 315 });
}

// Help and the way back to the small window.
void CalendarDialog::buildHelp(FormBuilder &b)
{
    hilfe = b.make<QToolButton>(QStringLiteral("hilfe"), { kRightColumn, 4110, 420, 420 });
    hilfe->setText(QStringLiteral("?"));
    hilfe->setFont(enlarged(hilfe->font(), 1.4));
    hilfe->setToolTip(QStringLiteral("Hilfe zu diesem Fenster anzeigen"));
    hilfe->setAccessibleName(QStringLiteral("Hilfe"));
    connect(hilfe, &QToolButton::clicked, this, &CalendarDialog::onHelpClicked);
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, &CalendarDialog::onHelpClicked);

    k_c_weniger = b.button(QStringLiteral("k_c_weniger"), QStringLiteral("<< &Weniger"),
                           { kRightColumn, 4560, kRightWidth, 375 });
    connect(k_c_weniger, &QPushButton::clicked, this, &CalendarDialog::onLessClicked);
}

// Bottom strip: the next or last date on which a day of the month is a given weekday.
void CalendarDialog::buildWeekdaySearch(FormBuilder &b)
{
    k_o_naechstes = b.option(QStringLiteral("k_o_nächstes"), QStringLiteral("nächstes"),
                             { kGridLeft, 5085, 1200, 315 });
    k_o_letztes = b.option(QStringLiteral("k_o_letztes"), QStringLiteral("oder letztes"),
                           { 1620, 5085, 1560, 315 });
    auto *searchGroup = new QButtonGroup(this);
    searchGroup->addButton(k_o_naechstes);
    searchGroup->addButton(k_o_letztes);
    auto combo = [&b](const QString &name, const TwBox &box, const QString &accessibleName) {
        auto *c = b.make<QComboBox>(name, box);
        c->setAccessibleName(accessibleName);
        return c;
    };
    QLabel *sentence = b.label(QStringLiteral("Datum, an dem der"), { 3225, 5085, 1785, 315 });
    k_k_ausw_tag
        = combo(QStringLiteral("k_k_ausw_tag"), { 5025, 5085, 780, 315 }, QStringLiteral("Tag"));
    sentence->setBuddy(k_k_ausw_tag);
    k_k_ausw_monat = combo(QStringLiteral("k_k_ausw_monat"), { kGridLeft, 5475, 1500, 315 },
                           QStringLiteral("Monat"));
    b.label(QStringLiteral("ein"), { 1950, 5475, 300, 315 });
    k_k_ausw_wotag = combo(QStringLiteral("k_k_ausw_wotag"), { 2295, 5475, 1650, 315 },
                           QStringLiteral("Wochentag"));
    b.label(QStringLiteral("ist/war"), { 4005, 5475, 750, 315 });
    // After the choices it acts on, also in the tab order.
    k_c_zeigen3 = showButton(b, QStringLiteral("k_c_zeigen3"), 5460,
                             QStringLiteral("Passendes Datum suchen"));
    connect(k_c_zeigen3, &QPushButton::clicked, this, &CalendarDialog::onWeekdaySearchClicked);

    for (int d = 1; d <= 31; ++d)
        k_k_ausw_tag->addItem(QStringLiteral(" ") + QString::number(d));
    k_k_ausw_monat->addItem(QStringLiteral("egal"));
    for (int m = 1; m <= 12; ++m)
        k_k_ausw_monat->addItem(monthName(m));
    // Sunday first, as the search counts weekdays
    k_k_ausw_wotag->addItems({ QStringLiteral("Sonntag"), QStringLiteral("Montag"),
                               QStringLiteral("Dienstag"), QStringLiteral("Mittwoch"),
                               QStringLiteral("Donnerstag"), QStringLiteral("Freitag"),
                               QStringLiteral("Sonnabend") });
}
