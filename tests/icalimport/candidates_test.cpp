// SPDX-License-Identifier: GPL-3.0-or-later
// Which events become races, and how: the "already there" rule, the fields, the pick list, the
// one transaction and the round trip through the program's own calendar export.
#include "IcsText.h"
#include "ProgramFixture.h"
#include "data/RaceStore.h"
#include "icalexport/CalendarExport.h"
#include "icalimport/CandidateRaces.h"

#include <gtest/gtest.h>

namespace {
CalendarEvent event(const QString &summary, const QDate &date, const QString &uid = {})
{
    CalendarEvent e;
    e.summary = summary;
    e.date = date;
    e.uid = uid;
    return e;
}

struct TakeOverTest : ProgramTest
{
    std::vector<Candidate> candidatesFromText(const QByteArray &bytes)
    {
        file = readText(bytes);
        return candidatesOf(file, knownRaces(ctx.races()), testToday());
    }
    CalendarFile file;
};
} // namespace

TEST_F(TakeOverTest, TellsTheRacesAlreadyThereByDateAndGermanNameOrByTheExportsUid)
{
    const QDate day(2027, 10, 3);
    const qlonglong koeln
        = folder.addRace({ { "ad_lauf", " Köln-Marathon " }, { "ad_lauf_datum", "03.10.2027" } });
    folder.addRace({ { "ad_lauf", "Straßenlauf" }, { "ad_lauf_datum", "03.10.2027" } });
    const QString own = QStringLiteral("strivo-%1-%2@strivo");
    const struct
    {
        CalendarEvent e;
        CandidateNote note;
    } cases[] = {
        { event("Köln-Marathon", day), CandidateNote::Present },
        { event("  KÖLN-MARATHON  ", day), CandidateNote::Present },
        { event("köln-marathon", day), CandidateNote::Present },
        // An umlaut is not its base letter, nor ß a double s; another day is another race.
        { event("STRASSENLAUF", day), CandidateNote::None },
        { event("Koln-Marathon", day), CandidateNote::None },
        { event("Köln-Marathon", day.addDays(1)), CandidateNote::None },
        { event("Köln-Marathon 2027", day), CandidateNote::None },
        // The export's entries of a race still there, whatever they are called now.
        { event("Köln-Marathon (Köln)", day, own.arg("lauf").arg(koeln)), CandidateNote::Present },
        { event("Startgeld-Frist: X", day.addDays(-60), own.arg("frist2").arg(koeln)),
          CandidateNote::Present },
        { event("Startgeld überweisen: X", day.addDays(-70), own.arg("zahlung").arg(koeln)),
          CandidateNote::Present },
        // Of a race deleted since: a race again, but a deadline is none.
        { event("Halbmarathon", day, own.arg("lauf").arg(999)), CandidateNote::None },
        { event("Startgeld-Frist: Y", day, own.arg("frist1").arg(999)), CandidateNote::FeeEntry },
        { event("Köln-Marathon", day, "strivo-lauf-1@elsewhere"), CandidateNote::Present },
        { event("Silvesterlauf", QDate(2026, 12, 7)), CandidateNote::Past },
        { event("Nikolauslauf", testToday()), CandidateNote::None },
    };
    const KnownRaces known = knownRaces(ctx.races());
    for (const auto &c : cases) {
        CalendarFile one;
        one.events.push_back(c.e);
        const std::vector<Candidate> list = candidatesOf(one, known, testToday());
        EXPECT_EQ(int(list[0].note), int(c.note))
            << c.e.summary.toStdString() << " " << c.e.uid.toStdString();
        EXPECT_EQ(list[0].ticked, c.note == CandidateNote::None) << c.e.summary.toStdString();
    }
}

TEST(CandidateRaces, ListsByDateWithAllDayEventsFirstAndTakesThePlaceUpToTheFirstComma)
{
    CalendarFile file;
    file.events = { event("C", QDate(2027, 5, 2)), event("B", QDate(2027, 5, 1)),
                    event("A", QDate(2027, 5, 1)) };
    file.events[1].time = QTime(9, 0);
    QStringList order;
    for (const Candidate &c : candidatesOf(file, {}, testToday()))
        order << c.name;
    EXPECT_EQ(order, QStringList({ "A", "B", "C" }));

    const struct
    {
        const char *location;
        const char *place;
    } places[] = {
        { "Köln", "Köln" },
        { "Stadion am Wald, Waldweg 3, 12345 Gersfeld", "Stadion am Wald" },
        { " , Marktplatz, Fulda", "Marktplatz" },
        { "", "" },
        { "Sehr langer Ortsname, der die fünfzig Zeichen des Feldes überschreitet",
          "Sehr langer Ortsname" },
        { "Ein Ort ohne Komma, aber mit mehr als fünfzig Zeichen im ersten Teil des Textes",
          "Ein Ort ohne Komma" },
        { "Start und Ziel\nRathaus", "Start und Ziel Rathaus" },
    };
    for (const auto &p : places)
        EXPECT_EQ(placeOf(QString::fromUtf8(p.location)), QString::fromUtf8(p.place));
    EXPECT_EQ(placeOf(QString(60, u'x')), QString(50, u'x'));
}

