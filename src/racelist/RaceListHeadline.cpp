// SPDX-License-Identifier: GPL-3.0-or-later
#include "racelist/RaceListHeadline.h"

const QString kReminderHeadline = QStringLiteral(
    "Alle Läufe, für die an eine Bezahlung erinnert werden soll. Fristen laufen eventuell ab!");

QString raceListHeadline(const RaceListFilter &filter)
{
    QString headline;
    if (filter.future && !filter.past)
        headline = QStringLiteral("Alle zukünftigen Läufe");
    else if (!filter.future && filter.past)
        headline = QStringLiteral("Alle vergangenen Läufe");
    else
        headline = QStringLiteral("Alle Läufe");

    switch (filter.option.value_or(RaceSelection::Named)) {
    case RaceSelection::Named:
        break;
    case RaceSelection::Registered:
        headline += QStringLiteral(", für die eine Anmeldung erfolgt ist");
        break;
    case RaceSelection::Reminder:
        headline += QStringLiteral(
            ", für die an eine Bezahlung erinnert werden soll. Fristen laufen eventuell ab!");
        break;
    case RaceSelection::Run:
        headline += QStringLiteral(", die gelaufen wurden");
        break;
    case RaceSelection::Paid:
        headline += QStringLiteral(", die bezahlt wurden");
        break;
    case RaceSelection::Noted:
        headline += QStringLiteral(", die vorgemerkt wurden");
        break;
    }
    return headline;
}
