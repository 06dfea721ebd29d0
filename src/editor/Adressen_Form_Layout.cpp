// The race editor's controls: captions, positions (twips), limits, colours and tab order.
#include "Adressen_Form.h"

#include "DataGrid.h"
#include "DateLabel.h"
#include "FieldLimit.h"
#include "Style.h"
#include "Twips.h"
#include "WholeCharacters.h"
#include "WrapCheckBox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kRowHeight = 315; // text fields, combos, date labels
constexpr int kCheckHeight = 255; // check boxes, option buttons, captions

// Tab pages start below the tab bar; positions inside the tab are measured from its top.
constexpr int kTabBarHeight = 420;
constexpr int kTabFrame = 45;
QRect pageRect(int left, int top, int width, int height)
{
    return twRect(left - kTabFrame, top - kTabBarHeight, width, height);
}

const QColor kWhite(255, 255, 255);

QLineEdit *textField(QWidget *parent, const QString &name, int left, int top, int width,
                     int maxLength)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(twRect(left, top, width, kRowHeight));
    FieldLimit::setLimit(*field, maxLength);
    keepWholeCharacters(field);
    QPalette p = field->palette();
    p.setColor(QPalette::Base, kWhite);
    field->setPalette(p);
    return field;
}

QComboBox *editableCombo(QWidget *parent, const QString &name, int left, int top, int width)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    // The lists grow and complete by their own rules when a field is left, not while typing.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setGeometry(twRect(left, top, width, kRowHeight));
    return combo;
}

QLabel *caption(QWidget *parent, const QString &text, int left, int top, int width,
                QWidget *buddy = nullptr, int height = kRowHeight)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(twRect(left, top, width, height));
    if (buddy) {
        label->setBuddy(buddy);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
        label->setTextFormat(Qt::PlainText);
    }
    return label;
}

DateLabel *dateLabel(QWidget *parent, const QString &name, int left, int top, int width,
                     const QString &meaning)
{
    auto *label = new DateLabel(parent);
    label->setObjectName(name);
    label->setGeometry(twRect(left, top, width, kRowHeight));
    label->setAccessibleDescription(meaning);
    return label;
}

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &text, int left, int top,
                    int width, int height = kCheckHeight)
{
    auto *box = new WrapCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(twRect(left, top, width, height));
    return box;
}

// The small buttons that fetch a place from the postal directory sit inside the right end
// of their field; the field keeps its text clear of them.
QToolButton *placeButton(QWidget *parent, const QString &name, QLineEdit *field,
                         const QString &meaning)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    const QRect f = field->geometry();
    button->setGeometry(f.right() + 1 - tw(240), f.top(), tw(240), f.height());
    button->setText(QStringLiteral("…"));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAccessibleName(meaning);
    button->setFocusPolicy(Qt::StrongFocus);
    field->setTextMargins(0, 0, tw(240), 0);
    button->raise();
    return button;
}

void makeLinkField(QLineEdit *field, const QString &tip)
{
    QPalette p = field->palette();
    for (auto group : { QPalette::Active, QPalette::Inactive })
        p.setColor(group, QPalette::Text, QColor(0, 0, 255));
    field->setPalette(p);
    field->setCursor(Qt::PointingHandCursor);
    field->setToolTip(tip);
}

QGroupBox *frame(QWidget *parent, const QString &name, const QString &title, int left, int top,
                 int width, int height)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setGeometry(twRect(left, top, width, height));
    return box;
}
} // namespace

void Adressen_Form::buildForm()
{
    setObjectName(QStringLiteral("Adressen_Form"));
    setWindowTitle(QStringLiteral("Laufdaten verwalten"));
    // The controls are placed in twips as drawn, for the small dialog font.
    QFont f = font();
    f.setPointSizeF(8);
    setFont(f);
    setFixedSize(twSize(15240, 10650));

    ad_p_adresse = new QWidget(this);
    ad_p_adresse->setObjectName(QStringLiteral("ad_p_adresse"));
    ad_p_adresse->setGeometry(0, 0, width(), height());

    buildLauf();
    buildVeranstalter();
    buildStartgelder();
    buildAnsprechpartner();
    buildTabs();
    buildButtons();
    buildTabOrder();
}

