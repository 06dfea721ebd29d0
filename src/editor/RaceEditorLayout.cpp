// SPDX-License-Identifier: GPL-3.0-or-later
// The race editor's controls: captions, positions (twips), limits, colours and tab order.
#include "editor/RaceEditor.h"

#include "editor/DateLabel.h"
#include "editor/WrapCheckBox.h"
#include "ui/FormBuilder.h"
#include "ui/ListGrid.h"
#include "ui/Style.h"
#include "ui/Twips.h"

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

QComboBox *editableCombo(FormBuilder &b, const QString &name, const TwBox &box)
{
    auto *combo = b.make<QComboBox>(name, box);
    combo->setEditable(true);
    // The lists grow and complete by their own rules when a field is left, not while typing.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

DateLabel *dateLabel(FormBuilder &b, const QString &name, const TwBox &box, const QString &meaning)
{
    auto *label = b.make<DateLabel>(name, box);
    label->setAccessibleDescription(meaning);
    return label;
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

} // namespace

void RaceEditor::buildForm()
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

    buildRaceFrame();
    buildOrganiserFrame();
    buildFeesFrame();
    buildContactFrame();
    buildTabs();
    buildButtons();
    buildTabOrder();
}

void RaceEditor::buildRaceFrame()
{
    Frame9
        = FormBuilder(ad_p_adresse)
              .frame(QStringLiteral("Frame9"), QStringLiteral("Lauf"), { 135, 135, 14865, 1950 });
    FormBuilder b(Frame9);

    auto *name = editableCombo(b, QStringLiteral("aw_Combo1(7)"), { 1260, 270, 5160, kRowHeight });
    aw_Combo1.insert(7, name);
    b.caption(QStringLiteral("Name:"), { 120, 270, 1065, kRowHeight }, name);

    ad_t_lauf_ort = b.field(QStringLiteral("ad_t_lauf_ort"), { 1260, 765, 5145, kRowHeight }, 50);
    b.caption(QStringLiteral("Ort:"), { 120, 765, 1065, kRowHeight }, ad_t_lauf_ort);
    ad_c_lauf_ort = placeButton(b.parent(), QStringLiteral("ad_c_lauf_ort"), ad_t_lauf_ort,
                                QStringLiteral("Ort des Laufs aus dem Postleitzahlenverzeichnis"));

    ad_l_lauf_datum
        = dateLabel(b, QStringLiteral("ad_l_lauf_datum"), { 1260, 1260, 2595, kRowHeight },
                    QStringLiteral("Datum des Laufs"));
    b.caption(QStringLiteral("Datum:"), { 120, 1260, 1065, kRowHeight }, ad_l_lauf_datum);

    t_termin_stunde
        = editableCombo(b, QStringLiteral("t_termin_stunde"), { 5085, 1260, 600, kRowHeight });
    b.caption(QStringLiteral("Startzeit:"), { 3930, 1260, 1080, kRowHeight }, t_termin_stunde);
    t_termin_minuten
        = editableCombo(b, QStringLiteral("t_termin_minuten"), { 5760, 1260, 645, kRowHeight });
    t_termin_minuten->setAccessibleName(QStringLiteral("Startzeit Minuten"));

    const QString distances[] = { QStringLiteral("Marathon"), QStringLiteral("Halb-Marathon"),
                                  QStringLiteral("andere Strecke") };
    const int optionTops[] = { 315, 810, 1305 };
    for (int i = 0; i < 3; ++i) {
        ad_o_strecke.insert(i,
                            b.option(QStringLiteral("ad_o_strecke(%1)").arg(i), distances[i],
                                     { 7020, optionTops[i], 1755, kCheckHeight }));
    }
    ad_o_strecke(0)->setChecked(true);
    ad_t_strecke = b.field(QStringLiteral("ad_t_strecke"), { 8820, 1305, 1140, kRowHeight }, 50);
    ad_t_strecke->setAccessibleName(QStringLiteral("andere Strecke"));

    ad_check_angemeldet = b.checkBox<WrapCheckBox>(QStringLiteral("ad_check_angemeldet"),
                                                   QStringLiteral("angemeldet"),
                                                   { 10395, 315, 1500, kCheckHeight });
    ad_l_angemeldet
        = dateLabel(b, QStringLiteral("ad_l_angemeldet"), { 11970, 270, 2775, kRowHeight },
                    QStringLiteral("Datum der Anmeldung"));
    ad_check_vorgemerkt = b.checkBox<WrapCheckBox>(QStringLiteral("ad_check_vorgemerkt"),
                                                   QStringLiteral("vorgemerkt"),
                                                   { 10395, 855, 1500, kCheckHeight });
    ad_check_gelaufen
        = b.checkBox<WrapCheckBox>(QStringLiteral("ad_check_gelaufen"), QStringLiteral("gelaufen"),
                                   { 10395, 1395, 1500, kCheckHeight });

    ad_t_zeit = b.field(QStringLiteral("ad_t_zeit"), { 13320, 1305, 1410, kRowHeight }, 50);
    ad_l_zeit_bez = b.caption(QStringLiteral("Zeit:"), { 12600, 1305, 645, kRowHeight }, ad_t_zeit);
    ad_l_zeit_bez->setObjectName(QStringLiteral("ad_l_zeit_bez"));
}

