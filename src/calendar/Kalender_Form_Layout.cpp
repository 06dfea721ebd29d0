// Widgets and their places; the behaviour is in Kalender_Form.cpp.
#include "Kalender_Form.h"

#include "CalendarWidgets.h"
#include "GermanText.h"
#include "Style.h"
#include "Twips.h"

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

QString indexedName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

QSize Kalender_Form::smallSize()
{
    return twSize(3990, 4995);
}

QSize Kalender_Form::largeSize()
{
    return twSize(6415, 5895);
}

void Kalender_Form::buildForm()
{
    setObjectName(QStringLiteral("Kalender_Form"));
    setWindowTitle(QStringLiteral("Kalender"));
    setModal(true);

    auto label = [this](const QString &text, const QRect &rect, bool largeOnly = false) {
        auto *l = new QLabel(text, this);
        l->setGeometry(rect);
        if (largeOnly)
            m_largeOnly << l;
        return l;
    };
    auto button
        = [this](const char *name, const QString &text, const QRect &rect, bool largeOnly = false) {
              auto *b = new QPushButton(text, this);
              b->setObjectName(QLatin1String(name));
              b->setGeometry(rect);
              if (largeOnly)
                  m_largeOnly << b;
              return b;
          };
    auto valueLabel = [this](QLabel *l, const QString &description) {
        l->setAccessibleName(l->text());
        l->setAccessibleDescription(description);
    };

    // Header and weekday captions
    k_l_datum_anzeige = label({}, twRect(kGridLeft, 90, 3195, 330));
    k_l_datum_anzeige->setObjectName(QStringLiteral("k_l_datum_anzeige"));
    k_l_datum_anzeige->setAlignment(Qt::AlignCenter);
    QFont headerFont = k_l_datum_anzeige->font();
    headerFont.setBold(true);
    headerFont.setPointSizeF(headerFont.pointSizeF() * 1.2);
    k_l_datum_anzeige->setFont(headerFont);
    valueLabel(k_l_datum_anzeige, QStringLiteral("Gewähltes Datum"));

    for (int c = 0; c < 7; ++c) {
        QLabel *l = label(weekdayShort(c + 1), twRect(columnLeft(c), 465, kCell, 240));
        l->setObjectName(indexedName("k_l_wotag", c + 1));
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
    const int kwLeft = columnLeft(6) + kCell + kWeekendGap;
    k_l_kw_titel = label(QStringLiteral("KW"), twRect(kwLeft, 465, 450, 240));
    k_l_kw_titel->setObjectName(QStringLiteral("k_l_kw_titel"));
    k_l_kw_titel->setAlignment(Qt::AlignCenter);

    // The 37 day cells and the week numbers beside the six rows
    for (int i = 0; i < CalendarRules::CellCount; ++i) {
        auto *cell = new DayCell(i, this);
        cell->setObjectName(indexedName("k_l_tage", i));
        cell->setGeometry(twRect(columnLeft(i % 7), rowTop(i / 7), kCell, kCell));
        cell->setAlignment(Qt::AlignCenter);
        cell->setAutoFillBackground(true);
        connect(cell, &DayCell::pressed, this, &Kalender_Form::k_l_tage_MouseDown);
        connect(cell, &DayCell::doubleClicked, this, &Kalender_Form::k_l_tage_DblClick);
        k_l_tage[i] = cell;
    }
    for (int r = 0; r < CalendarRules::RowCount; ++r) {
        QLabel *l = label({}, twRect(kwLeft, rowTop(r), 450, kCell));
        l->setObjectName(indexedName("k_l_kw", r));
        l->setAlignment(Qt::AlignCenter);
        l->setAccessibleDescription(QStringLiteral("Kalenderwoche"));
        k_l_kw[r] = l;
    }

    // Month and year bars with "Heute" beside them
    QLabel *monthCaption = label(QStringLiteral("<< Monat >>"), twRect(kGridLeft, 2955, 2415, 225));
    monthCaption->setAlignment(Qt::AlignCenter);
    k_sh_monat = new DateScrollBar(Qt::Horizontal, this);
    k_sh_monat->setObjectName(QStringLiteral("k_sh_monat"));
    k_sh_monat->setGeometry(twRect(kGridLeft, 3180, 2415, 255));
    k_sh_monat->setRange(1, 12);
    k_sh_monat->setPageStep(3);
    monthCaption->setBuddy(k_sh_monat);
    k_sh_monat->setAccessibleName(QStringLiteral("Monat"));

    QLabel *yearCaption = label(QStringLiteral("<< Jahr >>"), twRect(kGridLeft, 3495, 2415, 225));
    yearCaption->setAlignment(Qt::AlignCenter);
    k_sh_jahr = new DateScrollBar(Qt::Horizontal, this);
    k_sh_jahr->setObjectName(QStringLiteral("k_sh_jahr"));
    k_sh_jahr->setGeometry(twRect(kGridLeft, 3720, 2415, 255));
    k_sh_jahr->setRange(100, 9999);
    k_sh_jahr->setPageStep(5);
    yearCaption->setBuddy(k_sh_jahr);
    k_sh_jahr->setAccessibleName(QStringLiteral("Jahr"));
    for (QScrollBar *bar : { k_sh_monat, k_sh_jahr })
        bar->setFocusPolicy(Qt::StrongFocus);
    connect(k_sh_monat, &QScrollBar::valueChanged, this, &Kalender_Form::k_sh_monat_Change);
    connect(k_sh_jahr, &QScrollBar::valueChanged, this, &Kalender_Form::k_sh_jahr_Change);

    k_c_heute = button("k_c_heute", QStringLiteral("Heute"), twRect(2940, 3180, 645, 795));
    connect(k_c_heute, &QPushButton::clicked, this, &Kalender_Form::k_c_heute_Click);

    // Accept, cancel and the size switch
    k_c_ok = button("k_c_ok", QStringLiteral("&OK - Datum übernehmen"),
                    twRect(kGridLeft, 4110, 3195, 375));
    k_c_ok->setDefault(true);
    Style::setColor(k_c_ok, QPalette::Button, Style::LightGreen);
    connect(k_c_ok, &QPushButton::clicked, this, &Kalender_Form::k_c_ok_Click);
    k_c_abbruch
        = button("k_c_abbruch", QStringLiteral("&Abbrechen"), twRect(kGridLeft, 4560, 1530, 375));
    Style::setColor(k_c_abbruch, QPalette::Button, Style::LightRed);
    connect(k_c_abbruch, &QPushButton::clicked, this, &Kalender_Form::k_c_abbruch_Click);
    k_c_mehr = button("k_c_mehr", QStringLiteral("&Mehr >>"), twRect(2055, 4560, 1530, 375));
    connect(k_c_mehr, &QPushButton::clicked, this, &Kalender_Form::k_c_mehr_Click);

    // Right-hand column: direct input
    QLabel *direct
        = label(QStringLiteral("Direkteingabe:"), twRect(kRightColumn, 90, kRightWidth, 240), true);
    auto numberField = [this](const char *name, int maxLength, const QRect &rect,
                              const QString &accessibleName) {
        auto *e = new SelectAllEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setMaxLength(maxLength);
        e->setGeometry(rect);
        e->setAlignment(Qt::AlignRight);
        e->setAccessibleName(accessibleName);
        m_largeOnly << e;
        return e;
    };
    k_t_tag = numberField("k_t_tag", 2, twRect(kRightColumn, 360, 330, 315), QStringLiteral("Tag"));
    direct->setBuddy(k_t_tag);
    label(QStringLiteral("."), twRect(4440, 360, 90, 315), true)->setAlignment(Qt::AlignCenter);
    k_t_monat = numberField("k_t_monat", 2, twRect(4530, 360, 330, 315), QStringLiteral("Monat"));
    label(QStringLiteral("."), twRect(4860, 360, 90, 315), true)->setAlignment(Qt::AlignCenter);
    k_t_jahr = numberField("k_t_jahr", 4, twRect(4950, 360, 510, 315), QStringLiteral("Jahr"));
    connect(k_t_tag, &QLineEdit::textEdited, this, &Kalender_Form::k_t_tag_Change);
    connect(k_t_monat, &QLineEdit::textEdited, this, &Kalender_Form::k_t_monat_Change);
    connect(k_t_jahr, &QLineEdit::textEdited, this, &Kalender_Form::k_t_jahr_Change);
    k_c_zeigen1
        = button("k_c_zeigen1", QStringLiteral("Zeigen"), twRect(5550, 345, 750, 345), true);
    k_c_zeigen1->setAccessibleDescription(QStringLiteral("Eingegebenes Datum zeigen"));
    connect(k_c_zeigen1, &QPushButton::clicked, this, &Kalender_Form::k_c_zeigen1_Click);

    auto separator = [this](int top) {
        auto *line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(twRect(kRightColumn, top, kRightWidth, 30));
        m_largeOnly << line;
    };
    separator(795);

    // Step by days
    auto option = [this](const char *name, const QString &text, const QRect &rect) {
        auto *o = new QRadioButton(text, this);
        o->setObjectName(QString::fromUtf8(name));
        o->setGeometry(rect);
        m_largeOnly << o;
        return o;
    };
    k_o_in
        = option("k_o_in", QStringLiteral("Datum in"), twRect(kRightColumn, 870, kRightWidth, 255));
    k_o_vor = option("k_o_vor", QStringLiteral("oder vor"),
                     twRect(kRightColumn, 1140, kRightWidth, 255));
    auto *stepGroup = new QButtonGroup(this);
    stepGroup->addButton(k_o_in);
    stepGroup->addButton(k_o_vor);
    k_t_in_vor = new QLineEdit(this);
    k_t_in_vor->setObjectName(QStringLiteral("k_t_in_vor"));
    k_t_in_vor->setMaxLength(6);
    k_t_in_vor->setAlignment(Qt::AlignRight);
    k_t_in_vor->setGeometry(twRect(kRightColumn, 1440, 690, 315));
    m_largeOnly << k_t_in_vor;
    QLabel *days = label(QStringLiteral("Tagen"), twRect(4860, 1440, 630, 315), true);
    days->setBuddy(k_t_in_vor);
    k_t_in_vor->setAccessibleName(QStringLiteral("Anzahl der Tage"));
    k_c_zeigen2
        = button("k_c_zeigen2", QStringLiteral("Zeigen"), twRect(5550, 1425, 750, 345), true);
    k_c_zeigen2->setAccessibleDescription(QStringLiteral("Um die Anzahl der Tage weiterblättern"));
    connect(k_c_zeigen2, &QPushButton::clicked, this, &Kalender_Form::k_c_zeigen2_Click);

    separator(1875);

    // Date difference: days are dragged out of the grid onto the two drop labels
    QLabel *between = label(QStringLiteral("Anzahl der Tage zwischen"),
                            twRect(kRightColumn, 1950, kRightWidth, 450), true);
    between->setWordWrap(true);
    auto dropLabel = [this](const char *name, int top, const QString &description) {
        auto *l = new DayDropLabel(QStringLiteral("hier ablegen"), this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(twRect(4905, top, 1395, 315));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setAcceptDrops(true);
        l->setAccessibleName(l->text());
        l->setAccessibleDescription(description);
        m_largeOnly << l;
        return l;
    };
    label(QStringLiteral("Datum1:"), twRect(kRightColumn, 2430, 795, 315), true);
    k_l_datdiff_1 = dropLabel("k_l_datdiff_1", 2430, QStringLiteral("Datum1"));
    label(QStringLiteral("und"), twRect(kRightColumn, 2790, 795, 240), true);
    label(QStringLiteral("Datum2:"), twRect(kRightColumn, 3060, 795, 315), true);
    k_l_datdiff_2 = dropLabel("k_l_datdiff_2", 3060, QStringLiteral("Datum2"));
    connect(k_l_datdiff_1, &DayDropLabel::dayDropped, this,
            [this](const QString &text) { k_l_datdiff_DragDrop(1, text); });
    connect(k_l_datdiff_2, &DayDropLabel::dayDropped, this,
            [this](const QString &text) { k_l_datdiff_DragDrop(2, text); });
    label(QStringLiteral("beträgt:"), twRect(kRightColumn, 3450, 795, 315), true);
    k_l_datdiff = label({}, twRect(4905, 3450, 855, 315), true);
    k_l_datdiff->setObjectName(QStringLiteral("k_l_datdiff"));
    k_l_datdiff->setFrameShape(QFrame::Panel);
    k_l_datdiff->setFrameShadow(QFrame::Sunken);
    k_l_datdiff->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    valueLabel(k_l_datdiff, QStringLiteral("Anzahl der Tage zwischen Datum1 und Datum2"));
    label(QStringLiteral("Tage"), twRect(5805, 3450, 495, 315), true);

    // Help and the way back to the small window
    hilfe = new QToolButton(this);
    hilfe->setObjectName(QStringLiteral("hilfe"));
    hilfe->setText(QStringLiteral("?"));
    QFont helpFont = hilfe->font();
    helpFont.setBold(true);
    helpFont.setPointSizeF(helpFont.pointSizeF() * 1.4);
    hilfe->setFont(helpFont);
    hilfe->setGeometry(twRect(kRightColumn, 4110, 420, 420));
    hilfe->setToolTip(QStringLiteral("Hilfe zu diesem Fenster anzeigen"));
    hilfe->setAccessibleName(QStringLiteral("Hilfe"));
    m_largeOnly << hilfe;
    connect(hilfe, &QToolButton::clicked, this, &Kalender_Form::hilfe_Click);
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, &Kalender_Form::hilfe_Click);

    k_c_weniger = button("k_c_weniger", QStringLiteral("<< &Weniger"),
                         twRect(kRightColumn, 4560, kRightWidth, 375), true);
    connect(k_c_weniger, &QPushButton::clicked, this, &Kalender_Form::k_c_weniger_Click);

    // Bottom strip: weekday search
    k_o_naechstes
        = option("k_o_nächstes", QStringLiteral("nächstes"), twRect(kGridLeft, 5085, 1200, 315));
    k_o_letztes
        = option("k_o_letztes", QStringLiteral("oder letztes"), twRect(1620, 5085, 1560, 315));
    auto *searchGroup = new QButtonGroup(this);
    searchGroup->addButton(k_o_naechstes);
    searchGroup->addButton(k_o_letztes);
    auto combo = [this](const char *name, const QRect &rect, const QString &accessibleName) {
        auto *c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        c->setGeometry(rect);
        c->setAccessibleName(accessibleName);
        m_largeOnly << c;
        return c;
    };
    QLabel *sentence
        = label(QStringLiteral("Datum, an dem der"), twRect(3225, 5085, 1785, 315), true);
    k_k_ausw_tag = combo("k_k_ausw_tag", twRect(5025, 5085, 780, 315), QStringLiteral("Tag"));
    sentence->setBuddy(k_k_ausw_tag);
    k_k_ausw_monat
        = combo("k_k_ausw_monat", twRect(kGridLeft, 5475, 1500, 315), QStringLiteral("Monat"));
    label(QStringLiteral("ein"), twRect(1950, 5475, 300, 315), true);
    k_k_ausw_wotag
        = combo("k_k_ausw_wotag", twRect(2295, 5475, 1650, 315), QStringLiteral("Wochentag"));
    label(QStringLiteral("ist/war"), twRect(4005, 5475, 750, 315), true);
    // After the choices it acts on, also in the tab order.
    k_c_zeigen3
        = button("k_c_zeigen3", QStringLiteral("Zeigen"), twRect(5550, 5460, 750, 345), true);
    k_c_zeigen3->setAccessibleDescription(QStringLiteral("Passendes Datum suchen"));
    connect(k_c_zeigen3, &QPushButton::clicked, this, &Kalender_Form::k_c_zeigen3_Click);

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