void Adressen_Form::buildLauf()
{
    Frame9 = frame(ad_p_adresse, QStringLiteral("Frame9"), QStringLiteral("Lauf"), 135, 135, 14865,
                   1950);
    QWidget *p = Frame9;

    auto *name = editableCombo(p, QStringLiteral("aw_Combo1(7)"), 1260, 270, 5160);
    aw_Combo1.insert(7, name);
    caption(p, QStringLiteral("Name:"), 120, 270, 1065, name);

    ad_t_lauf_ort = textField(p, QStringLiteral("ad_t_lauf_ort"), 1260, 765, 5145, 50);
    caption(p, QStringLiteral("Ort:"), 120, 765, 1065, ad_t_lauf_ort);
    ad_c_lauf_ort = placeButton(p, QStringLiteral("ad_c_lauf_ort"), ad_t_lauf_ort,
                                QStringLiteral("Ort des Laufs aus dem Postleitzahlenverzeichnis"));

    ad_l_lauf_datum = dateLabel(p, QStringLiteral("ad_l_lauf_datum"), 1260, 1260, 2595,
                                QStringLiteral("Datum des Laufs"));
    caption(p, QStringLiteral("Datum:"), 120, 1260, 1065, ad_l_lauf_datum);

    t_termin_stunde = editableCombo(p, QStringLiteral("t_termin_stunde"), 5085, 1260, 600);
    caption(p, QStringLiteral("Startzeit:"), 3930, 1260, 1080, t_termin_stunde);
    t_termin_minuten = editableCombo(p, QStringLiteral("t_termin_minuten"), 5760, 1260, 645);
    t_termin_minuten->setAccessibleName(QStringLiteral("Startzeit Minuten"));

    const QString distances[] = { QStringLiteral("Marathon"), QStringLiteral("Halb-Marathon"),
                                  QStringLiteral("andere Strecke") };
    const int optionTops[] = { 315, 810, 1305 };
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(distances[i], p);
        option->setObjectName(QStringLiteral("ad_o_strecke(%1)").arg(i));
        option->setGeometry(twRect(7020, optionTops[i], 1755, kCheckHeight));
        ad_o_strecke.insert(i, option);
    }
    ad_o_strecke(0)->setChecked(true);
    ad_t_strecke = textField(p, QStringLiteral("ad_t_strecke"), 8820, 1305, 1140, 50);
    ad_t_strecke->setAccessibleName(QStringLiteral("andere Strecke"));

    ad_check_angemeldet = checkBox(p, QStringLiteral("ad_check_angemeldet"),
                                   QStringLiteral("angemeldet"), 10395, 315, 1500);
    ad_l_angemeldet = dateLabel(p, QStringLiteral("ad_l_angemeldet"), 11970, 270, 2775,
                                QStringLiteral("Datum der Anmeldung"));
    ad_check_vorgemerkt = checkBox(p, QStringLiteral("ad_check_vorgemerkt"),
                                   QStringLiteral("vorgemerkt"), 10395, 855, 1500);
    ad_check_gelaufen = checkBox(p, QStringLiteral("ad_check_gelaufen"), QStringLiteral("gelaufen"),
                                 10395, 1395, 1500);

    ad_t_zeit = textField(p, QStringLiteral("ad_t_zeit"), 13320, 1305, 1410, 50);
    ad_l_zeit_bez = caption(p, QStringLiteral("Zeit:"), 12600, 1305, 645, ad_t_zeit);
    ad_l_zeit_bez->setObjectName(QStringLiteral("ad_l_zeit_bez"));
}

