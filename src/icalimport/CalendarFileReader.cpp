// SPDX-License-Identifier: GPL-3.0-or-later
#include "icalimport/CalendarFileReader.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QUtf8StringView>

#include <libical/ical.h>

#include <algorithm>
#include <memory>

namespace {

struct ComponentFree
{
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

QString megabytes(qint64 bytes)
{
    return QLocale(QLocale::German).toString(double(bytes) / (1024 * 1024), 'f', 1)
        + QStringLiteral(" MB");
}

int lineAt(const QByteArray &bytes, qsizetype offset)
{
    return int(QByteArrayView(bytes.constData(), offset).count('\n')) + 1;
}

// Calls `each` with every line of the text and its number, counted from 1.
template<class Each> void forEachLine(const QByteArray &bytes, Each each)
{
    qsizetype from = 0;
    for (int line = 1; from <= bytes.size(); ++line) {
        qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            end = bytes.size();
        each(QByteArrayView(bytes.constData() + from, end - from).trimmed(), line);
        from = end + 1;
    }
}

// The first line that is no sound UTF-8, or 0. A character's bytes never hold a line feed, so
// each line can be checked alone.
int firstBadUtf8Line(const QByteArray &bytes)
{
    if (QUtf8StringView(bytes.constData(), bytes.size()).isValidUtf8())
        return 0;
    int bad = 0;
    forEachLine(bytes, [&bad](QByteArrayView line, int number) {
        if (bad == 0 && !QUtf8StringView(line.data(), line.size()).isValidUtf8())
            bad = number;
    });
    return bad;
}

// The lines of the file that are not blank, as the reader sees them.
QList<QByteArrayView> contentLines(const QByteArray &bytes)
{
    QList<QByteArrayView> lines;
    forEachLine(bytes, [&lines](QByteArrayView line, int) {
        if (!line.isEmpty())
            lines << line;
    });
    return lines;
}

bool isLine(QByteArrayView line, const char *wanted)
{
    return line.compare(QByteArrayView(wanted), Qt::CaseInsensitive) == 0;
}

// Everything about the text that makes it no readable calendar at all.
void checkText(const QByteArray &bytes)
{
    if (bytes.trimmed().isEmpty())
        throw CalendarFileError(QStringLiteral("Die Datei ist leer."));
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        throw CalendarFileError(
            QStringLiteral("Die Datei ist keine Kalenderdatei: Sie enthält in Zeile %1 Binärdaten.")
                .arg(lineAt(bytes, nul)));
    if (const int bad = firstBadUtf8Line(bytes); bad > 0)
        throw CalendarFileError(
            QStringLiteral("Die Datei ist nicht in UTF-8 geschrieben (Zeile %1). Kalenderdateien "
                           "(iCalendar) sind immer UTF-8; speichern Sie die Datei bitte in dieser "
                           "Kodierung.")
                .arg(bad));
    const QList<QByteArrayView> lines = contentLines(bytes);
    if (!isLine(lines.first(), "BEGIN:VCALENDAR"))
        throw CalendarFileError(QStringLiteral(
            "Die Datei ist keine Kalenderdatei im iCalendar-Format: Sie beginnt nicht mit "
            "BEGIN:VCALENDAR."));
    if (!isLine(lines.last(), "END:VCALENDAR"))
        throw CalendarFileError(
            QStringLiteral("Die Kalenderdatei ist unvollständig: Sie endet mitten im Kalender "
                           "(END:VCALENDAR fehlt). Vielleicht wurde sie nicht ganz geladen."));
}

// The line of each BEGIN:VEVENT, in order: libical keeps no line numbers.
std::vector<int> eventLines(const QByteArray &bytes)
{
    std::vector<int> lines;
    forEachLine(bytes, [&lines](QByteArrayView line, int number) {
        if (isLine(line, "BEGIN:VEVENT"))
            lines.push_back(number);
    });
    return lines;
}

// libical's complaint about a line it could not read, with the line's text where it gives it.
QString parseError(icalcomponent *event)
{
    icalproperty *p = icalcomponent_get_first_property(event, ICAL_XLICERROR_PROPERTY);
    if (!p)
        return {};
    const QString what = text(icalproperty_get_xlicerror(p));
    if (what.contains(QStringLiteral("DTSTART")))
        return QStringLiteral("DTSTART ohne gültiges Datum");
    const qsizetype colon = what.lastIndexOf(QStringLiteral(": "));
    const QString line = colon >= 0 ? what.mid(colon + 2).trimmed() : QString();
    return line.isEmpty() ? QStringLiteral("fehlerhafte Zeile")
                          : QStringLiteral("fehlerhafte Zeile „%1“").arg(line.left(60));
}

QString property(icalcomponent *c, icalproperty_kind kind)
{
    icalproperty *p = icalcomponent_get_first_property(c, kind);
    return p ? text(icalproperty_get_value_as_string(p)) : QString();
}

QString textProperty(icalcomponent *c, icalproperty_kind kind)
{
    icalproperty *p = icalcomponent_get_first_property(c, kind);
    if (!p)
        return {};
    // TEXT values: libical has undone the escapes ("\,", "\n").
    const icalvalue *v = icalproperty_get_value(p);
    return v && icalvalue_isa(v) == ICAL_TEXT_VALUE ? text(icalvalue_get_text(v))
                                                    : text(icalproperty_get_value_as_string(p));
}

QByteArray tzidOf(icalcomponent *event)
{
    icalproperty *start = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    icalparameter *tzid
        = start ? icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER) : nullptr;
    return tzid ? QByteArray(icalparameter_get_tzid(tzid)).trimmed() : QByteArray();
}

// Date and time of a start in the user's zone: UTC and zoned times are converted, a floating
// time and a date are taken as they stand.
void placeInZone(const icaltimetype &t, icalcomponent *event, const QTimeZone &zone,
                 CalendarEvent &e)
{
    const QDate date(t.year, t.month, t.day);
    if (t.is_date) {
        e.date = date;
        e.time = QTime();
        return;
    }
    const QTime time(t.hour, t.minute, t.second);
    const QByteArray id = tzidOf(event);
    QDateTime at;
    if (icaltime_is_utc(t)) {
        at = QDateTime(date, time, QTimeZone::utc());
    } else if (!id.isEmpty() && QTimeZone::isTimeZoneIdAvailable(id)) {
        // A zone the system knows by its name is taken from the system's rules: files often
        // carry a definition cut to the year of their first event (khal does so).
        at = QDateTime(date, time, QTimeZone(id));
    } else if (t.zone) {
        at = QDateTime::fromSecsSinceEpoch(
            qint64(icaltime_as_timet_with_zone(t, static_cast<const icaltimezone *>(t.zone))),
            QTimeZone::utc());
    } else if (!id.isEmpty()) {
        // Outlook names its zones the Windows way, often without a definition.
        const QTimeZone windows(QTimeZone::windowsIdToDefaultIanaId(id));
        if (windows.isValid())
            at = QDateTime(date, time, windows);
    }
    if (!at.isValid()) {
        e.date = date;
        e.time = time;
        return;
    }
    const QDateTime local = at.toTimeZone(zone);
    e.date = local.date();
    e.time = local.time();
}

bool sameMoment(const icaltimetype &a, const icaltimetype &b)
{
    return icaltime_compare(a, b) == 0;
}

struct Series
{
    icalcomponent *master = nullptr;
    std::vector<icalcomponent *> overrides; // RECURRENCE-ID
};

class Reader
{
public:
    Reader(const QTimeZone &zone, const QDate &today)
        : m_zone(zone)
        , m_today(today)
    {
    }