void RaceEditor::buildOrganiserFrame()
{
    Frame10 = FormBuilder(ad_p_adresse)
                  .frame(QStringLiteral("Frame10"), QStringLiteral("Veranstalter"),
                         { 135, 2250, 14865, 1545 });
    FormBuilder b(Frame10);

    ad_name2 = b.field(QStringLiteral("ad_name2"), { 1260, 270, 5145, kRowHeight }, 50);
    b.caption(QStringLiteral("Name:"), { 120, 270, 1065, kRowHeight }, ad_name2);
    ad_telefon1 = b.field(QStringLiteral("ad_telefon1"), { 1260, 675, 2085, kRowHeight }, 50);
    b.caption(QStringLiteral("Telefon:"), { 120, 675, 1065, kRowHeight }, ad_telefon1);
    ad_fax = b.field(QStringLiteral("ad_fax"), { 4365, 675, 2040, kRowHeight }, 50);
    b.caption(QStringLiteral("Fax:"), { 3420, 675, 870, kRowHeight }, ad_fax);
    ad_internet = b.field(QStringLiteral("ad_internet"), { 7425, 270, 7305, kRowHeight }, 150);
    b.caption(QStringLiteral("Internet:"), { 6465, 270, 885, kRowHeight }, ad_internet);
    makeLinkField(ad_internet, QStringLiteral("Doppelclick zum Aufruf der Web-Adresse"));
    ad_email = b.field(QStringLiteral("ad_email"), { 7425, 675, 7305, kRowHeight }, 150);
    b.caption(QStringLiteral("E-Mail:"), { 6465, 675, 885, kRowHeight }, ad_email);
    makeLinkField(ad_email, QStringLiteral("Doppelclick zum Starten des Mailprogramms"));
    ad_konto1 = b.field(QStringLiteral("ad_konto1"), { 1260, 1080, 2085, kRowHeight }, 15);
    b.caption(QStringLiteral("Konto-Nr:"), { 120, 1080, 1065, kRowHeight }, ad_konto1);
    ad_blz1 = b.field(QStringLiteral("ad_blz1"), { 4365, 1080, 2040, kRowHeight }, 15);
    b.caption(QStringLiteral("BLZ:"), { 3420, 1080, 870, kRowHeight }, ad_blz1);
    ad_bank1 = b.field(QStringLiteral("ad_bank1"), { 7425, 1080, 3120, kRowHeight }, 50);
    b.caption(QStringLiteral("Bank:"), { 6465, 1080, 885, kRowHeight }, ad_bank1);

    auto *timing
        = editableCombo(b, QStringLiteral("aw_Combo1(10)"), { 11970, 1080, 2775, kRowHeight });
    aw_Combo1.insert(10, timing);
    b.caption(QStringLiteral("Zeitmessung:"), { 10605, 1080, 1290, kRowHeight }, timing);
}

