#pragma once

#include <QDate>
#include <QString>

// The race list's filter controls as the list procedure reads them.
struct RaceListSelection
{
    bool future = true; // "zukünftige Läufe"
    bool past = false; // "vergangene Läufe"
    int option = -1; // selected "Auswahl" option 0..5, -1 when none is selected
};

// The four parts of the list statement and the headline that says what the list shows.
struct RaceListQuery
{
    QString sql_select;
    QString sql_where;
    QString sql_datum;
    QString sql_order;
    QString headline;

    QString sql_gesamt() const { return sql_select + sql_where + sql_datum + sql_order; }
};

RaceListQuery buildRaceListQuery(const RaceListSelection &selection, const QDate &today);

// Races marked for the start screen that lie today or later, nearest first.
QString startScreenStatement(const QDate &today);
// Races whose payment reminder is due by today, latest race first.
QString reminderStatement(const QDate &today);

extern const QString kReminderHeadline;