TEST(CandidateRaces, MakesANotedRaceAsTheEditorStoresIt)
{
    Candidate c;
    c.event = event(QString(), QDate(2027, 5, 1)); // a Saturday
    c.event.time = QTime(9, 5);
    c.event.description = QStringLiteral("Start am Rathaus");
    c.event.url = QStringLiteral("https://lauf.example/anmeldung");
    c.event.location = QStringLiteral("Rathaus, Markt 1, Fulda");
    c.name = QStringLiteral("Stadtlauf");
    c.place = placeOf(c.event.location);
    Race r = raceOf(c);
    EXPECT_EQ(r.name, QStringLiteral("Stadtlauf"));
    EXPECT_EQ(r.place, QStringLiteral("Rathaus"));
    EXPECT_EQ(r.date.stored(), QStringLiteral("01.05.2027"));
    EXPECT_EQ(r.weekday, QStringLiteral("Sa"));
    EXPECT_EQ(r.start, QStringLiteral("09:05"));
    EXPECT_TRUE(r.noted.isSet());
    EXPECT_FALSE(r.registered.isSet());
    EXPECT_FALSE(r.run.isSet());
    EXPECT_EQ(r.notes,
              QStringLiteral("Start am Rathaus\n\nhttps://lauf.example/anmeldung\n\n"
                             "Ort: Rathaus, Markt 1, Fulda"));
    EXPECT_TRUE(r.hasNotes.isSet());
    EXPECT_EQ(r.organiser.web, QStringLiteral("https://lauf.example/anmeldung"));

    // All day, nothing to note: no start time, no notes.
    c.event.time = QTime();
    c.event.description.clear();
    c.event.url = QStringLiteral("https://lauf.example/") + QString(140, u'a');
    c.event.location = QStringLiteral("Fulda");
    c.place = placeOf(c.event.location);
    r = raceOf(c);
    EXPECT_TRUE(r.start.isNull());
    EXPECT_EQ(r.notes, c.event.url);
    // Too long for the editor's field: in the notes only.
    EXPECT_TRUE(r.organiser.web.isEmpty());
}

TEST(CandidateRaces, CutsALongNameBetweenWholeCharactersAndDropsTheExportsPlace)
{
    CalendarFile file;
    // 34 letters, then a character of two UTF-16 units across the limit of 35.
    file.events = { event(QString(34, u'L') + QStringLiteral("🏃 Lauf"), QDate(2027, 5, 1)),
                    event("Herbstlauf (Fulda)", QDate(2027, 5, 2), "strivo-lauf-77@strivo"),
                    event("Herbstlauf (Fulda)", QDate(2027, 5, 3)) };
    file.events[1].location = file.events[2].location = QStringLiteral("Fulda");
    const std::vector<Candidate> list = candidatesOf(file, {}, testToday());
    EXPECT_EQ(list[0].name, QString(34, u'L'));
    EXPECT_EQ(list[1].name, QStringLiteral("Herbstlauf"));
    EXPECT_EQ(list[2].name, QStringLiteral("Herbstlauf (Fulda)"));
}