void RaceEditor::buildFeesFrame()
{
    Frame1 = FormBuilder(ad_p_adresse)
                 .frame(QStringLiteral("Frame1"), QStringLiteral("Startgelder"),
                        { 135, 3960, 14865, 1455 });
    FormBuilder b(Frame1);

    b.caption(QStringLiteral("Marathon:"), { 180, 270, 1440, kCheckHeight });
    b.caption(QStringLiteral("Halb-Marathon:"), { 180, 630, 1440, kCheckHeight });
    ad_t_strecke_sg
        = b.field(QStringLiteral("ad_t_strecke_sg"), { 180, 990, 1095, kRowHeight }, 50);
    ad_t_strecke_sg->setAccessibleName(QStringLiteral("Name der dritten Strecke"));

    const int deadlineLabel[] = { 1710, 3960, 6165 };
    const int deadlineDate[] = { 1665, 3915, 6120 };
    DateLabel **dates[] = { &ad_l_start1, &ad_l_start2, &ad_l_start3 };
    for (int d = 0; d < 3; ++d) {
        *dates[d] = dateLabel(b, QStringLiteral("ad_l_start%1").arg(d + 1),
                              { deadlineDate[d], 585, 1200, kRowHeight },
                              QStringLiteral("Startgeld-Termin %1").arg(d + 1));
        b.caption(QStringLiteral("bis zum"), { deadlineLabel[d], 225, 1000, kCheckHeight });
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
            QLineEdit *fee = b.field(QStringLiteral("ad_t_sg%1%2").arg(d + 1).arg(r + 1),
                                     { columnLeft[d], rowTop[r], 800, kRowHeight }, 50);
            fee->setAccessibleName(
                QStringLiteral("Startgeld %1 bis Termin %2").arg(rowName[r]).arg(d + 1));
            *fees[d][r] = fee;
        }

    Line1 = b.panel(QStringLiteral("Line1"), { 8415 - 15, 180, 30, 1155 }, QFrame::VLine);

    ad_check_alarm
        = b.checkBox<WrapCheckBox>(QStringLiteral("ad_check_alarm"),
                                   QStringLiteral("ab diesem Datum bei jedem Programmstart an die "
                                                  "Bezahlung des Startgelds erinnern"),
                                   { 8730, 180, 3075, 690 });
    ad_l_alarm = dateLabel(b, QStringLiteral("ad_l_alarm"), { 11970, 270, 2775, kRowHeight },
                           QStringLiteral("Erinnerungsdatum"));
    ad_check_bezahlt = b.checkBox<WrapCheckBox>(QStringLiteral("ad_check_bezahlt"),
                                                QStringLiteral("Startgeld überwiesen am:"),
                                                { 8730, 945, 3075, kCheckHeight });
    ad_l_ueberwiesen
        = dateLabel(b, QStringLiteral("ad_l_überwiesen"), { 11970, 945, 2775, kRowHeight },
                    QStringLiteral("Überweisungsdatum"));
}