    CalendarFile read(const QByteArray &bytes);

private:
    // The event's fields at its own start; false (and a skipped entry) when it cannot be read.
    bool fill(icalcomponent *c, int line, CalendarEvent &e);
    void skip(icalcomponent *c, int line, const QString &reason);
    // The master's occurrence from today (the last one when none is left), as its override
    // gives it where there is one.
    void addSeries(const Series &s, int line);

    QTimeZone m_zone;
    QDate m_today;
    CalendarFile m_file;
};

void Reader::skip(icalcomponent *c, int line, const QString &reason)
{
    m_file.skipped.push_back({ line, textProperty(c, ICAL_SUMMARY_PROPERTY).trimmed(), reason });
}

bool Reader::fill(icalcomponent *c, int line, CalendarEvent &e)
{
    if (const QString error = parseError(c); !error.isEmpty()) {
        skip(c, line, error);
        return false;
    }
    const icaltimetype start = icalcomponent_get_dtstart(c);
    if (!icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY) || icaltime_is_null_time(start)
        || !QDate(start.year, start.month, start.day).isValid()) {
        skip(c, line, QStringLiteral("ohne Datum (DTSTART)"));
        return false;
    }
    e.line = line;
    e.uid = property(c, ICAL_UID_PROPERTY).trimmed();
    e.summary = textProperty(c, ICAL_SUMMARY_PROPERTY).trimmed();
    e.location = textProperty(c, ICAL_LOCATION_PROPERTY).trimmed();
    e.description = textProperty(c, ICAL_DESCRIPTION_PROPERTY).trimmed();
    e.url = property(c, ICAL_URL_PROPERTY).trimmed();
    if (e.summary.isEmpty()) {
        skip(c, line, QStringLiteral("ohne Namen (SUMMARY)"));
        return false;
    }
    placeInZone(start, c, m_zone, e);
    return true;
}