void Adressen_Form::buildVeranstalter()
{
    Frame10 = frame(ad_p_adresse, QStringLiteral("Frame10"), QStringLiteral("Veranstalter"), 135,
                    2250, 14865, 1545);
    QWidget *p = Frame10;

    ad_name2 = textField(p, QStringLiteral("ad_name2"), 1260, 270, 5145, 50);
    caption(p, QStringLiteral("Name:"), 120, 270, 1065, ad_name2);
    ad_telefon1 = textField(p, QStringLiteral("ad_telefon1"), 1260, 675, 2085, 50);
    caption(p, QStringLiteral("Telefon:"), 120, 675, 1065, ad_telefon1);
    ad_fax = textField(p, QStringLiteral("ad_fax"), 4365, 675, 2040, 50);
    caption(p, QStringLiteral("Fax:"), 3420, 675, 870, ad_fax);
    ad_internet = textField(p, QStringLiteral("ad_internet"), 7425, 270, 7305, 150);
    caption(p, QStringLiteral("Internet:"), 6465, 270, 885, ad_internet);
    makeLinkField(ad_internet, QStringLiteral("Doppelclick zum Aufruf der Web-Adresse"));
    ad_email = textField(p, QStringLiteral("ad_email"), 7425, 675, 7305, 150);
    caption(p, QStringLiteral("E-Mail:"), 6465, 675, 885, ad_email);
    makeLinkField(ad_email, QStringLiteral("Doppelclick zum Starten des Mailprogramms"));
    ad_konto1 = textField(p, QStringLiteral("ad_konto1"), 1260, 1080, 2085, 15);
    caption(p, QStringLiteral("Konto-Nr:"), 120, 1080, 1065, ad_konto1);
    ad_blz1 = textField(p, QStringLiteral("ad_blz1"), 4365, 1080, 2040, 15);
    caption(p, QStringLiteral("BLZ:"), 3420, 1080, 870, ad_blz1);
    ad_bank1 = textField(p, QStringLiteral("ad_bank1"), 7425, 1080, 3120, 50);
    caption(p, QStringLiteral("Bank:"), 6465, 1080, 885, ad_bank1);

    auto *timing = editableCombo(p, QStringLiteral("aw_Combo1(10)"), 11970, 1080, 2775);
    aw_Combo1.insert(10, timing);
    caption(p, QStringLiteral("Zeitmessung:"), 10605, 1080, 1290, timing);
}

void Adressen_Form::buildStartgelder()
{
    Frame1 = frame(ad_p_adresse, QStringLiteral("Frame1"), QStringLiteral("Startgelder"), 135, 3960,
                   14865, 1455);
    QWidget *p = Frame1;

    caption(p, QStringLiteral("Marathon:"), 180, 270, 1440, nullptr, kCheckHeight);
    caption(p, QStringLiteral("Halb-Marathon:"), 180, 630, 1440, nullptr, kCheckHeight);
    ad_t_strecke_sg = textField(p, QStringLiteral("ad_t_strecke_sg"), 180, 990, 1095, 50);
    ad_t_strecke_sg->setAccessibleName(QStringLiteral("Name der dritten Strecke"));

    const int deadlineLabel[] = { 1710, 3960, 6165 };
    const int deadlineDate[] = { 1665, 3915, 6120 };
    DateLabel **dates[] = { &ad_l_start1, &ad_l_start2, &ad_l_start3 };
    for (int d = 0; d < 3; ++d) {
        *dates[d] = dateLabel(p, QStringLiteral("ad_l_start%1").arg(d + 1), deadlineDate[d], 585,
                              1200, QStringLiteral("Startgeld-Termin %1").arg(d + 1));
        caption(p, QStringLiteral("bis zum"), deadlineLabel[d], 225, 1000, nullptr, kCheckHeight);
    }

    // ad_t_sgDR: D the deadline (column), R the distance row.
    const int columnLeft[] = { 2970, 5220, 7425 };
    const int rowTop[] = { 180, 585, 990 };
    const QString rowName[] = { QStringLiteral("Marathon"), QStringLiteral("Halb-Marathon"),
                                QStringLiteral("dritte Strecke") };
    QLineEdit **fees[3][3] = { { &ad_t_sg11, &ad_t_sg12, &ad_t_sg13 },
                               { &ad_t_sg21, &ad_t_sg22, &ad_t_sg23 },
                               { &ad_t_sg31, &ad_t_sg32, &ad_t_sg33 } };
    for (int d = 0; d < 3; ++d)
        for (int r = 0; r < 3; ++r) {
            QLineEdit *fee = textField(p, QStringLiteral("ad_t_sg%1%2").arg(d + 1).arg(r + 1),
                                       columnLeft[d], rowTop[r], 800, 50);
            fee->setAccessibleName(
                QStringLiteral("Startgeld %1 bis Termin %2").arg(rowName[r]).arg(d + 1));
            *fees[d][r] = fee;
        }

    auto *line = new QFrame(p);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twRect(8415 - 15, 180, 30, 1155));
    Line1 = line;

    ad_check_alarm = checkBox(p, QStringLiteral("ad_check_alarm"),
                              QStringLiteral("ab diesem Datum bei jedem Programmstart an die "
                                             "Bezahlung des Startgelds erinnern"),
                              8730, 180, 3075, 690);
    ad_l_alarm = dateLabel(p, QStringLiteral("ad_l_alarm"), 11970, 270, 2775,
                           QStringLiteral("Erinnerungsdatum"));
    ad_check_bezahlt = checkBox(p, QStringLiteral("ad_check_bezahlt"),
                                QStringLiteral("Startgeld überwiesen am:"), 8730, 945, 3075);
    ad_l_ueberwiesen = dateLabel(p, QStringLiteral("ad_l_überwiesen"), 11970, 945, 2775,
                                 QStringLiteral("Überweisungsdatum"));
}