void RaceEditor::buildContactFrame()
{
    Frame4 = FormBuilder(ad_p_adresse)
                 .frame(QStringLiteral("Frame4"), QStringLiteral("Ansprechpartner"),
                        { 9045, 5535, 5955, 4470 });
    FormBuilder b(Frame4);

    ad_name1 = b.field(QStringLiteral("ad_name1"), { 1125, 405, 4695, kRowHeight }, 50);
    b.caption(QStringLiteral("Name:"), { 60, 405, 990, kRowHeight }, ad_name1);
    ad_vorname = b.field(QStringLiteral("ad_vorname"), { 1125, 810, 4695, kRowHeight }, 50);
    b.caption(QStringLiteral("Vorname:"), { 60, 810, 990, kRowHeight }, ad_vorname);

    auto *salutation
        = editableCombo(b, QStringLiteral("aw_Combo1(3)"), { 1125, 1260, 1815, kRowHeight });
    aw_Combo1.insert(3, salutation);
    b.caption(QStringLiteral("Anrede:"), { 60, 1260, 990, kRowHeight }, salutation);
    auto *title
        = editableCombo(b, QStringLiteral("aw_Combo1(1)"), { 3915, 1260, 1905, kRowHeight });
    aw_Combo1.insert(1, title);
    b.caption(QStringLiteral("Titel:"), { 3000, 1260, 840, kRowHeight }, title);
    auto *street
        = editableCombo(b, QStringLiteral("aw_Combo1(6)"), { 1125, 1890, 4695, kRowHeight });
    aw_Combo1.insert(6, street);
    b.caption(QStringLiteral("Straße:"), { 60, 1890, 990, kRowHeight }, street);

    ad_plz = b.field(QStringLiteral("ad_plz"), { 1125, 2340, 1095, kRowHeight }, 10);
    b.caption(QStringLiteral("PLZ:"), { 60, 2340, 990, kRowHeight }, ad_plz);
    ad_c_plz = placeButton(b.parent(), QStringLiteral("ad_c_plz"), ad_plz,
                           QStringLiteral("Postleitzahl aus dem Postleitzahlenverzeichnis"));
    ad_ort = b.field(QStringLiteral("ad_ort"), { 2880, 2340, 2940, kRowHeight }, 50);
    b.caption(QStringLiteral("Ort:"), { 2265, 2340, 540, kRowHeight }, ad_ort);
    ad_c_ort = placeButton(b.parent(), QStringLiteral("ad_c_ort"), ad_ort,
                           QStringLiteral("Ort aus dem Postleitzahlenverzeichnis"));

    ad_pfplz = b.field(QStringLiteral("ad_pfplz"), { 1125, 2790, 1095, kRowHeight }, 10);
    b.caption(QStringLiteral("PF-PLZ:"), { 60, 2790, 990, kRowHeight }, ad_pfplz);
    ad_postfach = b.field(QStringLiteral("ad_postfach"), { 2880, 2790, 1230, kRowHeight }, 10);
    b.caption(QStringLiteral("PF:"), { 2265, 2790, 540, kRowHeight }, ad_postfach);
    auto *country
        = editableCombo(b, QStringLiteral("aw_Combo1(9)"), { 4860, 2790, 960, kRowHeight });
    aw_Combo1.insert(9, country);
    b.caption(QStringLiteral("Land:"), { 4155, 2790, 630, kRowHeight }, country);

    ad_direkt = b.field(QStringLiteral("ad_direkt"), { 1125, 3555, 1770, kRowHeight }, 50);
    b.caption(QStringLiteral("Durchwahl:"), { 60, 3555, 990, kRowHeight }, ad_direkt);
    ad_funk = b.field(QStringLiteral("ad_funk"), { 3780, 3555, 2040, kRowHeight }, 50);
    b.caption(QStringLiteral("Handy:"), { 2940, 3555, 765, kRowHeight }, ad_funk);
    ad_email_ansprech
        = b.field(QStringLiteral("ad_email_ansprech"), { 1125, 4005, 4695, kRowHeight }, 150);
    b.caption(QStringLiteral("E-Mail:"), { 60, 4005, 990, kRowHeight }, ad_email_ansprech);
    makeLinkField(ad_email_ansprech, QStringLiteral("Doppelclick zum Starten des Mailprogramms"));
}

