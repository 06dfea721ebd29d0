#include "model/RaceColumns.h"

#include <QFile>

#include <map>

#include <gtest/gtest.h>

namespace {

// Stored values compare as the file holds them: NULL, "" and " " are three different values.
std::string describe(const QVariant &v)
{
    if (v.isNull())
        return "NULL";
    if (v.typeId() == QMetaType::QString)
        return '"' + v.toString().toStdString() + '"';
    return v.typeName() + std::string(":") + v.toString().toStdString();
}

std::vector<std::string> describeAll(const std::vector<QVariant> &values)
{
    std::vector<std::string> out;
    for (const QVariant &v : values)
        out.push_back(describe(v));
    return out;
}

qsizetype column(const char *name)
{
    return RaceColumns::names().indexOf(QLatin1String(name));
}

// A row as read from the file: every column NULL except the ones given.
std::vector<QVariant> row(std::initializer_list<std::pair<const char *, QVariant>> given)
{
    std::vector<QVariant> values(size_t(RaceColumns::names().size()));
    for (const auto &[name, value] : given)
        values[size_t(column(name))] = value;
    return values;
}

// The columns of the races table as db/schema.sql creates them, after the key.
QStringList schemaColumns()
{
    QFile file(QStringLiteral(STRIVO_SOURCE_DIR "/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString schema = QString::fromUtf8(file.readAll());
    const qsizetype start = schema.indexOf(QLatin1String("CREATE TABLE adressen ("));
    const qsizetype end = schema.indexOf(QLatin1String(");"), start);
    QStringList columns;
    for (const QString &line : schema.mid(start, end - start).split(u'\n').mid(1))
        if (const QString name = line.trimmed().section(u' ', 0, 0); !name.isEmpty())
            columns << name;
    return columns.mid(1);
}

TEST(RaceColumns, NamesEveryColumnOfTheTableInItsOrder)
{
    const QStringList schema = schemaColumns();
    ASSERT_EQ(schema.size(), 54);
    EXPECT_EQ(RaceColumns::names(), schema);
    for (const char *name :
         { RaceColumns::kName, RaceColumns::kDate, RaceColumns::kRegistered, RaceColumns::kNoted,
           RaceColumns::kRun, RaceColumns::kReminder, RaceColumns::kReminderDate,
           RaceColumns::kPaid, RaceColumns::kOnStartScreen })
        EXPECT_GE(column(name), 0) << name;
}

// Whatever a column holds, reading a row and writing it back gives the same stored values.
TEST(RaceColumns, RowReadAndWrittenBackKeepsEveryStoredForm)
{
    const std::vector<std::vector<QVariant>> rows = {
        row({}),
        row({ { "ad_lauf", QStringLiteral("") }, { "ad_lauf_ort", QStringLiteral(" ") } }),
        row({ { "ad_gelaufen_jn", QStringLiteral("ja") },
              { "ad_bezahlt_jn", QStringLiteral("nein") },
              { "ad_alarm_jn", QStringLiteral("") },
              { "ad_memo_jn", QStringLiteral(" ") } }),
        row({ { "ad_ang_jn", qlonglong(0) },
              { "ad_vorgemerkt_jn", qlonglong(2) },
              { "ad_startbild_jn", QStringLiteral("true") } }),
        row({ { "ad_lauf_datum", QStringLiteral("31.02.2004") },
              { "ad_ang_datum", QStringLiteral("Ja") },
              { "ad_alarm_datum", QStringLiteral("01.01.1900") },
              { "ad_sg2_datum", QStringLiteral("05.03.2004, Freitag") },
              { "ad_bezahlt_datum", QStringLiteral(" 5.3.2004") } }),
        row({ { "ad_lauf", QStringLiteral("Köln-Marathon") },
              { "ad_memo", QStringLiteral("Zeile 1\nZeile 2") },
              { "ad_sg33", QStringLiteral("45,- €") } }),
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const Race race = RaceColumns::fromStored(7, rows[i]);
        EXPECT_EQ(race.number, 7);
        EXPECT_EQ(describeAll(RaceColumns::toStored(race)), describeAll(rows[i])) << "row " << i;
    }
}

TEST(RaceColumns, FieldsLandWhereTheirColumnsSay)
{
    const Race race
        = RaceColumns::fromStored(3,
                                  row({ { "ad_lauf", QStringLiteral("Berlin") },
                                        { "ad_sg12", QStringLiteral("60") },
                                        { "ad_sg21", QStringLiteral("70") },
                                        { "ad_sg3_datum", QStringLiteral("01.09.2025") },
                                        { "ad_strecke_sg", QStringLiteral("10 km") },
                                        { "ad_name_veranst", QStringLiteral("SCC") },
                                        { "ad_vorname_ansprech", QStringLiteral("Anna") },
                                        { "ad_land_ansprech", QStringLiteral("D") } }));
    EXPECT_EQ(race.name, QStringLiteral("Berlin"));
    EXPECT_EQ(race.fees.fees[0][1], QStringLiteral("60"));
    EXPECT_EQ(race.fees.fees[1][0], QStringLiteral("70"));
    EXPECT_EQ(race.fees.deadlines[2].date(), QDate(2025, 9, 1));
    EXPECT_EQ(race.fees.thirdDistance, QStringLiteral("10 km"));
    EXPECT_EQ(race.organiser.name, QStringLiteral("SCC"));
    EXPECT_EQ(race.contact.firstName, QStringLiteral("Anna"));
    EXPECT_EQ(race.contact.country, QStringLiteral("D"));
    EXPECT_TRUE(race.place.isNull());
}

TEST(RaceColumns, HoldingGivesTheColumnsOfTheNamedFieldsInTheTablesOrder)
{
    const Race r;
    const struct
    {
        std::initializer_list<const void *> fields;
        QStringList columns;
    } cases[] = {
        { { &r.place }, { "ad_lauf_ort" } },
        { { &r.fees.fees[1][2], &r.fees.deadlines[0] }, { "ad_sg1_datum", "ad_sg23" } },
        { { &r.reminder, &r.reminderDate, &r.paid },
          { "ad_alarm_jn", "ad_alarm_datum", "ad_bezahlt_jn" } },
        { { &r.organiser.web, &r.contact.email }, { "ad_internet_veranst", "ad_email_ansprech" } },
        { { &r.notes, &r.hasNotes }, { "ad_memo_jn", "ad_memo" } },
        // The number is no column of names(); a field of another race is none of this one's.
        { { &r.number }, {} },
        { {}, {} },
    };
    for (const auto &c : cases)
        EXPECT_EQ(RaceColumns::holding(r, c.fields), c.columns)
            << c.columns.join(u',').toStdString();
    const Race other;
    EXPECT_TRUE(RaceColumns::holding(r, { &other.name }).isEmpty());
}

// Readers of other files convert into these kinds: a flag kept as text must stay text, or "Ja"
// would be read as a number.
TEST(RaceColumns, KindsSayWhichColumnsHoldDatesTheStartTimeAndYesNo)
{
    using K = RaceColumns::Kind;
    const std::map<std::string, K> notText {
        { "ad_lauf_datum", K::Date },    { "ad_ang_datum", K::Date },
        { "ad_sg1_datum", K::Date },     { "ad_sg2_datum", K::Date },
        { "ad_sg3_datum", K::Date },     { "ad_alarm_datum", K::Date },
        { "ad_bezahlt_datum", K::Date }, { "ad_start", K::Time },
        { "ad_ang_jn", K::YesNo },       { "ad_vorgemerkt_jn", K::YesNo },
        { "ad_startbild_jn", K::YesNo },
    };
    const QStringList &names = RaceColumns::names();
    ASSERT_EQ(RaceColumns::kinds().size(), size_t(names.size()));
    for (qsizetype c = 0; c < names.size(); ++c) {
        const auto found = notText.find(names[c].toStdString());
        EXPECT_EQ(RaceColumns::kinds()[size_t(c)], found == notText.end() ? K::Text : found->second)
            << names[c].toStdString();
    }
}

TEST(Flag, OnlyTheExactJaCountsInATextFlagAndAnyNonZeroInAYesNoColumn)
{
    struct Case
    {
        Flag::Kind kind;
        QVariant stored;
        bool set;
    };
    const Case cases[] = {
        { Flag::Kind::JaBlank, QStringLiteral("Ja"), true },
        { Flag::Kind::JaBlank, QStringLiteral("ja"), false },
        { Flag::Kind::JaBlank, QStringLiteral("JA"), false },
        { Flag::Kind::JaBlank, QStringLiteral("Ja "), false },
        { Flag::Kind::JaBlank, QStringLiteral("nein"), false },
        { Flag::Kind::JaBlank, QStringLiteral(" "), false },
        { Flag::Kind::JaBlank, QVariant(), false },
        { Flag::Kind::JaEmpty, QStringLiteral("Ja"), true },
        { Flag::Kind::JaEmpty, QStringLiteral(""), false },
        { Flag::Kind::Boolean, qlonglong(1), true },
        { Flag::Kind::Boolean, qlonglong(-1), true },
        { Flag::Kind::Boolean, qlonglong(0), false },
        { Flag::Kind::Boolean, QVariant(), false },
    };
    for (const Case &c : cases)
        EXPECT_EQ(Flag::fromStored(c.kind, c.stored).isSet(), c.set) << describe(c.stored);
}

TEST(Flag, SettingWritesTheColumnsOwnFormOfYesAndNo)
{
    struct Case
    {
        Flag::Kind kind;
        bool on;
        QVariant stored;
    };
    const Case cases[] = {
        { Flag::Kind::JaBlank, true, QStringLiteral("Ja") },
        { Flag::Kind::JaBlank, false, QStringLiteral(" ") },
        { Flag::Kind::JaEmpty, true, QStringLiteral("Ja") },
        { Flag::Kind::JaEmpty, false, QStringLiteral("") },
        { Flag::Kind::Boolean, true, qlonglong(1) },
        { Flag::Kind::Boolean, false, qlonglong(0) },
    };
    for (const Case &c : cases) {
        Flag flag = Flag::fromStored(c.kind, QStringLiteral("nein"));
        flag.set(c.on);
        EXPECT_EQ(describe(flag.stored()), describe(c.stored));
        EXPECT_EQ(flag.isSet(), c.on);
    }
}

TEST(Race, NewRaceHoldsWhatAnAddedRowHolds)
{
    // An added row: every text NULL, the Yes/No columns their default 0.
    const std::vector<QVariant> stored = RaceColumns::toStored(Race {});
    const std::vector<QVariant> added = row({ { "ad_ang_jn", qlonglong(0) },
                                              { "ad_vorgemerkt_jn", qlonglong(0) },
                                              { "ad_startbild_jn", qlonglong(0) } });
    EXPECT_EQ(describeAll(stored), describeAll(added));
}

TEST(StoredDate, GivesTheDateOnlyForAnExactValidDayMonthYear)
{
    struct Case
    {
        QString stored;
        QDate date;
    };
    const Case cases[] = {
        { QStringLiteral("05.03.2004"), QDate(2004, 3, 5) },
        { QStringLiteral("29.02.2004"), QDate(2004, 2, 29) },
        { QStringLiteral("29.02.2000"), QDate(2000, 2, 29) },
        { QStringLiteral("29.02.1900"), QDate() },
        { QStringLiteral("29.02.2003"), QDate() },
        { QStringLiteral("31.04.2004"), QDate() },
        { QStringLiteral("01.01.1850"), QDate(1850, 1, 1) },
        { QStringLiteral("01.01.0001"), QDate(1, 1, 1) },
        { QStringLiteral("01.01.0000"), QDate() },
        { QStringLiteral("31.12.2150"), QDate(2150, 12, 31) },
        { QStringLiteral("31.12.9999"), QDate(9999, 12, 31) },
        { QStringLiteral("01.01.1900"), QDate(1900, 1, 1) },
        { QStringLiteral(" 5.3.2004"), QDate() },
        { QStringLiteral("5.3.2004"), QDate() },
        { QStringLiteral("05.03.2004, Freitag"), QDate() },
        { QStringLiteral("05-03-2004"), QDate() },
        { QStringLiteral("05.03.04"), QDate() },
        { QStringLiteral("0a.03.2004"), QDate() },
        { QStringLiteral("Ja"), QDate() },
        { QStringLiteral(" "), QDate() },
        { QStringLiteral(""), QDate() },
        { QString(), QDate() },
    };
    for (const Case &c : cases) {
        const StoredDate date(c.stored);
        EXPECT_EQ(date.date(), c.date) << c.stored.toStdString();
        EXPECT_EQ(date.stored(), c.stored);
        EXPECT_EQ(date.isNull(), c.stored.isNull());
    }
}

TEST(StoredDate, FromDateWritesTheStoredFormThatReadsBack)
{
    for (const QDate &d : { QDate(2004, 2, 29), QDate(1899, 12, 31), QDate(2100, 1, 1),
                            QDate(33, 7, 4), QDate(9999, 12, 31) }) {
        const StoredDate stored = StoredDate::fromDate(d);
        EXPECT_EQ(stored.stored().size(), 10);
        EXPECT_EQ(stored.date(), d) << stored.stored().toStdString();
    }
    EXPECT_EQ(StoredDate::fromDate(QDate(2004, 3, 5)).stored(), QStringLiteral("05.03.2004"));
    EXPECT_EQ(StoredDate::fromDate(QDate()).stored(), QStringLiteral(""));
}

TEST(Race, DerivedValues)
{
    struct Case
    {
        QString start;
        std::optional<QTime> time;
    };
    const Case starts[] = {
        { QStringLiteral("09:30"), QTime(9, 30) }, { QStringLiteral("00:00"), QTime(0, 0) },
        { QStringLiteral("24:00"), std::nullopt }, { QStringLiteral("9:30"), std::nullopt },
        { QStringLiteral(":"), std::nullopt },     { QString(), std::nullopt },
    };
    for (const Case &c : starts) {
        Race race;
        race.start = c.start;
        EXPECT_EQ(race.startTime(), c.time) << c.start.toStdString();
    }

    struct Reminder
    {
        QString stored;
        std::optional<QDate> day;
    };
    const Reminder reminders[] = {
        { QStringLiteral("01.01.1900"), std::nullopt },
        { QStringLiteral("02.01.1900"), QDate(1900, 1, 2) },
        { QStringLiteral("30.02.2020"), std::nullopt },
        { QString(), std::nullopt },
    };
    for (const Reminder &c : reminders) {
        Race race;
        race.reminderDate = StoredDate(c.stored);
        EXPECT_EQ(race.reminderDay(), c.day) << c.stored.toStdString();
    }

    Race race;
    race.registrationDate = StoredDate(QStringLiteral("Ja"));
    EXPECT_TRUE(race.registeredWithoutDate());
    race.registrationDate = StoredDate(QStringLiteral("01.02.2020"));
    EXPECT_FALSE(race.registeredWithoutDate());
}

} // namespace
