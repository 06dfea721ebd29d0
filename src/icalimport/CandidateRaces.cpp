// SPDX-License-Identifier: GPL-3.0-or-later
#include "icalimport/CandidateRaces.h"

#include "common/GermanText.h"
#include "common/TextCut.h"
#include "data/GermanCollation.h"
#include "data/PickListStore.h"
#include "data/RaceStore.h"
#include "model/RaceColumns.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr int kNameLength = 35;
constexpr int kPlaceLength = 50;
constexpr int kWebLength = 150;

std::string utf8(const QString &text)
{
    return text.trimmed().toStdString();
}

// A name or place is one line.
QString oneLine(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    t.replace(u'\n', u' ').replace(u'\r', u' ').replace(u'\t', u' ');
    return t.trimmed();
}

// Strivo's own entries carry the place after the name: "Stadtlauf (Köln)".
QString nameOf(const CalendarEvent &e, const StrivoUid &own)
{
    QString name = oneLine(e.summary);
    const QString suffix = QStringLiteral(" (") + oneLine(e.location) + u')';
    if (own.race != 0 && !e.location.isEmpty() && name.endsWith(suffix))
        name.chop(suffix.size());
    return leftWhole(name, kNameLength).trimmed();
}

} // namespace

void KnownRaces::add(qlonglong number, const QString &name, const QString &storedDate)
{
    m_numbers.insert(number);
    const QDate date = parseGermanDate(storedDate);
    if (date.isValid())
        m_names[date].push_back(utf8(name));
}

bool KnownRaces::contains(const QDate &date, const QString &name) const
{
    const auto names = m_names.constFind(date);
    if (names == m_names.cend())
        return false;
    const std::string wanted = utf8(name);
    return std::any_of(names->begin(), names->end(),
                       [&](const std::string &known) { return compareGerman(known, wanted) == 0; });
}

KnownRaces knownRaces(RaceStore &store)
{
    KnownRaces known;
    Race fields;
    store.readRaces(
        RaceStore::Order::ByNumber, false,
        [&known](const Race &r) { known.add(r.number, r.name, r.date.stored()); },
        RaceColumns::holding(fields, { &fields.name, &fields.date }));
    return known;
}

StrivoUid strivoUid(const QString &uid)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^strivo-(lauf|frist[123]|zahlung)-(\d{1,18})@strivo$)"));
    const QRegularExpressionMatch m = form.match(uid.trimmed());
    if (!m.hasMatch())
        return {};
    return { m.captured(1), m.captured(2).toLongLong() };
}

QString placeOf(const QString &location)
{
    const QString whole = oneLine(location);
    for (const QString &part : whole.split(u',')) {
        if (!part.trimmed().isEmpty())
            return leftWhole(part.trimmed(), kPlaceLength).trimmed();
    }
    return {};
}

std::vector<Candidate> candidatesOf(const CalendarFile &file, const KnownRaces &known,
                                    const QDate &today)
{
    std::vector<Candidate> list;
    list.reserve(file.events.size());
    for (const CalendarEvent &e : file.events) {
        Candidate c;
        c.event = e;
        const StrivoUid own = strivoUid(e.uid);
        const bool ownRaceThere = own.race != 0 && known.hasNumber(own.race);
        c.name = nameOf(e, ownRaceThere ? StrivoUid() : own);
        c.place = placeOf(e.location);
        if (ownRaceThere || known.contains(e.date, c.name))
            c.note = CandidateNote::Present;
        else if (own.race != 0 && own.kind != QStringLiteral("lauf"))
            c.note = CandidateNote::FeeEntry;
        else if (e.date < today)
            c.note = CandidateNote::Past;
        c.ticked = c.note == CandidateNote::None;
        list.push_back(std::move(c));
    }
    std::stable_sort(list.begin(), list.end(), [](const Candidate &a, const Candidate &b) {
        if (a.event.date != b.event.date)
            return a.event.date < b.event.date;
        // All-day events (invalid time) first.
        return a.event.time.isValid() != b.event.time.isValid() ? !a.event.time.isValid()
                                                                : a.event.time < b.event.time;
    });
    return list;
}

Race raceOf(const Candidate &c)
{
    const QString blank = QStringLiteral(" ");
    Race race;
    race.name = c.name;
    race.place = c.place;
    race.date = StoredDate(formatDate(c.event.date));
    race.weekday = weekdayName(c.event.date.dayOfWeek()).left(2);
    // An all-day event has no start time: the column stays empty.
    if (c.event.time.isValid())
        race.start = c.event.time.toString(QStringLiteral("hh:mm"));
    race.noted.set(true);
    race.registered.set(false);
    race.registrationDate = StoredDate(blank);
    race.distance = blank;
    race.run.set(false);
    race.finishTime = blank;
    race.reminder.set(false);
    race.reminderDate = StoredDate(kNoReminderDate);
    race.paid.set(false);
    race.onStartScreen.set(false);

    QStringList notes;
    if (!c.event.description.isEmpty())
        notes << c.event.description;
    if (!c.event.url.isEmpty())
        notes << c.event.url;
    // The whole address, where the place keeps only its first part.
    const QString address = oneLine(c.event.location);
    if (!address.isEmpty() && address != c.place)
        notes << QStringLiteral("Ort: ") + address;
    race.notes = notes.join(QStringLiteral("\n\n"));
    race.hasNotes.set(!race.notes.isEmpty());
    // The editor's field keeps 150 characters; a longer address stays in the notes only.
    if (!c.event.url.isEmpty() && c.event.url.size() <= kWebLength)
        race.organiser.web = c.event.url;
    return race;
}

