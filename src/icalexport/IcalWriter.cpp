#include "icalexport/IcalWriter.h"

#include "common/DbError.h"

#include <libical/ical.h>

#include <memory>

namespace {

struct ComponentFree
{
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// TEXT values may hold no control characters but the tab; line breaks become "\n".
std::string textValue(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QString clean;
    clean.reserve(t.size());
    for (const QChar c : t)
        if (c == u'\n' || c == u'\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7f))
            clean += c;
    return clean.toStdString();
}

icaltimetype utc(const QDateTime &at)
{
    return icaltime_from_timet_with_zone(at.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
}

icaltimetype dateOnly(const QDate &d)
{
    icaltimetype t = icaltime_null_date();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    return t;
}

icaltimetype localTime(const QDate &d, const QTime &time)
{
    icaltimetype t = icaltime_null_time();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    t.hour = time.hour();
    t.minute = time.minute();
    return t;
}

// The zone's definition from libical's zone data, cut to the rules that hold from the start
// of this year on, under the plain name that calendar programs know.
Component zoneDefinition(const QDateTime &now)
{
    icaltimezone *zone = icaltimezone_get_builtin_timezone(kCalendarZone);
    icalcomponent *source = zone ? icaltimezone_get_component(zone) : nullptr;
    if (!source)
        throw DbError(ErrNo::FileNotFound,
                      QStringLiteral("Die Zeitzonen-Daten für %1 wurden nicht gefunden.")
                          .arg(QLatin1String(kCalendarZone)));
    Component vtimezone(icalcomponent_new_clone(source));
    icaltimetype from = icaltime_null_time();
    from.year = now.toUTC().date().year();
    from.month = 1;
    from.day = 1;
    from.zone = icaltimezone_get_utc_timezone();
    icaltimezone_truncate_vtimezone(vtimezone.get(), from, icaltime_null_time(), 0);
    icalproperty *tzid = icalcomponent_get_first_property(vtimezone.get(), ICAL_TZID_PROPERTY);
    icalproperty_set_tzid(tzid, kCalendarZone);
    return vtimezone;
}

void addText(icalcomponent *c, icalproperty *(*make)(const char *), const QString &text)
{
    if (!text.isEmpty())
        icalcomponent_add_property(c, make(textValue(text).c_str()));
}

Component event(const CalendarEntry &e, icaltimetype stamp, int sequence)
{
    Component ev(icalcomponent_new_vevent());
    icalcomponent *c = ev.get();
    icalcomponent_add_property(c, icalproperty_new_uid(e.uid.toStdString().c_str()));
    icalcomponent_add_property(c, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(c, icalproperty_new_lastmodified(stamp));
    icalcomponent_add_property(c, icalproperty_new_sequence(sequence));
    if (e.start.isValid()) {
        icalproperty *start = icalproperty_new_dtstart(localTime(e.date, e.start));
        icalproperty_add_parameter(start, icalparameter_new_tzid(kCalendarZone));
        icalcomponent_add_property(c, start);
        icalcomponent_add_property(
            c, icalproperty_new_duration(icaldurationtype_from_int(e.minutes * 60)));
    } else {
        icalcomponent_add_property(c, icalproperty_new_dtstart(dateOnly(e.date)));
        icalcomponent_add_property(c, icalproperty_new_dtend(dateOnly(e.date.addDays(1))));
    }
    // Deadlines and reminders take no time; only races block the day's hours.
    icalcomponent_add_property(c,
                               icalproperty_new_transp(e.kind == CalendarEntry::Kind::Race
                                                           ? ICAL_TRANSP_OPAQUE
                                                           : ICAL_TRANSP_TRANSPARENT));
    addText(c, icalproperty_new_summary, e.summary);
    addText(c, icalproperty_new_location, e.location);
    addText(c, icalproperty_new_description, e.description);
    if (!e.url.isEmpty())
        icalcomponent_add_property(c, icalproperty_new_url(e.url.toStdString().c_str()));
    if (e.remindDayBefore) {
        icalcomponent *alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger = icaltriggertype_from_int(-24 * 3600);
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        addText(alarm, icalproperty_new_description, QStringLiteral("Morgen: ") + e.summary);
        icalcomponent_add_component(c, alarm);
    }
    return ev;
}

std::string serialised(icalcomponent *c)
{
    char *text = icalcomponent_as_ical_string_r(c);
    std::string result(text ? text : "");
    icalmemory_free_buffer(text);
    return result;
}

} // namespace

int exportSequence(const QDateTime &now)
{
    static const QDateTime epoch(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC);
    return int(std::max<qint64>(0, epoch.secsTo(now)));
}

void writeCalendar(const QList<CalendarEntry> &entries, const QDateTime &now,
                   const CalendarSink &sink)
{
    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent *cal = calendar.get();
    icalcomponent_add_property(cal, icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal, icalproperty_new_prodid("-//Strivo//Strivo-Termine//DE"));
    icalcomponent_add_property(cal, icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_component(cal, zoneDefinition(now).release());
    // libical writes the frame and every entry; the entries go in before the frame's last line.
    const std::string frame = serialised(cal);
    static const std::string end = "END:VCALENDAR\r\n";
    if (frame.size() < end.size() || frame.compare(frame.size() - end.size(), end.size(), end) != 0)
        throw DbError(ErrNo::SqlError,
                      QStringLiteral("Der Kalender konnte nicht erstellt werden."));
    sink(frame.data(), frame.size() - end.size());
    const icaltimetype stamp = utc(now);
    const int sequence = exportSequence(now);
    for (const CalendarEntry &e : entries) {
        const std::string text = serialised(event(e, stamp, sequence).get());
        sink(text.data(), text.size());
    }
    sink(end.data(), end.size());
}
