// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "icalimport/CalendarFileReader.h"
#include "model/Race.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <string>
#include <vector>

class RaceStore;

// Why an event is offered unticked.
enum class CandidateNote {
    None,
    Past, // before today
    Present, // the race is in Strivo already
    FeeEntry // a fee deadline or payment reminder of Strivo's own calendar, no race
};

// One event of the file as a race it could become.
struct Candidate
{
    CalendarEvent event;
    QString name; // as the race would store it
    QString place;
    CandidateNote note = CandidateNote::None;
    bool ticked = true;
};

// The races of the file, to tell an event that is one of them.
class KnownRaces
{
public:
    void add(qlonglong number, const QString &name, const QString &storedDate);
    // The same date and the same name the German way (case ignored, umlauts kept apart from their
    // base letter, blanks around it ignored).
    bool contains(const QDate &date, const QString &name) const;
    bool hasNumber(qlonglong number) const { return m_numbers.contains(number); }

private:
    QHash<QDate, std::vector<std::string>> m_names; // trimmed UTF-8 names by race date
    QSet<qlonglong> m_numbers;
};

KnownRaces knownRaces(RaceStore &store);

// The race number and kind of an entry Strivo's own calendar export wrote
// ("strivo-lauf-12@strivo"); number 0 for any other UID.
struct StrivoUid
{
    QString kind;
    qlonglong race = 0;
};
StrivoUid strivoUid(const QString &uid);

// The place of a LOCATION: up to its first comma when it holds a whole address.
QString placeOf(const QString &location);

// The events as candidates in date order (all-day events first on their day): past ones and
// those already in Strivo unticked, with the reason.
std::vector<Candidate> candidatesOf(const CalendarFile &file, const KnownRaces &known,
                                    const QDate &today);

// The new race an event becomes: noted as a candidate, not registered, not run.
Race raceOf(const Candidate &candidate);

// The names the editor would add to the race-name pick list when the races were entered one
// after the other: those that no entry (nor a name added before) completes.
QStringList newPickListNames(const QStringList &entries, const std::vector<Race> &races);

struct TakeOverCounts
{
    int added = 0;
    int present = 0; // unticked: in Strivo already
    int past = 0; // unticked: before today
    int unticked = 0; // unticked by the user, or fee entries
    int cancelled = 0;
    int skipped = 0; // could not be read
};

// Adds the ticked candidates to the file with their new names in the pick list, all in one
// transaction, and counts what was left out.
TakeOverCounts takeOver(RaceStore &store, const QString &databasePath,
                        const std::vector<Candidate> &candidates, const CalendarFile &file);

// "3 Läufe wurden übernommen. Nicht übernommen: ..."
QString takeOverMessage(const TakeOverCounts &counts);
// What was skipped as unreadable, naming the events; empty when nothing was.
QString skippedMessage(const CalendarFile &file);
// The text of the "Hinweis" column.
QString noteText(CandidateNote note);