void Reader::addSeries(const Series &s, int line)
{
    icalcomponent *master = s.master;
    CalendarEvent e;
    if (!fill(master, line, e))
        return;
    icalproperty *rule = icalcomponent_get_first_property(master, ICAL_RRULE_PROPERTY);
    if (!rule) {
        m_file.events.push_back(e);
        return;
    }
    e.repeats = true;
    const icaltimetype start = icalcomponent_get_dtstart(master);
    std::vector<icaltimetype> excluded;
    for (icalproperty *p = icalcomponent_get_first_property(master, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(master, ICAL_EXDATE_PROPERTY))
        excluded.push_back(icalproperty_get_exdate(p));
    icalrecur_iterator *it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
    if (!it) {
        skip(master, line, QStringLiteral("Wiederholungsregel (RRULE) nicht lesbar"));
        return;
    }
    std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator *)> owner(
        it, icalrecur_iterator_free);
    // A rule that still has not reached today after this many steps repeats too often to be a
    // race (every second since 1970, say).
    constexpr int kMaxSteps = 200000;
    CalendarEvent last = e;
    bool any = false;
    for (int step = 0; step < kMaxSteps; ++step) {
        icaltimetype occurrence = icalrecur_iterator_next(it);
        if (icaltime_is_null_time(occurrence))
            break;
        occurrence.zone = start.zone;
        if (std::any_of(excluded.begin(), excluded.end(), [&](const icaltimetype &x) {
                return x.is_date ? icaltime_compare_date_only(x, occurrence) == 0
                                 : sameMoment(x, occurrence);
            }))
            continue;
        CalendarEvent at = e;
        const auto moved = std::find_if(s.overrides.begin(), s.overrides.end(), [&](auto *o) {
            return sameMoment(icalcomponent_get_recurrenceid(o), occurrence);
        });
        if (moved != s.overrides.end()) {
            if (icalcomponent_get_status(*moved) == ICAL_STATUS_CANCELLED)
                continue;
            if (!fill(*moved, line, at))
                continue;
            at.repeats = true;
        } else {
            placeInZone(occurrence, master, m_zone, at);
        }
        any = true;
        last = at;
        if (at.date >= m_today) {
            m_file.events.push_back(at);
            return;
        }
        if (step + 1 == kMaxSteps) {
            skip(master, line, QStringLiteral("Wiederholungsregel (RRULE) zu dicht"));
            return;
        }
    }
    // Every occurrence lies in the past (or the rule gives none): the last one stands for it.
    if (any)
        m_file.events.push_back(last);
    else
        skip(master, line, QStringLiteral("Wiederholungsregel (RRULE) ohne Termin"));
}

