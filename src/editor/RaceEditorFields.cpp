// SPDX-License-Identifier: GPL-3.0-or-later
// The race editor's fields and the race: which control shows which value, and the rules by
// which the controls are filled from a race and written back into it.
#include "editor/RaceEditor.h"

#include "common/GermanText.h"
#include "common/TextCut.h"
#include "editor/DateLabel.h"
#include "editor/EditorValues.h"
#include "ui/FieldLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>

namespace {
const QString kBlank = QStringLiteral(" ");
const QString kMarathon = QStringLiteral("Marathon");
const QString kHalfMarathon = QStringLiteral("Halb-Marathon");

// What a control holds, as the file keeps it: an empty control is an empty text, never NULL.
QString stored(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}
} // namespace

std::vector<RaceEditor::TextField> RaceEditor::textFields(Race &race) const
{
    Organiser &o = race.organiser;
    ContactPerson &c = race.contact;
    std::array<std::array<QString, 3>, 3> &fee = race.fees.fees;
    return {
        { ad_t_lauf_ort, &race.place },
        { ad_name2, &o.name },
        { ad_telefon1, &o.phone },
        { ad_fax, &o.fax },
        { ad_internet, &o.web },
        { ad_email, &o.email },
        { ad_konto1, &o.account },
        { ad_blz1, &o.bankCode },
        { ad_bank1, &o.bank },
        { ad_t_strecke_sg, &race.fees.thirdDistance },
        { ad_t_sg11, &fee[0][0] },
        { ad_t_sg12, &fee[0][1] },
        { ad_t_sg13, &fee[0][2] },
        { ad_t_sg21, &fee[1][0] },
        { ad_t_sg22, &fee[1][1] },
        { ad_t_sg23, &fee[1][2] },
        { ad_t_sg31, &fee[2][0] },
        { ad_t_sg32, &fee[2][1] },
        { ad_t_sg33, &fee[2][2] },
        { ad_name1, &c.surname },
        { ad_vorname, &c.firstName },
        { ad_plz, &c.postcode },
        { ad_ort, &c.town },
        { ad_pfplz, &c.poBoxPostcode },
        { ad_postfach, &c.poBox },
        { ad_direkt, &c.directPhone },
        { ad_funk, &c.mobile },
        { ad_email_ansprech, &c.email },
    };
}

std::vector<RaceEditor::ListField> RaceEditor::listFields(Race &race) const
{
    return {
        { 7, 35, &race.name },
        { 1, 35, &race.contact.title },
        { 3, 35, &race.contact.salutation },
        { 6, 50, &race.contact.street },
        { 9, 3, &race.contact.country },
        { 10, 35, &race.timing },
    };
}

void RaceEditor::showRace(const Race &shown)
{
    Race race = shown;
    // A copy keeps what the race is, not what the user did about it.
    const bool copy = m_mode == EditorMode::Copy;

    // A stored value longer than its field's limit is shown whole, so saving keeps it.
    for (const TextField &field : textFields(race))
        FieldLimit::showWhole(*field.control, *field.value);
    for (const ListField &field : listFields(race))
        aw_Combo1(field.index)->setEditText(*field.value);
    DateLabel *const deadlines[] = { ad_l_start1, ad_l_start2, ad_l_start3 };
    for (size_t i = 0; i < 3; ++i)
        deadlines[i]->setText(race.fees.deadlines[i].stored());

    if (!race.start.isNull()) {
        t_termin_stunde->setEditText(race.start.left(2));
        t_termin_minuten->setEditText(race.start.right(2));
    }
    ad_check_vorgemerkt->setChecked(race.noted.isSet() && !copy);
    ad_check_startbild->setChecked(race.onStartScreen.isSet());
    ad_check_angemeldet->setChecked(race.registered.isSet() && !copy);
    ad_check_gelaufen->setChecked(race.run.isSet() && !copy);

    if (!race.distance.isNull()) {
        if (race.distance == kMarathon) {
            ad_o_strecke(0)->setChecked(true);
        } else if (race.distance == kHalfMarathon) {
            ad_o_strecke(1)->setChecked(true);
        } else if (race.distance != kBlank) {
            ad_o_strecke(2)->setChecked(true);
            FieldLimit::showWhole(*ad_t_strecke, race.distance);
        }
    }

    a_l_datei->setText(race.picture.isNull() ? kBlank : race.picture);
    FieldLimit::showWhole(*ad_t_zeit, race.finishTime.isNull() ? kBlank : race.finishTime);

    const StoredDate &registered = race.registrationDate;
    ad_l_angemeldet->setText(
        registered.isNull() || copy ? kBlank : dateWithWeekdayOrText(registered.stored()));
    // A stored race date that is no date is shown as it is; saving asks for a date anyway.
    ad_l_lauf_datum->setText(dateWithWeekdayOrText(race.date.stored()));

    ad_check_alarm->setChecked(race.reminder.isSet() && !copy);
    ad_check_bezahlt->setChecked(race.paid.isSet() && !copy);

    const QString reminder = race.reminderDate.stored();
    ad_l_alarm->setText(!isDateText(reminder) || reminder == kNoReminderDate || copy
                            ? QString()
                            : dateWithWeekdayOrText(reminder));
    // A transfer date that is no date leaves the label as it was.
    if (race.paidDate.isNull() || copy)
        ad_l_ueberwiesen->setText(QString());
    else if (isDateText(race.paidDate.stored()))
        ad_l_ueberwiesen->setText(dateWithWeekdayOrText(race.paidDate.stored()));

    ad_t_notiz->setPlainText(race.notes);
}