void Adressen_Form::buildAnsprechpartner()
{
    Frame4 = frame(ad_p_adresse, QStringLiteral("Frame4"), QStringLiteral("Ansprechpartner"), 9045,
                   5535, 5955, 4470);
    QWidget *p = Frame4;

    ad_name1 = textField(p, QStringLiteral("ad_name1"), 1125, 405, 4695, 50);
    caption(p, QStringLiteral("Name:"), 60, 405, 990, ad_name1);
    ad_vorname = textField(p, QStringLiteral("ad_vorname"), 1125, 810, 4695, 50);
    caption(p, QStringLiteral("Vorname:"), 60, 810, 990, ad_vorname);

    auto *salutation = editableCombo(p, QStringLiteral("aw_Combo1(3)"), 1125, 1260, 1815);
    aw_Combo1.insert(3, salutation);
    caption(p, QStringLiteral("Anrede:"), 60, 1260, 990, salutation);
    auto *title = editableCombo(p, QStringLiteral("aw_Combo1(1)"), 3915, 1260, 1905);
    aw_Combo1.insert(1, title);
    caption(p, QStringLiteral("Titel:"), 3000, 1260, 840, title);
    auto *street = editableCombo(p, QStringLiteral("aw_Combo1(6)"), 1125, 1890, 4695);
    aw_Combo1.insert(6, street);
    caption(p, QStringLiteral("Straße:"), 60, 1890, 990, street);

    ad_plz = textField(p, QStringLiteral("ad_plz"), 1125, 2340, 1095, 10);
    caption(p, QStringLiteral("PLZ:"), 60, 2340, 990, ad_plz);
    ad_c_plz = placeButton(p, QStringLiteral("ad_c_plz"), ad_plz,
                           QStringLiteral("Postleitzahl aus dem Postleitzahlenverzeichnis"));
    ad_ort = textField(p, QStringLiteral("ad_ort"), 2880, 2340, 2940, 50);
    caption(p, QStringLiteral("Ort:"), 2265, 2340, 540, ad_ort);
    ad_c_ort = placeButton(p, QStringLiteral("ad_c_ort"), ad_ort,
                           QStringLiteral("Ort aus dem Postleitzahlenverzeichnis"));

    ad_pfplz = textField(p, QStringLiteral("ad_pfplz"), 1125, 2790, 1095, 10);
    caption(p, QStringLiteral("PF-PLZ:"), 60, 2790, 990, ad_pfplz);
    ad_postfach = textField(p, QStringLiteral("ad_postfach"), 2880, 2790, 1230, 10);
    caption(p, QStringLiteral("PF:"), 2265, 2790, 540, ad_postfach);
    auto *country = editableCombo(p, QStringLiteral("aw_Combo1(9)"), 4860, 2790, 960);
    aw_Combo1.insert(9, country);
    caption(p, QStringLiteral("Land:"), 4155, 2790, 630, country);

    ad_direkt = textField(p, QStringLiteral("ad_direkt"), 1125, 3555, 1770, 50);
    caption(p, QStringLiteral("Durchwahl:"), 60, 3555, 990, ad_direkt);
    ad_funk = textField(p, QStringLiteral("ad_funk"), 3780, 3555, 2040, 50);
    caption(p, QStringLiteral("Handy:"), 2940, 3555, 765, ad_funk);
    ad_email_ansprech = textField(p, QStringLiteral("ad_email_ansprech"), 1125, 4005, 4695, 150);
    caption(p, QStringLiteral("E-Mail:"), 60, 4005, 990, ad_email_ansprech);
    makeLinkField(ad_email_ansprech, QStringLiteral("Doppelclick zum Starten des Mailprogramms"));
}