void RaceEditor::buildTabs()
{
    Picture1 = new QWidget(ad_p_adresse);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twRect(135, 5625, 8745, 4740));
    SSTab1 = new QTabWidget(Picture1);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(twRect(90, 90, 8565, 4560));

    auto *notes = new QWidget;
    ad_t_notiz = FormBuilder::tabPage(notes).make<QPlainTextEdit>(QStringLiteral("ad_t_notiz"),
                                                                  { 135, 540, 8295, 3840 });
    ad_t_notiz->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ad_t_notiz->setTabChangesFocus(true);
    ad_t_notiz->setAccessibleName(QStringLiteral("Notizen"));
    SSTab1->addTab(notes, QStringLiteral("  Notizen  "));

    auto *documents = new QWidget;
    FormBuilder onDocuments = FormBuilder::tabPage(documents);
    Frame2 = onDocuments.frame(QStringLiteral("Frame2"), QStringLiteral("Hinweis"),
                               { 135, 540, 8295, 1200 });
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
    DBGrid1_Dokumente = onDocuments.make<ListGrid>(QStringLiteral("DBGrid1_Dokumente"),
                                                   { 135, 1830, 8295, 2160 });
    DBGrid1_Dokumente->setAccessibleName(QStringLiteral("Zugeordnete Dokumente"));
    DBGrid1_Dokumente->setColors(QColor(0, 128, 255), QColor(255, 255, 255));
    SSTab1->addTab(documents, QStringLiteral("  Dokumente  "));

    auto *picture = new QWidget;
    FormBuilder onPicture = FormBuilder::tabPage(picture);
    Frame6 = onPicture.frame(QStringLiteral("Frame6"), QStringLiteral("Hinweis"),
                             { 135, 540, 8295, 2580 });
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
    // Two lines in the small font: it reaches up to the hint and across the page.
    ad_check_startbild = onPicture.checkBox<WrapCheckBox>(
        QStringLiteral("ad_check_startbild"),
        QStringLiteral("an die restlichen Tage bis zu diesem Lauf bei "
                       "jedem Programmstart mit diesem Bild erinnern"),
        { 585, 3270, 7845, 420 });
    a_l_datei = onPicture.label({}, { 585, 3690, 7305, 300 }, nullptr, QStringLiteral("a_l_datei"));
    a_l_datei->setTextFormat(Qt::PlainText);
    a_l_datei->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    a_l_datei->setAccessibleDescription(QStringLiteral("Bilddatei"));
    onPicture.caption(QStringLiteral("Bild:"), { 180, 3690, 375, 300 });
    SSTab1->addTab(picture, QStringLiteral("  Startbild  "));

    SSTab1->setCurrentIndex(0);
}

void RaceEditor::buildButtons()
{
    FormBuilder b(ad_p_adresse);
    m_cancelButton = b.button(QStringLiteral("db_abbr(3)"), QStringLiteral("&Abbrechen"),
                              { 12195, 10080, 1365, 375 }, Style::LightRed);
    m_saveButton = b.button(QStringLiteral("db_ok(3)"), QStringLiteral("&Speichern"),
                            { 13635, 10080, 1365, 375 }, Style::LightGreen);

    ProgressBar1 = new QProgressBar(ad_p_adresse);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(twRect(9045, 10080, 3060, 375));
    // One step per field written and two after storing: the bar never quite fills.
    ProgressBar1->setRange(0, 60);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("Fortschritt beim Speichern"));
    ProgressBar1->hide();
}

QList<QWidget *> RaceEditor::fieldStops() const
{
    return {
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
    };
}

void RaceEditor::buildTabOrder()
{
    // The buttons and the controls without Enter's rule come after the fields.
    setTabChain(fieldStops()
                + QList<QWidget *> { m_saveButton, m_cancelButton, ad_c_lauf_ort, ad_t_strecke_sg,
                                     ad_c_ort, ad_c_plz, ad_t_strecke, SSTab1, ad_t_notiz,
                                     DBGrid1_Dokumente, ad_check_startbild });
}