void RaceEditor::writeRace(Race &race)
{
    for (const ListField &field : listFields(race)) {
        *field.value = stored(leftWhole(aw_Combo1(field.index)->currentText(), field.maxLength));
        stepProgress();
    }
    for (const TextField &field : textFields(race)) {
        *field.value = stored(field.control->text());
        stepProgress();
    }
    DateLabel *const deadlines[] = { ad_l_start1, ad_l_start2, ad_l_start3 };
    for (size_t i = 0; i < 3; ++i) {
        race.fees.deadlines[i] = StoredDate(stored(deadlines[i]->text()));
        stepProgress();
    }

    // A race date that is no date is stored as it stands and keeps its weekday.
    const QString raceDate = ad_l_lauf_datum->text().left(10);
    race.date = StoredDate(stored(raceDate));
    const QDate date = parseGermanDate(raceDate);
    if (date.isValid())
        race.weekday = weekdayName(date.dayOfWeek()).left(2);
    race.start = startTimePart(t_termin_stunde->currentText()) + QLatin1Char(':')
        + startTimePart(t_termin_minuten->currentText());
    race.noted.set(ad_check_vorgemerkt->isChecked());
    race.onStartScreen.set(ad_check_startbild->isChecked());
    stepProgress();

    // Registered: the date, or "Ja" when none was chosen. The distance is kept only for a
    // race that is registered or run.
    race.registered.set(ad_check_angemeldet->isChecked());
    if (ad_check_angemeldet->isChecked()) {
        if (ad_l_angemeldet->text() == kBlank)
            ad_l_angemeldet->setText(QStringLiteral("Ja"));
        race.registrationDate = StoredDate(stored(ad_l_angemeldet->text().left(10)));
        writeDistance(race);
    } else {
        race.registrationDate = StoredDate(kBlank);
        if (!ad_check_gelaufen->isChecked())
            race.distance = kBlank;
    }
    race.run.set(ad_check_gelaufen->isChecked());
    if (ad_check_gelaufen->isChecked()) {
        writeDistance(race);
        race.finishTime = stored(ad_t_zeit->text());
    } else {
        race.finishTime = kBlank;
    }
    stepProgress();

    race.reminder.set(ad_check_alarm->isChecked());
    const QString reminder = ad_l_alarm->text().left(10);
    race.reminderDate = StoredDate(isDateText(reminder) ? reminder : kNoReminderDate);
    race.paid.set(ad_check_bezahlt->isChecked());
    race.paidDate = StoredDate(stored(ad_l_ueberwiesen->text().left(10)));
    race.picture = stored(leftWhole(a_l_datei->text(), 255));

    race.notes = stored(ad_t_notiz->toPlainText());
    race.hasNotes.set(!race.notes.isEmpty());
    stepProgress();
}

// The three options are tested one after the other; with none chosen the stored value stays.
void RaceEditor::writeDistance(Race &race)
{
    if (ad_o_strecke(0)->isChecked())
        race.distance = kMarathon;
    if (ad_o_strecke(1)->isChecked())
        race.distance = kHalfMarathon;
    if (ad_o_strecke(2)->isChecked())
        race.distance = stored(ad_t_strecke->text());
}

void RaceEditor::stepProgress()
{
    ProgressBar1->setValue(qMin(ProgressBar1->value() + 1, ProgressBar1->maximum()));
}