void Adressen_Form::buildTabs()
{
    Picture1 = new QWidget(ad_p_adresse);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twRect(135, 5625, 8745, 4740));
    SSTab1 = new QTabWidget(Picture1);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(twRect(90, 90, 8565, 4560));

    auto *notes = new QWidget;
    ad_t_notiz = new QPlainTextEdit(notes);
    ad_t_notiz->setObjectName(QStringLiteral("ad_t_notiz"));
    ad_t_notiz->setGeometry(pageRect(135, 540, 8295, 3840));
    ad_t_notiz->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ad_t_notiz->setTabChangesFocus(true);
    ad_t_notiz->setAccessibleName(QStringLiteral("Notizen"));
    SSTab1->addTab(notes, QStringLiteral("  Notizen  "));

    auto *documents = new QWidget;
    Frame2
        = frame(documents, QStringLiteral("Frame2"), QStringLiteral("Hinweis"), 0, 0, 8295, 1200);
    Frame2->setGeometry(pageRect(135, 540, 8295, 1200));
    auto *hint = new QLabel(
        QStringLiteral("Hier kann für jeden Lauf eine Verknüpfung zu beliebigen Dokumenten "
                       "erfolgen, z.B. zu Fotos, Urkunden, Ergebnislisten usw. Beim Öffnen "
                       "des Dokumentes wird die unter Windows definierte Anwendung gestartet, "
                       "bei .doc z.B. Word, bei .xls Excel, bei .pdf der Acrobat Reader usw."),
        Frame2);
    hint->setWordWrap(true);
    auto *hintLayout = new QVBoxLayout(Frame2);
    hintLayout->setContentsMargins(tw(90), tw(30), tw(90), tw(30));
    hintLayout->addWidget(hint);
    DBGrid1_Dokumente = new DataGrid(ereignisse_dokumente_db, documents);
    DBGrid1_Dokumente->setObjectName(QStringLiteral("DBGrid1_Dokumente"));
    DBGrid1_Dokumente->setGeometry(pageRect(135, 1830, 8295, 2160));
    DBGrid1_Dokumente->setAccessibleName(QStringLiteral("Zugeordnete Dokumente"));
    SSTab1->addTab(documents, QStringLiteral("  Dokumente  "));

    auto *picture = new QWidget;
    Frame6 = frame(picture, QStringLiteral("Frame6"), QStringLiteral("Hinweis"), 0, 0, 8295, 2580);
    Frame6->setGeometry(pageRect(135, 540, 8295, 2580));
    const QString explanations[] = {
        QStringLiteral("Oft will man wissen, wieviel Tage Vorbereitungszeit man noch bis zum Lauf "
                       "hat."),
        QStringLiteral("Hier kann man festlegen, ob man für diesen Lauf bei jedem Programmstart "
                       "die noch verbleibenden Tage angezeigt bekommen möchte."),
        QStringLiteral("Um sich dabei schon mal auf den Lauf einzustimmen, kann man die Meldung "
                       "mit einem Bild hinterlegen, z.B. mit einem Foto vom Lauf im letzten "
                       "Jahr."),
        QStringLiteral("Unterstützt werden dabei die üblichen Bildformate. Das Bild sollte ein "
                       "Seitenverhältnis von 4:3 aufweisen, z.B. 800x600, 1600x1200, 2048x1536 "
                       "usw., also die normalen Auflösungen von Digitalkameras."),
        QStringLiteral("Alle Bilder werden auf dieses Seitenverhältnis gestreckt, was bei anderen "
                       "Auflösungen zu Verzerrungen führen kann."),
    };
    auto *lines = new QVBoxLayout(Frame6);
    lines->setContentsMargins(tw(90), tw(30), tw(90), tw(30));
    lines->setSpacing(tw(30));
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(explanations[i], Frame6);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setWordWrap(true);
        lines->addWidget(label);
        Label1.insert(i, label);
    }
    lines->addStretch();
    ad_check_startbild = checkBox(picture, QStringLiteral("ad_check_startbild"),
                                  QStringLiteral("an die restlichen Tage bis zu diesem Lauf bei "
                                                 "jedem Programmstart mit diesem Bild erinnern"),
                                  0, 0, 6855, 240);
    // Two lines in the small font: it reaches up to the hint and across the page.
    ad_check_startbild->setGeometry(pageRect(585, 3270, 7845, 420));
    a_l_datei = new QLabel(picture);
    a_l_datei->setObjectName(QStringLiteral("a_l_datei"));
    a_l_datei->setGeometry(pageRect(585, 3690, 7305, 300));
    a_l_datei->setTextFormat(Qt::PlainText);
    a_l_datei->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    a_l_datei->setAccessibleDescription(QStringLiteral("Bilddatei"));
    auto *pictureCaption = caption(picture, QStringLiteral("Bild:"), 0, 0, 375, nullptr, 300);
    pictureCaption->setGeometry(pageRect(180, 3690, 375, 300));
    SSTab1->addTab(picture, QStringLiteral("  Startbild  "));

    SSTab1->setCurrentIndex(0);
}

