#include "icalexport/CalendarEntries.h"

#include "common/GermanText.h"
#include "model/EntryFees.h"

#include <QRegularExpression>
#include <QUrl>

#include <cmath>

namespace {

const char16_t *const kDistanceRows[3] = { u"Marathon", u"Halb-Marathon", nullptr };

bool blank(const QString &text)
{
    return text.trimmed().isEmpty();
}

QString uid(const char *kind, qlonglong race)
{
    return QStringLiteral("strivo-%1-%2@strivo").arg(QLatin1String(kind)).arg(race);
}

QString rowName(const Race &r, int row)
{
    if (kDistanceRows[row])
        return QString::fromUtf16(kDistanceRows[row]);
    return blank(r.fees.thirdDistance) ? QStringLiteral("andere Strecke")
                                       : r.fees.thirdDistance.trimmed();
}

// The fee-table row of the distance the runner registered for; -1 when none or unknown.
int registeredRow(const Race &r)
{
    if (!r.registered.isSet() || blank(r.distance))
        return -1;
    const QString d = r.distance.trimmed();
    for (int row = 0; row < 2; ++row)
        if (d.compare(QString::fromUtf16(kDistanceRows[row]), Qt::CaseInsensitive) == 0)
            return row;
    if (!blank(r.fees.thirdDistance)
        && d.compare(r.fees.thirdDistance.trimmed(), Qt::CaseInsensitive) == 0)
        return 2;
    return -1;
}

// "Marathon: 45 €" lines of one deadline for the registered row, or all rows that hold a fee.
QString feeLines(const Race &r, int deadline, int row)
{
    QStringList lines;
    for (int i = 0; i < 3; ++i) {
        if ((row >= 0 && i != row) || (row < 0 && blank(r.fees.fees[deadline][i])))
            continue;
        const QString fee = blank(r.fees.fees[deadline][i]) ? QStringLiteral("keine Angabe")
                                                            : r.fees.fees[deadline][i].trimmed();
        lines << rowName(r, i) + QStringLiteral(": ") + fee;
    }
    return lines.isEmpty() ? QStringLiteral("keine Angabe") : lines.join(u'\n');
}

QString raceDescription(const Race &r, const QTime &start)
{
    QStringList lines;
    if (!blank(r.distance))
        lines << QStringLiteral("Strecke: ") + r.distance.trimmed();
    if (!start.isValid() && !blank(r.start))
        lines << QStringLiteral("Startzeit: ") + r.start.trimmed()
                + QStringLiteral(" (keine gültige Uhrzeit)");
    if (r.registered.isSet()) {
        const QDate on = parseGermanDate(r.registrationDate.stored());
        lines << (on.isValid() ? QStringLiteral("Angemeldet: ja, am ") + formatDate(on)
                               : QStringLiteral("Angemeldet: ja"));
    } else {
        lines << (r.noted.isSet() ? QStringLiteral("Angemeldet: nein (vorgemerkt)")
                                  : QStringLiteral("Angemeldet: nein"));
    }
    if (r.paid.isSet()) {
        const QDate on = parseGermanDate(r.paidDate.stored());
        lines << (on.isValid() ? QStringLiteral("Startgeld: bezahlt am ") + formatDate(on)
                               : QStringLiteral("Startgeld: bezahlt"));
    } else {
        lines << QStringLiteral("Startgeld: nicht bezahlt");
    }
    if (!blank(r.organiser.name))
        lines << QStringLiteral("Veranstalter: ") + r.organiser.name.trimmed();
    if (!blank(r.organiser.web))
        lines << QStringLiteral("Internet: ") + r.organiser.web.trimmed();
    if (r.run.isSet() && !blank(r.finishTime))
        lines << QStringLiteral("Zielzeit: ") + r.finishTime.trimmed();
    if (!blank(r.notes))
        lines << QStringLiteral("Notizen:\n") + r.notes;
    return lines.join(u'\n');
}

QString summaryOf(const Race &r)
{
    const QString name = blank(r.name) ? QStringLiteral("Lauf ohne Namen") : r.name.trimmed();
    return blank(r.place) ? name : name + QStringLiteral(" (") + r.place.trimmed() + u')';
}

QString raceName(const Race &r)
{
    return blank(r.name) ? QStringLiteral("Lauf ohne Namen") : r.name.trimmed();
}

CalendarEntry allDay(const Race &r, CalendarEntry::Kind kind, const QDate &date)
{
    CalendarEntry e;
    e.kind = kind;
    e.race = r.number;
    e.date = date;
    e.location = r.place.trimmed();
    e.url = webUri(r.organiser.web);
    return e;
}

// "Startgeld steigt von 45,00 € auf 55,00 €" when the race's fee changes after deadline `k`;
// empty when it does not, or when the race's distance has no row of the table.
QString feeChange(const std::vector<FeeStep> &steps, int k)
{
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        if (steps[i].deadlineIndex != k)
            continue;
        const FeeAmount &now = steps[i].fee;
        const FeeAmount &then = steps[i + 1].fee;
        return QStringLiteral("Startgeld %1 von %2 auf %3")
            .arg(feeChangeVerb(now, then), now.shown(), then.shown());
    }
    return {};
}

