// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the race editor: saving (or deleting) the race, and cancelling.
#include "editor/Adressen_Form.h"

#include "common/GermanText.h"
#include "common/TextCut.h"
#include "context/AppContext.h"
#include "editor/DateLabel.h"
#include "editor/EditorValues.h"
#include "editor/PickListCombo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>

namespace {
const QString kBlank = QStringLiteral(" ");
const QString kJa = QStringLiteral("Ja");
} // namespace

void Adressen_Form::db_ok_Click(int)
{
    SharedVars &v = ctx.vars;
    const bool deleting = v.loeschen_jn == QLatin1String("ja");
    if (!deleting)
        m_pickLists->leaveFocusedCombo();
    if (aw_Combo1(7)->currentText().isEmpty() && !deleting) {
        const QString shownText
            = QStringLiteral("Geben Sie bitte einen Namen ein oder klicken Sie auf 'Abbrechen'!");
        ctx.ui.message(shownText, Ui::Icon::Warning, Ui::Buttons::Ok);
        return;
    }
    if (ad_l_lauf_datum->text().isEmpty() && !deleting) {
        const QString shownText
            = QStringLiteral("Geben Sie bitte ein Datum ein oder klicken Sie auf 'Abbrechen'!");
        ctx.ui.message(shownText, Ui::Icon::Warning, Ui::Buttons::Ok);
        return;
    }
    // A row changed since it was read (ErrNo::RowChanged) is not reported; the editor stays open.
    const bool done = ctx.guard(
        [this, deleting] {
            DataSource &races = ctx.Lauf_db;
            if (deleting) {
                const QString shownText
                    = QStringLiteral("Soll dieser Lauf wirklich gelöscht werden ?");
                if (ctx.ui.message(shownText, Ui::Icon::Question, Ui::Buttons::YesNo)
                    == Ui::Answer::Yes) {
                    races.deleteCurrent();
                    ctx.vars.akt_ad_nummer.clear();
                }
            } else {
                ProgressBar1->show();
                ProgressBar1->setValue(0);
                writeRecord();
                races.update();
                if (!races.eof())
                    races.reread();
                stepProgress();
                stepProgress();
                ProgressBar1->hide();
            }
            races.refresh();
            finish(true);
        },
        { ErrNo::RowChanged });
    if (!done)
        ProgressBar1->hide();
}

void Adressen_Form::stepProgress()
{
    ProgressBar1->setValue(qMin(ProgressBar1->value() + 1, ProgressBar1->maximum()));
}