void Adressen_Form::buildButtons()
{
    db_abbr.insert(3,
                   Style::makeButton(ad_p_adresse, QStringLiteral("db_abbr(3)"),
                                     QStringLiteral("&Abbrechen"), twRect(12195, 10080, 1365, 375),
                                     QColor(255, 192, 192)));
    db_ok.insert(3,
                 Style::makeButton(ad_p_adresse, QStringLiteral("db_ok(3)"),
                                   QStringLiteral("&Speichern"), twRect(13635, 10080, 1365, 375),
                                   QColor(192, 255, 192)));

    ProgressBar1 = new QProgressBar(ad_p_adresse);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(twRect(9045, 10080, 3060, 375));
    // One step per field written and two after storing: the bar never quite fills.
    ProgressBar1->setRange(0, 60);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("Fortschritt beim Speichern"));
    ProgressBar1->hide();
}

void Adressen_Form::buildTabOrder()
{
    const QList<QWidget *> order = {
        aw_Combo1(7),
        ad_t_lauf_ort,
        t_termin_stunde,
        t_termin_minuten,
        ad_check_vorgemerkt,
        ad_check_angemeldet,
        ad_check_gelaufen,
        ad_o_strecke(0),
        ad_o_strecke(1),
        ad_o_strecke(2),
        ad_t_zeit,
        ad_name2,
        ad_telefon1,
        ad_fax,
        ad_internet,
        ad_email,
        ad_konto1,
        ad_blz1,
        ad_bank1,
        aw_Combo1(10),
        ad_t_sg11,
        ad_t_sg12,
        ad_t_sg13,
        ad_t_sg21,
        ad_t_sg22,
        ad_t_sg23,
        ad_t_sg31,
        ad_t_sg32,
        ad_t_sg33,
        ad_check_alarm,
        ad_check_bezahlt,
        ad_name1,
        ad_vorname,
        aw_Combo1(3),
        aw_Combo1(1),
        aw_Combo1(6),
        ad_plz,
        ad_ort,
        ad_pfplz,
        ad_postfach,
        aw_Combo1(9),
        ad_direkt,
        ad_funk,
        ad_email_ansprech,
        db_ok(3),
        db_abbr(3),
        ad_c_lauf_ort,
        ad_t_strecke_sg,
        ad_c_ort,
        ad_c_plz,
        ad_t_strecke,
        SSTab1,
        ad_t_notiz,
        DBGrid1_Dokumente,
        ad_check_startbild,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