TEST(CandidateRaces, AddsToThePickListTheNamesTheEditorWouldAdd)
{
    const QStringList entries { "Stadtlauf Köln", "Berlin-Marathon" };
    const auto named = [](std::initializer_list<const char *> names) {
        std::vector<Race> races;
        for (const char *n : names) {
            Race r;
            r.name = QString::fromUtf8(n);
            races.push_back(r);
        }
        return races;
    };
    const struct
    {
        std::vector<Race> races;
        QStringList added;
    } cases[] = {
        // An entry that begins with the name, in any case, completes it.
        { named({ "stadtlauf", "BERLIN", "Berlin-Marathon" }), {} },
        { named({ "Stadtlauf Bonn", "Stadtlauf Bonn", "stadtlauf bonn" }), { "Stadtlauf Bonn" } },
        // Longer than every entry: new; a new name completes later shorter ones.
        { named({ "Berlin-Marathon 2027", "Berlin-Marathon 20" }), { "Berlin-Marathon 2027" } },
        { named({ "Äpfellauf", "äpfellauf", "", "Apfellauf" }), { "Äpfellauf", "Apfellauf" } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(newPickListNames(entries, c.races), c.added) << c.added.join(',').toStdString();
}

TEST_F(TakeOverTest, AddsTheTickedEventsAndTheirNewNamesInOneGo)
{
    std::vector<Candidate> list = candidatesFromText(
        ics(vevent("1", "DTSTART;TZID=Europe/Berlin:20270501T093000",
                   "SUMMARY:Maibocklauf\nLOCATION:Einbeck\\, Marktplatz\nDESCRIPTION:Mit Bier\n")
            + vevent("2", "DTSTART;VALUE=DATE:20270502", "SUMMARY:Ganztageslauf\n")
            + vevent("3", "DTSTART;VALUE=DATE:20270503", "SUMMARY:Abgewählt\n")
            + vevent("4", "DTSTART;VALUE=DATE:20260101", "SUMMARY:Neujahrslauf\n")
            + vevent("5", "DTSTART;VALUE=DATE:20270504", "SUMMARY:Abgesagt\nSTATUS:CANCELLED\n")));
    ASSERT_EQ(list.size(), 4u);
    list[3].ticked = false; // "Abgewählt"
    const long long pickList = folder.count("aw_lauf");
    const TakeOverCounts counts = takeOver(ctx.races(), folder.dbPath(), list, file);
    EXPECT_EQ(takeOverMessage(counts),
              QStringLiteral("2 Läufe wurden als vorgemerkte Läufe übernommen.\nNicht übernommen: "
                             "1 vergangen, 1 abgesagt, 1 nicht angehakt."));
    const QString select = QStringLiteral(
        "select ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_lauf_wotag, ad_start, ad_vorgemerkt_jn, "
        "ad_ang_jn, ad_gelaufen_jn, ad_memo, ad_memo_jn from adressen where ad_lauf = ?");
    const QVariantMap timed = folder.firstRow(select, "Maibocklauf");
    EXPECT_EQ(timed["ad_lauf_ort"], "Einbeck");
    EXPECT_EQ(timed["ad_lauf_datum"], "01.05.2027");
    EXPECT_EQ(timed["ad_lauf_wotag"], "Sa");
    EXPECT_EQ(timed["ad_start"], "09:30");
    EXPECT_EQ(timed["ad_vorgemerkt_jn"].toInt(), 1);
    EXPECT_EQ(timed["ad_ang_jn"].toInt(), 0);
    EXPECT_EQ(timed["ad_gelaufen_jn"], " ");
    EXPECT_EQ(timed["ad_memo"], "Mit Bier\n\nOrt: Einbeck, Marktplatz");
    EXPECT_EQ(timed["ad_memo_jn"], "Ja");
    const QVariantMap allDay = folder.firstRow(select, "Ganztageslauf");
    EXPECT_TRUE(allDay["ad_start"].isNull());
    EXPECT_EQ(allDay["ad_memo_jn"], "");
    EXPECT_EQ(folder.count("aw_lauf"), pickList + 2);
    EXPECT_FALSE(
        folder.firstRow("select * from aw_lauf where lauf = ?", "Ganztageslauf").isEmpty());

    // Read again, everything is there.
    list = candidatesFromText(
        ics(vevent("1", "DTSTART;TZID=Europe/Berlin:20270501T093000", "SUMMARY:maibocklauf\n")));
    EXPECT_EQ(list[0].note, CandidateNote::Present);
}

TEST_F(TakeOverTest, AddsNothingWhenAWriteFails)
{
    std::vector<Candidate> list = candidatesFromText(
        ics(vevent("1", "DTSTART;VALUE=DATE:20270501", "SUMMARY:Erster\n")
            + vevent("2", "DTSTART;VALUE=DATE:20270502", "SUMMARY:Zweiter\n")));
    // The pick list, written last, refuses.
    folder.exec("create trigger refuse before insert on aw_lauf begin select raise(abort, "
                "'voll'); end");
    const long long races = folder.count("adressen");
    EXPECT_THROW(takeOver(ctx.races(), folder.dbPath(), list, file), DbError);
    EXPECT_EQ(folder.count("adressen"), races);
}

TEST_F(TakeOverTest, ReadsTheProgramsOwnCalendarBackAsAlreadyThere)
{
    Race r;
    r.name = QStringLiteral("Stadtlauf");
    r.place = QStringLiteral("Köln");
    r.date = StoredDate(QStringLiteral("04.07.2027"));
    r.start = QStringLiteral("09:30");
    r.reminder.set(true);
    r.reminderDate = StoredDate(QStringLiteral("01.06.2027"));
    r.fees.deadlines[0] = StoredDate(QStringLiteral("15.05.2027"));
    r.fees.fees[0][0] = QStringLiteral("40 €");
    addRace(r);
    r.name = QStringLiteral("Winterlauf, 10 km");
    r.date = StoredDate(QStringLiteral("12.12.2027"));
    r.start.clear();
    addRace(r);
    const QString path = folder.file("Export/Strivo-Termine.ics");
    exportCalendar(folder.dbPath(), path, clock.now());

    file = readCalendarFile(path, berlin(), testToday());
    const std::vector<Candidate> list = candidatesOf(file, knownRaces(ctx.races()), testToday());
    ASSERT_EQ(list.size(), 6u); // two races, each with a deadline and a payment reminder
    for (const Candidate &c : list)
        EXPECT_EQ(noteText(c.note), QStringLiteral("schon vorhanden")) << c.name.toStdString();
    const long long races = folder.count("adressen");
    EXPECT_EQ(
        takeOverMessage(takeOver(ctx.races(), folder.dbPath(), list, file)),
        QStringLiteral("Es wurde kein Lauf übernommen.\nNicht übernommen: 6 schon vorhanden."));
    EXPECT_EQ(folder.count("adressen"), races);
}