void Adressen_Form::writeRecord()
{
    DataSource &r = ctx.Lauf_db;
    auto put = [&](const char *field, const QVariant &value) {
        r.setValue(QString::fromLatin1(field), value);
        stepProgress();
    };
    auto combo = [this](int index, int length) {
        return leftWhole(aw_Combo1(index)->currentText(), length);
    };

    put("ad_lauf", combo(7, 35));
    put("ad_lauf_ort", ad_t_lauf_ort->text());
    const QString raceDate = ad_l_lauf_datum->text().left(10);
    put("ad_lauf_datum", raceDate);
    const QDate date = parseGermanDate(raceDate);
    if (date.isValid())
        put("ad_lauf_wotag", weekdayName(date.dayOfWeek()).left(2));
    else
        stepProgress();
    put("ad_start",
        startTimePart(t_termin_stunde->currentText()) + QLatin1Char(':')
            + startTimePart(t_termin_minuten->currentText()));
    put("ad_vorgemerkt_jn", ad_check_vorgemerkt->isChecked());
    put("ad_startbild_jn", ad_check_startbild->isChecked());

    // Registered: the date, or "Ja" when none was chosen. The distance is kept only for a
    // race that is registered or run.
    if (ad_check_angemeldet->isChecked()) {
        put("ad_ang_jn", true);
        if (ad_l_angemeldet->text() == kBlank)
            ad_l_angemeldet->setText(kJa);
        put("ad_ang_datum", ad_l_angemeldet->text().left(10));
        writeDistance();
    } else {
        put("ad_ang_jn", false);
        put("ad_ang_datum", kBlank);
        if (!ad_check_gelaufen->isChecked())
            r.setValue(QStringLiteral("ad_strecke"), kBlank);
        stepProgress();
    }
    if (ad_check_gelaufen->isChecked()) {
        put("ad_gelaufen_jn", kJa);
        writeDistance();
        put("ad_zeit", ad_t_zeit->text());
    } else {
        put("ad_gelaufen_jn", kBlank);
        put("ad_zeit", kBlank);
    }

    put("ad_strecke_sg", ad_t_strecke_sg->text());
    put("ad_sg1_datum", ad_l_start1->text());
    put("ad_sg2_datum", ad_l_start2->text());
    put("ad_sg3_datum", ad_l_start3->text());
    put("ad_sg11", ad_t_sg11->text());
    put("ad_sg12", ad_t_sg12->text());
    put("ad_sg13", ad_t_sg13->text());
    put("ad_sg21", ad_t_sg21->text());
    put("ad_sg22", ad_t_sg22->text());
    put("ad_sg23", ad_t_sg23->text());
    put("ad_sg31", ad_t_sg31->text());
    put("ad_sg32", ad_t_sg32->text());
    put("ad_sg33", ad_t_sg33->text());
    put("ad_konto1", ad_konto1->text());
    put("ad_blz1", ad_blz1->text());
    put("ad_bank1", ad_bank1->text());

    put("ad_alarm_jn", ad_check_alarm->isChecked() ? kJa : kBlank);
    const QString reminder = ad_l_alarm->text().left(10);
    put("ad_alarm_datum", isDateText(reminder) ? reminder : QStringLiteral("01.01.1900"));
    put("ad_bezahlt_jn", ad_check_bezahlt->isChecked() ? kJa : kBlank);
    put("ad_bezahlt_datum", ad_l_ueberwiesen->text().left(10));
    put("ad_startbild", leftWhole(a_l_datei->text(), 255));

    put("ad_name_veranst", ad_name2->text());
    put("ad_name_ansprech", ad_name1->text());
    put("ad_vorname_ansprech", ad_vorname->text());
    put("ad_ort_ansprech", ad_ort->text());
    put("ad_plz_ansprech", ad_plz->text());
    put("ad_pfplz_ansprech", ad_pfplz->text());
    put("ad_postfach_ansprech", ad_postfach->text());
    put("ad_telefon1_veranst", ad_telefon1->text());
    put("ad_direkt_ansprech", ad_direkt->text());
    put("ad_mobil_ansprech", ad_funk->text());
    put("ad_fax_veranst", ad_fax->text());
    put("ad_email_veranst", ad_email->text());
    put("ad_email_ansprech", ad_email_ansprech->text());
    put("ad_internet_veranst", ad_internet->text());

    put("ad_titel_ansprech", combo(1, 35));
    put("ad_anrede_ansprech", combo(3, 35));
    put("ad_strasse_ansprech", combo(6, 50));
    put("ad_land_ansprech", combo(9, 3));
    put("ad_zeitmessung", combo(10, 35));

    const QString notes = ad_t_notiz->toPlainText();
    r.setValue(QStringLiteral("ad_memo"), notes);
    put("ad_memo_jn", notes.isEmpty() ? QString() : kJa);
}

// The three options are tested one after the other; with none chosen the stored value stays.
void Adressen_Form::writeDistance()
{
    DataSource &r = ctx.Lauf_db;
    const QString field = QStringLiteral("ad_strecke");
    if (ad_o_strecke(0)->isChecked())
        r.setValue(field, QStringLiteral("Marathon"));
    if (ad_o_strecke(1)->isChecked())
        r.setValue(field, QStringLiteral("Halb-Marathon"));
    if (ad_o_strecke(2)->isChecked())
        r.setValue(field, ad_t_strecke->text());
    stepProgress();
}

void Adressen_Form::db_abbr_Click(int)
{
    ctx.guard([this] {
        DataSource &races = ctx.Lauf_db;
        const bool added
            = ctx.vars.neu_jn == QLatin1String("ja") || ctx.vars.bearb_modus == BearbModus::Copy;
        // Only the blank row of this opening goes: if adding it failed, the current row is
        // the race the user had chosen.
        if (added && m_addedRow.isValid() && !races.eof() && !races.bof()
            && races.bookmark() == m_addedRow)
            races.deleteCurrent();
        if (races.hasRows())
            races.moveFirst();
        finish(false);
    });
}

void Adressen_Form::reject()
{
    db_abbr_Click(3);
}

void Adressen_Form::finish(bool saved)
{
    ctx.vars.aufruf_form.clear();
    if (saved)
        QDialog::accept();
    else
        QDialog::reject();
}