CalendarFile Reader::read(const QByteArray &bytes)
{
    checkText(bytes);
    icalerror_set_errors_are_fatal(0);
    const Component root(icalparser_parse_string(bytes.constData()));
    if (!root)
        throw CalendarFileError(QStringLiteral(
            "Die Kalenderdatei ist unvollständig oder beschädigt und kann nicht gelesen werden."));
    std::vector<icalcomponent *> calendars;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        calendars.push_back(root.get());
    } else {
        for (icalcomponent *c
             = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            calendars.push_back(c);
    }
    const std::vector<int> lines = eventLines(bytes);
    // Events in the file's order, with the overrides of a repeating event beside their master.
    std::vector<std::pair<icalcomponent *, int>> events;
    for (icalcomponent *cal : calendars)
        for (icalcomponent *c = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); c;
             c = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
            const size_t n = events.size();
            events.emplace_back(c, n < lines.size() ? lines[n] : 0);
        }
    if (events.empty())
        throw CalendarFileError(QStringLiteral(
            "Die Kalenderdatei enthält keine Termine (VEVENT), aus denen Läufe werden könnten."));

    QHash<QString, Series> series;
    for (const auto &[c, line] : events) {
        const QString uid = property(c, ICAL_UID_PROPERTY).trimmed();
        if (uid.isEmpty())
            continue;
        Series &s = series[uid];
        if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            s.overrides.push_back(c);
        else if (!s.master)
            s.master = c;
    }
    for (const auto &[c, line] : events) {
        const bool isOverride = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY);
        const auto s = series.constFind(property(c, ICAL_UID_PROPERTY).trimmed());
        const bool hasMaster = s != series.cend() && s->master
            && icalcomponent_get_first_property(s->master, ICAL_RRULE_PROPERTY);
        // An override is read with its series; one without a series stands alone.
        if (isOverride && hasMaster)
            continue;
        if (icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED) {
            ++m_file.cancelled;
            continue;
        }
        if (!isOverride && s != series.cend() && s->master == c) {
            addSeries(*s, line);
        } else {
            CalendarEvent e;
            if (fill(c, line, e))
                m_file.events.push_back(e);
        }
    }
    if (m_file.events.empty() && !m_file.skipped.empty()) {
        QStringList reasons;
        for (const SkippedEvent &s : m_file.skipped)
            reasons << QStringLiteral("Zeile %1: %2").arg(s.line).arg(s.reason);
        if (reasons.size() > 5)
            reasons = reasons.mid(0, 5) << QStringLiteral("…");
        throw CalendarFileError(
            QStringLiteral("Kein Termin der Kalenderdatei kann gelesen werden:\n")
            + reasons.join(u'\n'));
    }
    return m_file;
}

} // namespace

QTimeZone userTimeZone()
{
    // Without TZ and the system's zone files, Qt falls back to UTC: that is no zone the
    // user chose.
    const bool named = !qEnvironmentVariableIsEmpty("TZ")
        || QFile::exists(QStringLiteral("/etc/localtime"))
        || QFile::exists(QStringLiteral("/etc/timezone"));
    const QTimeZone system = QTimeZone::systemTimeZone();
    if (named && system.isValid() && !QTimeZone::systemTimeZoneId().isEmpty())
        return system;
    return QTimeZone(QByteArrayLiteral("Europe/Berlin"));
}

CalendarFile readCalendar(const QByteArray &bytes, const QTimeZone &zone, const QDate &today)
{
    return Reader(zone, today).read(bytes);
}

CalendarFile readCalendarFile(const QString &path, const QTimeZone &zone, const QDate &today)
{
    const QFileInfo info(path);
    if (!info.isFile())
        throw CalendarFileError(QStringLiteral("Die Datei „%1“ wurde nicht gefunden.").arg(path));
    if (info.size() > kMaxCalendarBytes)
        throw CalendarFileError(
            QStringLiteral("Die Datei ist mit %1 zu groß für eine Kalenderdatei: Strivo liest "
                           "Kalenderdateien bis %2.")
                .arg(megabytes(info.size()), megabytes(kMaxCalendarBytes)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CalendarFileError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                                    .arg(path, file.errorString()));
    // Read a little beyond the limit: a file that grew since it was looked at is still refused.
    const QByteArray bytes = file.read(kMaxCalendarBytes + 1);
    if (bytes.size() > kMaxCalendarBytes)
        throw CalendarFileError(
            QStringLiteral("Die Datei ist zu groß für eine Kalenderdatei: Strivo liest "
                           "Kalenderdateien bis %1.")
                .arg(megabytes(kMaxCalendarBytes)));
    return readCalendar(bytes, zone, today);
}
