#include "racelist/RaceListQuery.h"

#include "common/GermanText.h"

const QString kReminderHeadline = QStringLiteral(
    "Alle Läufe, für die an eine Bezahlung erinnert werden soll. Fristen laufen eventuell ab!");

namespace {
QString quotedDate(const QDate &today)
{
    return QStringLiteral("'") + formatDate(today) + QStringLiteral("'");
}

struct Option
{
    const char16_t *where;
    const char16_t *phrase;
};

// Index = option button; option 0 keeps the time filter's where clause.
const Option kOptions[] = {
    { nullptr, nullptr },
    { u"where ad_ang_jn=true ", u", für die eine Anmeldung erfolgt ist" },
    { u"where ad_alarm_jn='Ja' and ad_alarm_datum<>'01.01.1900' ",
      u", für die an eine Bezahlung erinnert werden soll. Fristen laufen eventuell ab!" },
    { u"where ad_gelaufen_jn='Ja' ", u", die gelaufen wurden" },
    { u"where ad_bezahlt_jn='Ja' ", u", die bezahlt wurden" },
    { u"where ad_vorgemerkt_jn=true ", u", die vorgemerkt wurden" },
};
} // namespace

RaceListQuery buildRaceListQuery(const RaceListSelection &selection, const QDate &today)
{
    RaceListQuery q;
    q.sql_select = QStringLiteral("select * from adressen ");
    q.sql_where = QStringLiteral("where ad_lauf <> '' ");
    q.sql_order = QStringLiteral("order by cdate(ad_lauf_datum) desc");

    if (selection.future && !selection.past) {
        q.sql_datum = QStringLiteral("and (Datevalue(ad_lauf_datum) >= Datevalue( ")
            + quotedDate(today) + QStringLiteral("))   ");
        q.headline = QStringLiteral("Alle zukünftigen Läufe");
    } else if (!selection.future && selection.past) {
        q.sql_datum = QStringLiteral("and (Datevalue(ad_lauf_datum) < Datevalue( ")
            + quotedDate(today) + QStringLiteral("))   ");
        q.headline = QStringLiteral("Alle vergangenen Läufe");
    } else {
        q.headline = QStringLiteral("Alle Läufe");
    }

    if (selection.option >= 1 && selection.option <= 5) {
        const Option &o = kOptions[selection.option];
        q.sql_where = QString::fromUtf16(o.where);
        q.headline += QString::fromUtf16(o.phrase);
    } else if (selection.option == 0) {
        q.sql_select = QStringLiteral("select * from adressen ");
    }
    return q;
}

QString startScreenStatement(const QDate &today)
{
    return QStringLiteral("select * from adressen where ad_startbild_jn = true and "
                          "(Datevalue(ad_lauf_datum) >= Datevalue( ")
        + quotedDate(today) + QStringLiteral(")) order by cdate(ad_lauf_datum)");
}

QString reminderStatement(const QDate &today)
{
    return QStringLiteral("select * from adressen where ad_alarm_jn = 'Ja' and "
                          "(Datevalue(ad_alarm_datum) <= Datevalue( ")
        + quotedDate(today)
        + QStringLiteral(")) and ad_alarm_datum<>'01.01.1900' order by cdate(ad_lauf_datum) "
                         "desc");
}