void addFeeDeadlines(const Race &r, const QDate &today, QList<CalendarEntry> &out)
{
    const int row = registeredRow(r);
    const std::vector<FeeStep> steps = feeSteps(r);
    for (int k = 0; k < 3; ++k) {
        const QDate due = parseGermanDate(r.fees.deadlines[k].stored());
        if (!due.isValid() || due < today)
            continue;
        CalendarEntry e = allDay(r, CalendarEntry::Kind::FeeDeadline, due);
        e.deadline = k + 1;
        e.uid = uid(k == 0 ? "frist1" : k == 1 ? "frist2" : "frist3", r.number);
        e.summary = QStringLiteral("Startgeld-Frist: ") + raceName(r);
        const QString change = feeChange(steps, k);
        QString text = (change.isEmpty() ? QString() : change + QStringLiteral("\n\n"))
            + QStringLiteral("Startgeld bis zum ") + formatDate(due) + QStringLiteral(":\n")
            + feeLines(r, k, row);
        if (k < 2) {
            const QDate next = parseGermanDate(r.fees.deadlines[k + 1].stored());
            text += (next.isValid() ? QStringLiteral("\n\nDanach bis zum ") + formatDate(next)
                                    : QStringLiteral("\n\nDanach"))
                + QStringLiteral(":\n") + feeLines(r, k + 1, row);
        } else {
            text += QStringLiteral("\n\nDanach: keine Angabe");
        }
        text += QStringLiteral("\n\nLauf am ") + formatDate(parseGermanDate(r.date.stored()));
        e.description = text;
        out << e;
    }
}

void addPaymentReminder(const Race &r, const QDate &today, QList<CalendarEntry> &out)
{
    const QDate due = parseGermanDate(r.reminderDate.stored());
    if (!r.reminder.isSet() || !due.isValid() || due == QDate(1900, 1, 1) || due < today)
        return;
    CalendarEntry e = allDay(r, CalendarEntry::Kind::PaymentReminder, due);
    e.uid = uid("zahlung", r.number);
    e.summary = QStringLiteral("Startgeld überweisen: ") + raceName(r);
    QStringList lines { QStringLiteral("Lauf am ") + formatDate(parseGermanDate(r.date.stored())) };
    if (!blank(r.organiser.bank))
        lines << QStringLiteral("Bank: ") + r.organiser.bank.trimmed();
    if (!blank(r.organiser.bankCode))
        lines << QStringLiteral("BLZ: ") + r.organiser.bankCode.trimmed();
    if (!blank(r.organiser.account))
        lines << QStringLiteral("Konto: ") + r.organiser.account.trimmed();
    e.description = lines.join(u'\n');
    out << e;
}

} // namespace

QTime parseStartTime(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(R"(^(\d{1,2})(?:[:.](\d{2}))?$)"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    return QTime(m.captured(1).toInt(), m.captured(2).isEmpty() ? 0 : m.captured(2).toInt());
}

int raceMinutes(const QString &distance)
{
    double km = 0;
    const QString d = distance.trimmed();
    static const QRegularExpression kilometres(QStringLiteral(R"((\d+(?:[.,]\d+)?)\s*km\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = kilometres.match(d);
    if (m.hasMatch())
        km = m.captured(1).replace(u',', u'.').toDouble();
    else if (d.contains(QStringLiteral("halb"), Qt::CaseInsensitive)
             && d.contains(QStringLiteral("marathon"), Qt::CaseInsensitive))
        km = 21.0975;
    else if (d.contains(QStringLiteral("marathon"), Qt::CaseInsensitive))
        km = 42.195;
    if (km <= 0)
        return 180;
    // Beyond a day the estimate means nothing; a 24-hour race still fits.
    const double minutes = std::min(60 + 6 * km, 24 * 60.0);
    return int(std::ceil(minutes / 30) * 30);
}

QString webUri(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    for (const QChar c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return {};
    if (!t.contains(QStringLiteral("://")))
        t.prepend(QStringLiteral("http://"));
    // Tolerant: blanks and umlauts as users type them are percent-encoded, not refused.
    const QUrl url(t, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()
        || (url.scheme() != QStringLiteral("http") && url.scheme() != QStringLiteral("https")))
        return {};
    return QString::fromLatin1(url.toEncoded());
}

void planRace(CalendarPlan &plan, const Race &r, const QDate &today)
{
    const QDate date = parseGermanDate(r.date.stored());
    if (!date.isValid()) {
        ++plan.skipped;
        return;
    }
    if (date < today)
        return;
    CalendarEntry race = allDay(r, CalendarEntry::Kind::Race, date);
    race.uid = uid("lauf", r.number);
    race.start = parseStartTime(r.start);
    race.minutes = race.start.isValid() ? raceMinutes(r.distance) : 0;
    race.summary = summaryOf(r);
    race.description = raceDescription(r, race.start);
    race.remindDayBefore = r.registered.isSet();
    plan.entries << race;
    ++plan.races;
    if (!r.paid.isSet()) {
        addFeeDeadlines(r, today, plan.entries);
        addPaymentReminder(r, today, plan.entries);
    }
}
