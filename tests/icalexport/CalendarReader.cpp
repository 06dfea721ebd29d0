#include "CalendarReader.h"

#include <QFile>

namespace {
QString text(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}
QString timeText(icaltimetype t)
{
    return text(icaltime_as_ical_string(t));
}
} // namespace

ParsedCalendar readCalendar(const QString &path)
{
    ParsedCalendar result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    icalcomponent *cal = icalparser_parse_string(file.readAll().constData());
    if (!cal)
        return result;
    result.parsed = icalcomponent_isa(cal) == ICAL_VCALENDAR_COMPONENT;
    result.errors = icalcomponent_count_errors(cal);
    result.restrictionsHold = icalrestriction_check(cal) != 0;
    // The check adds X-LIC-ERROR properties for what it finds.
    result.errors = std::max(result.errors, icalcomponent_count_errors(cal));
    if (icalcomponent *tz = icalcomponent_get_first_component(cal, ICAL_VTIMEZONE_COMPONENT))
        result.zoneId
            = text(icalproperty_get_tzid(icalcomponent_get_first_property(tz, ICAL_TZID_PROPERTY)));
    for (icalcomponent *ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        ParsedEvent e;
        e.summary = text(icalcomponent_get_summary(ev));
        e.location = text(icalcomponent_get_location(ev));
        e.description = text(icalcomponent_get_description(ev));
        if (icalproperty *url = icalcomponent_get_first_property(ev, ICAL_URL_PROPERTY))
            e.url = text(icalproperty_get_url(url));
        icalproperty *start = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
        const icaltimetype dtstart = icalproperty_get_dtstart(start);
        e.allDay = icaltime_is_date(dtstart);
        e.start = timeText(dtstart);
        if (icalparameter *tzid = icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER))
            e.startZone = text(icalparameter_get_tzid(tzid));
        if (icalproperty *end = icalcomponent_get_first_property(ev, ICAL_DTEND_PROPERTY))
            e.endDate = timeText(icalproperty_get_dtend(end));
        if (icalproperty *d = icalcomponent_get_first_property(ev, ICAL_DURATION_PROPERTY))
            e.durationSeconds = icaldurationtype_as_int(icalproperty_get_duration(d));
        if (icalproperty *seq = icalcomponent_get_first_property(ev, ICAL_SEQUENCE_PROPERTY))
            e.sequence = icalproperty_get_sequence(seq);
        if (icalcomponent *alarm = icalcomponent_get_first_component(ev, ICAL_VALARM_COMPONENT))
            e.alarmTrigger = text(icalproperty_get_value_as_string(
                icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY)));
        result.events.insert(text(icalcomponent_get_uid(ev)), e);
    }
    icalcomponent_free(cal);
    return result;
}
