// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the race editor: preparing the record for the mode, showing its fields, filling
// the pick lists, and the two check-box and option rules that also apply while loading.
#include "editor/Adressen_Form.h"

#include "context/AppContext.h"
#include "editor/DateLabel.h"
#include "editor/EditorValues.h"
#include "editor/FieldBehaviours.h"
#include "editor/PickListCombo.h"
#include "editor/PictureTab.h"
#include "ui/DataGrid.h"
#include "ui/FieldLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>

namespace {
bool isNull(const QVariant &v)
{
    return v.isNull() || !v.isValid();
}

// A field as text; null reads as the given text.
QString text(const QVariant &v, const QString &whenNull = QString())
{
    return isNull(v) ? whenNull : v.toString();
}

bool fieldYes(const QVariant &v)
{
    return !isNull(v) && v.toBool();
}

bool fieldJa(const QVariant &v)
{
    return text(v) == QLatin1String("Ja");
}
} // namespace

Adressen_Form::Adressen_Form(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , ctx(ctx)
{
    buildForm();
    buildDocuments();
    new PictureTab(ctx, *this); // owned by this window

    connect(ad_check_bezahlt, &QCheckBox::toggled, this, [this] { ad_check_bezahlt_Click(); });
    for (const auto &[index, option] : ad_o_strecke) {
        connect(option, &QRadioButton::toggled, this, [this, index = index](bool on) {
            if (on)
                ad_o_strecke_Click(index);
        });
    }
    connect(db_ok(3), &QPushButton::clicked, this, [this] { db_ok_Click(3); });
    connect(db_abbr(3), &QPushButton::clicked, this, [this] { db_abbr_Click(3); });
    m_fieldBehaviours = std::make_unique<FieldBehaviours>(ctx, *this);
    m_pickLists = std::make_unique<PickListCombos>(ctx, aw_Combo1);

    Form_Load();
}

Adressen_Form::~Adressen_Form() = default;

bool Adressen_Form::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

void Adressen_Form::Form_Load()
{
    ctx.guard([this] {
        SharedVars &v = ctx.vars;
        v.loeschen_jn = QStringLiteral("nein");

        ad_l_angemeldet->setText(QStringLiteral(" "));
        ad_t_strecke->setText(QStringLiteral(" "));
        ad_t_zeit->setText(QStringLiteral(" "));
        ad_o_strecke_Click(0);

        for (int i = 0; i <= 23; ++i)
            t_termin_stunde->addItem(QLatin1Char(' ') + QString::number(i));
        for (int i = 0; i <= 55; i += 5)
            t_termin_minuten->addItem(QLatin1Char(' ') + QString::number(i));
        t_termin_stunde->setCurrentIndex(-1);
        t_termin_stunde->setEditText(QStringLiteral("9"));
        t_termin_minuten->setCurrentIndex(-1);
        t_termin_minuten->setEditText(QStringLiteral("00"));

        v.aufruf_form = QStringLiteral("adressen_form");

        ereignisse_dokumente_db.setDatabaseName(ctx.paths.database());
        if (v.neu_jn != QLatin1String("ja") && v.bearb_modus != BearbModus::Copy)
            ereignisse_dokumente_db.setRecordSource(
                QStringLiteral("select * from ereignisse_dokumente where val(ed_nummer)= '")
                + numberOfText(v.akt_ad_nummer) + QStringLiteral("' order by erd_nummer desc"));
        else
            ereignisse_dokumente_db.setRecordSource(
                QStringLiteral("select * from ereignisse_dokumente where val(ed_nummer)= -1"));
        ereignisse_dokumente_db.refresh();
        if (ereignisse_dokumente_db.recordCount() > 0)
            ereignisse_dokumente_db.moveFirst();
        DBGrid1_Dokumente->setColors(QColor(0, 128, 255), QColor(255, 255, 255));

        const int mode = v.bearb_modus;
        if (mode == BearbModus::New) {
            clearForNewRace();
            addBlankRace();
        }
        if (mode == BearbModus::Edit || mode == BearbModus::Delete || mode == BearbModus::Copy) {
            if (mode == BearbModus::Edit)
                ctx.Lauf_db.edit();
            showRecord();
        }
        if (mode == BearbModus::Delete) {
            for (QWidget *w : { static_cast<QWidget *>(Frame1), static_cast<QWidget *>(Frame4),
                                static_cast<QWidget *>(Frame9), static_cast<QWidget *>(Frame10),
                                static_cast<QWidget *>(SSTab1) })
                w->setEnabled(false);
            v.loeschen_jn = QStringLiteral("ja");
            db_ok(3)->setText(QStringLiteral("Löschen"));
            ctx.Lauf_db.edit();
        }
        if (mode == BearbModus::Copy)
            addBlankRace();
    });
}

void Adressen_Form::clearForNewRace()
{
    for (QLineEdit *field :
         { ad_t_lauf_ort, ad_name1, ad_name2, ad_vorname, ad_pfplz, ad_postfach, ad_telefon1,
           ad_direkt, ad_funk, ad_fax, ad_email, ad_internet, ad_ort, ad_plz, ad_email_ansprech })
        field->clear();
    ad_l_lauf_datum->clear();
    for (int index : { 3, 1, 6, 7, 9, 10 })
        aw_Combo1(index)->setEditText(QString());
    ad_t_notiz->clear();
}

// New race and copy: the row exists in the file from the start, so that documents can be
// linked to its number before the race is saved. A just-stored row is the last of the set.
void Adressen_Form::addBlankRace()
{
    DataSource &races = ctx.Lauf_db;
    races.addNew();
    races.update();
    races.moveLast();
    m_addedRow = races.bookmark();
    races.edit();
    ctx.vars.akt_ad_nummer = text(races.value(QStringLiteral("ad_nummer")));
}

void Adressen_Form::showRecord()
{
    const DataSource &r = ctx.Lauf_db;
    const bool copy = ctx.vars.bearb_modus == BearbModus::Copy;
    auto field = [&r](const char *name) { return r.value(QString::fromLatin1(name)); };
    // A stored value longer than its field's limit is shown whole, so saving keeps it.
    auto show = [&](QLineEdit *control, const char *name) {
        FieldLimit::showWhole(*control, text(field(name)));
    };
    auto showCombo
        = [&](int index, const char *name) { aw_Combo1(index)->setEditText(text(field(name))); };

    const QVariant start = field("ad_start");
    if (!isNull(start)) {
        t_termin_stunde->setEditText(start.toString().left(2));
        t_termin_minuten->setEditText(start.toString().right(2));
    }
    ad_check_vorgemerkt->setChecked(fieldYes(field("ad_vorgemerkt_jn")) && !copy);
    ad_check_startbild->setChecked(fieldYes(field("ad_startbild_jn")));
    ad_check_angemeldet->setChecked(fieldYes(field("ad_ang_jn")) && !copy);
    ad_check_gelaufen->setChecked(fieldJa(field("ad_gelaufen_jn")) && !copy);

    const QVariant distance = field("ad_strecke");
    if (!isNull(distance)) {
        const QString d = distance.toString();
        if (d == QLatin1String("Marathon")) {
            ad_o_strecke(0)->setChecked(true);
        } else if (d == QLatin1String("Halb-Marathon")) {
            ad_o_strecke(1)->setChecked(true);
        } else if (d != QLatin1String(" ")) {
            ad_o_strecke(2)->setChecked(true);
            FieldLimit::showWhole(*ad_t_strecke, d);
        }
    }

    a_l_datei->setText(text(field("ad_startbild"), QStringLiteral(" ")));
    FieldLimit::showWhole(*ad_t_zeit, text(field("ad_zeit"), QStringLiteral(" ")));

    const QVariant registered = field("ad_ang_datum");
    ad_l_angemeldet->setText(isNull(registered) || copy ? QStringLiteral(" ")
                                                        : dateWithWeekdayOrText(text(registered)));
    // A stored race date that is no date is shown as it is; saving asks for a date anyway.
    ad_l_lauf_datum->setText(dateWithWeekdayOrText(text(field("ad_lauf_datum"))));

    show(ad_t_lauf_ort, "ad_lauf_ort");
    showCombo(7, "ad_lauf");
    show(ad_konto1, "ad_konto1");
    show(ad_blz1, "ad_blz1");
    show(ad_bank1, "ad_bank1");
    show(ad_t_strecke_sg, "ad_strecke_sg");
    ad_l_start1->setText(text(field("ad_sg1_datum")));
    ad_l_start2->setText(text(field("ad_sg2_datum")));
    ad_l_start3->setText(text(field("ad_sg3_datum")));
    show(ad_t_sg11, "ad_sg11");
    show(ad_t_sg12, "ad_sg12");
    show(ad_t_sg13, "ad_sg13");
    show(ad_t_sg21, "ad_sg21");
    show(ad_t_sg22, "ad_sg22");
    show(ad_t_sg23, "ad_sg23");
    show(ad_t_sg31, "ad_sg31");
    show(ad_t_sg32, "ad_sg32");
    show(ad_t_sg33, "ad_sg33");

    ad_check_alarm->setChecked(fieldJa(field("ad_alarm_jn")) && !copy);
    ad_check_bezahlt->setChecked(fieldJa(field("ad_bezahlt_jn")) && !copy);

    const QString reminder = text(field("ad_alarm_datum"));
    ad_l_alarm->setText(!isDateText(reminder) || reminder == QLatin1String("01.01.1900") || copy
                            ? QString()
                            : dateWithWeekdayOrText(reminder));
    const QVariant paid = field("ad_bezahlt_datum");
    if (isNull(paid) || copy)
        ad_l_ueberwiesen->setText(QString());
    else if (isDateText(paid.toString()))
        ad_l_ueberwiesen->setText(dateWithWeekdayOrText(paid.toString()));

    show(ad_name1, "ad_name_ansprech");
    show(ad_name2, "ad_name_veranst");
    show(ad_ort, "ad_ort_ansprech");
    show(ad_plz, "ad_plz_ansprech");
    show(ad_vorname, "ad_vorname_ansprech");
    show(ad_pfplz, "ad_pfplz_ansprech");
    show(ad_postfach, "ad_postfach_ansprech");
    showCombo(1, "ad_titel_ansprech");
    showCombo(3, "ad_anrede_ansprech");
    showCombo(6, "ad_strasse_ansprech");
    showCombo(9, "ad_land_ansprech");
    showCombo(10, "ad_zeitmessung");
    show(ad_telefon1, "ad_telefon1_veranst");
    show(ad_direkt, "ad_direkt_ansprech");
    show(ad_funk, "ad_mobil_ansprech");
    show(ad_fax, "ad_fax_veranst");
    show(ad_email, "ad_email_veranst");
    show(ad_email_ansprech, "ad_email_ansprech");
    show(ad_internet, "ad_internet_veranst");
    ad_t_notiz->setPlainText(text(field("ad_memo")));
}

void Adressen_Form::Form_Activate()
{
    ctx.guard([this] { m_pickLists->fillListsOnce(); });
}

void Adressen_Form::ad_check_bezahlt_Click()
{
    if (!ad_check_bezahlt->isChecked())
        ad_l_ueberwiesen->setText(QStringLiteral(" "));
    else
        ad_check_alarm->setChecked(false);
}

void Adressen_Form::ad_o_strecke_Click(int index)
{
    ad_t_strecke->setVisible(index == 2);
}