QStringList newPickListNames(const QStringList &entries, const std::vector<Race> &races)
{
    // Keys of the entries by the length of the text they are compared with: a name of n
    // characters is completed by an entry whose key of length n equals the name's.
    QHash<qsizetype, QSet<QString>> keys;
    QStringList known = entries;
    QStringList added;
    for (const Race &race : races) {
        const QString name = leftWhole(race.name, kNameLength);
        if (name.isEmpty())
            continue;
        const qsizetype n = name.size();
        auto set = keys.find(n);
        if (set == keys.end()) {
            QSet<QString> made;
            for (const QString &entry : std::as_const(known))
                made.insert(completionKey(entry, n));
            set = keys.insert(n, made);
        }
        if (set->contains(completionKey(name, n)))
            continue;
        added << name;
        known << name;
        for (auto it = keys.begin(); it != keys.end(); ++it)
            it->insert(completionKey(name, it.key()));
    }
    return added;
}

TakeOverCounts takeOver(RaceStore &store, const QString &databasePath,
                        const std::vector<Candidate> &candidates, const CalendarFile &file)
{
    TakeOverCounts counts;
    counts.cancelled = file.cancelled;
    counts.skipped = int(file.skipped.size());
    std::vector<Race> races;
    for (const Candidate &c : candidates) {
        if (c.ticked)
            races.push_back(raceOf(c));
        else if (c.note == CandidateNote::Present)
            ++counts.present;
        else if (c.note == CandidateNote::Past)
            ++counts.past;
        else
            ++counts.unticked;
    }
    if (!races.empty()) {
        QStringList entries;
        for (const PickListEntry &e : PickListStore(databasePath).entries(PickList::Race))
            entries << (e.text.isNull() ? QStringLiteral(" ") : e.text);
        store.addRaces(races, newPickListNames(entries, races));
    }
    counts.added = int(races.size());
    return counts;
}

QString takeOverMessage(const TakeOverCounts &c)
{
    QString text = c.added == 0 ? QStringLiteral("Es wurde kein Lauf übernommen.")
        : c.added == 1
        ? QStringLiteral("1 Lauf wurde als vorgemerkter Lauf übernommen.")
        : QStringLiteral("%1 Läufe wurden als vorgemerkte Läufe übernommen.").arg(c.added);
    QStringList left;
    if (c.present > 0)
        left << QStringLiteral("%1 schon vorhanden").arg(c.present);
    if (c.past > 0)
        left << QStringLiteral("%1 vergangen").arg(c.past);
    if (c.cancelled > 0)
        left << QStringLiteral("%1 abgesagt").arg(c.cancelled);
    if (c.unticked > 0)
        left << QStringLiteral("%1 nicht angehakt").arg(c.unticked);
    if (c.skipped > 0)
        left << QStringLiteral("%1 fehlerhaft").arg(c.skipped);
    if (!left.isEmpty())
        text += QStringLiteral("\nNicht übernommen: ") + left.join(QStringLiteral(", ")) + u'.';
    return text;
}

QString skippedMessage(const CalendarFile &file)
{
    if (file.skipped.empty())
        return {};
    const int n = int(file.skipped.size());
    QString text = n == 1
        ? QStringLiteral("1 Termin der Kalenderdatei ist fehlerhaft und wird nicht angeboten:")
        : QStringLiteral("%1 Termine der Kalenderdatei sind fehlerhaft und werden nicht "
                         "angeboten:")
              .arg(n);
    constexpr int kShown = 10;
    for (int i = 0; i < std::min(n, kShown); ++i) {
        const SkippedEvent &s = file.skipped[size_t(i)];
        text += QStringLiteral("\nZeile %1").arg(s.line);
        if (!s.summary.isEmpty())
            text += QStringLiteral(" („%1“)").arg(leftWhole(oneLine(s.summary), 40));
        text += QStringLiteral(": ") + s.reason;
    }
    if (n > kShown)
        text += QStringLiteral("\n… und %1").arg(countText(n - kShown, u"weiterer", u"weitere"));
    return text;
}

QString noteText(CandidateNote note)
{
    switch (note) {
    case CandidateNote::Past:
        return QStringLiteral("vergangen");
    case CandidateNote::Present:
        return QStringLiteral("schon vorhanden");
    case CandidateNote::FeeEntry:
        return QStringLiteral("Startgeld-Termin, kein Lauf");
    case CandidateNote::None:
        break;
    }
    return {};
}
