// SPDX-License-Identifier: GPL-3.0-or-later
// Access files damaged in ways that upset libmdb: a crash, an endless loop, memory without end and
// an allocation of gigabytes. Each is a public sample with a few bytes changed, made here in a
// temporary folder. By hand, the same file is
//   cp ../shared/fixtures/jet/<sample> x.mdb
//   printf '<after, as \x escapes>' | dd of=x.mdb bs=1 seek=$((<offset>)) conv=notrunc
// once for each change of the case; the usage map on a missing row, for example, is
//   cp ../shared/fixtures/jet/DateTestDatabase.mdb x.mdb
//   printf 'a\0d\0r\0e\0s\0s\0e\0n\0' | dd of=x.mdb bs=1 seek=$((0x11a91)) conv=notrunc
//   printf '\x05' | dd of=x.mdb bs=1 seek=$((0x12037)) conv=notrunc
// and libmdb crashes when it reads the table "adressen" in it.
#include "FakeUi.h"
#include "ProgramFixture.h"
#include "RaceLogSource.h"
#include "TestFolder.h"
#include "accessimport/AccessImport.h"
#include "common/DbError.h"
#include "context/AppContext.h"
#include "jet/ChildJetReader.h"
#include "racelist/RaceListWindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kSamples
    = qEnvironmentVariable("STRIVO_JET_SAMPLES", QStringLiteral(STRIVO_JET_SAMPLES));

const QString kDamaged = QStringLiteral("Die Access-Datei ist beschädigt und kann nicht gelesen "
                                        "werden");

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray utf16(const char *text)
{
    const QString s = QString::fromLatin1(text);
    return QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
}

struct Change
{
    qint64 offset;
    QByteArray before; // what the sample holds there, so that another sample is noticed
    QByteArray after;
};

// The catalogue rows that name the tables get names of a race log's tables, so that taking races
// over reads the damaged table ("Employees" becomes the pick list "aw_anrede", "DateTest" the
// races "adressen", in Jet 4 as UTF-16).
const Change kEmployeesAsPickList { 0x164d2d, "Employees", "aw_anrede" };
const Change kDateTestAsRaces { 0x11a91, utf16("DateTest"), utf16("adressen") };

struct Damage
{
    const char *name;
    const char *sample;
    const char *table;
    std::vector<Change> changes;
    bool readable; // whether a careful reader gets every row nevertheless
};

void PrintTo(const Damage &damage, std::ostream *os)
{
    *os << damage.name;
}

Damage usageMapOnAMissingRow()
{
    // The table's usage map names row 5 of its page, which has four rows: libmdb copies zero
    // bytes and then reads the map through a null pointer.
    return { "UsageMapOnAMissingRow",
             "DateTestDatabase.mdb",
             "adressen",
             { kDateTestAsRaces, { 0x12037, hex("00"), hex("05") } },
             false };
}

Damage memoPointingAtItself()
{
    // The first employee's note becomes a multi-page memo whose long-value row is four bytes
    // long and names itself as the next one: libmdb follows it for ever.
    return { "MemoPointingAtItself",
             "nwind.mdb",
             "aw_anrede",
             { kEmployeesAsPickList,
               { 0x367e5, hex("40"), hex("00") },
               { 0x3580a, hex("5107"), hex("fc07") },
               { 0x35ffc, hex("6e616c2e"), hex("006b0000") } },
             false };
}

Damage propertyRecordOfLengthZero()
{
    // A property record of length 0 in the catalogue: libmdb reads the same record again and
    // again, adding a copy each time, while the file is opened.
    return { "PropertyRecordOfLengthZero",
             "DateTestDatabase.mdb",
             "adressen",
             { kDateTestAsRaces, { 0x115a3, hex("16000000"), hex("00000000") } },
             false };
}

Damage memoOfHugeLength()
{
    // The first employee's note claims 0x7fffffff bytes; it is a one-page memo all the same.
    return { "MemoOfHugeLength",
             "nwind.mdb",
             "aw_anrede",
             { kEmployeesAsPickList, { 0x367e2, hex("af000040"), hex("ffffff7f") } },
             true };
}

// The program's reader, with little time without progress so that a hang ends soon.
JetOpener opener()
{
    return [](const QString &path) {
        ReaderLimits limits;
        limits.quiet = std::chrono::seconds(2);
        limits.addressSpace = qint64(256) << 20;
        return std::make_unique<ChildJetReader>(path, limits);
    };
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The damaged copy under `name` in `folder`.
QString makeDamaged(const Damage &damage, const QString &folder, const QString &name)
{
    QByteArray bytes = bytesOf(kSamples + '/' + damage.sample);
    for (const Change &c : damage.changes) {
        EXPECT_EQ(bytes.mid(c.offset, c.before.size()).toHex(), c.before.toHex()) << c.offset;
        bytes.replace(c.offset, c.after.size(), c.after);
    }
    const QString path = folder + '/' + name;
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
    return path;
}

class DamagedJet : public ::testing::TestWithParam<Damage>
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(kSamples + "/nwind.mdb"))
            GTEST_SKIP() << "Die Jet-Beispieldateien fehlen in " << kSamples.toStdString();
    }

    static QString make(const QString &folder, const QString &name)
    {
        return makeDamaged(GetParam(), folder, name);
    }

    // What reading the damaged table says; empty when it read completely.
    static QString readingError(const QString &path, int *rows = nullptr)
    {
        try {
            const std::unique_ptr<JetRowSource> file = opener()(path);
            const JetTable table = file->readTable(QString::fromUtf8(GetParam().table));
            if (rows)
                *rows = int(table.rows.size());
        } catch (const DbError &e) {
            return e.description();
        }
        return {};
    }

    QTemporaryDir temp;
};

} // namespace

TEST_P(DamagedJet, TheReaderReportsTheDamageOrReadsEveryRow)
{
    const QString path = make(temp.path(), QStringLiteral("alt.mdb"));
    const QByteArray before = bytesOf(path);
    int rows = -1;
    const QString error = readingError(path, &rows);
    if (GetParam().readable) {
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(rows, 9);
    } else {
        EXPECT_TRUE(error.startsWith(kDamaged)) << error.toStdString();
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
    }
    EXPECT_EQ(bytesOf(path), before);
}

// The damaged file brought along as the database: asked at start-up, "Ja" takes nothing over,
// changes nothing and leaves no half-made database; the next start asks again.
TEST_P(DamagedJet, AStartWithTheDamagedFileChangesNothing)
{
    const QString mainFile = make(temp.path(), QStringLiteral("Strivo-DB.mdb"));
    const QByteArray access = bytesOf(mainFile);
    FakeUi ui;
    ui.answers = { Ui::Answer::Yes };
    FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 30)));
    AppContext ctx(ui, clock, temp.path());

    QString error;
    try {
        offerAccessTakeover(ctx, opener());
    } catch (const DbError &e) {
        error = e.description();
    }
    EXPECT_TRUE(error.startsWith(GetParam().readable ? QStringLiteral("Die Access-Datei enthält "
                                                                      "nicht die Tabellen")
                                                     : kDamaged))
        << error.toStdString();
    EXPECT_EQ(bytesOf(mainFile), access);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList { "Strivo-DB.mdb" });
}

// Through the menu in a running session: a clear message, the database unchanged, and the
// session takes a sound file over afterwards.
TEST_P(DamagedJet, TheMenuReportsItAndTheSessionGoesOn)
{
    ProgramRun run(TestFolder::Content::Seeded, QDateTime(QDate(2026, 12, 8), QTime(9, 30)));
    const TestFolder &folder = run.folder;
    FakeUi &ui = run.ui;
    const QByteArray database = bytesOf(folder.dbPath());
    Ui::FileAnswer chosen;
    chosen.accepted = true;
    chosen.fileName = make(temp.path(), QStringLiteral("alt.mdb"));
    ui.fileAnswers = { chosen };

    EXPECT_FALSE(importAccessFile(run.ctx, opener()));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(
        GetParam().readable ? QStringLiteral("Die Access-Datei enthält nicht die Tabellen")
                            : kDamaged))
        << ui.messages[0].text.toStdString();
    EXPECT_EQ(bytesOf(folder.dbPath()), database);
    EXPECT_FALSE(ui.busyNow);

    RaceLogSource sound;
    sound.add("adressen", { { "ad_nummer", 1 }, { "ad_lauf", "Rennsteiglauf" } });
    ui.fileAnswers = { chosen };
    EXPECT_TRUE(importAccessFile(run.ctx, sound.opener()));
    EXPECT_EQ(folder.count("adressen"), 1);
}

// The program as it starts, with the reader it finds itself: every start asks, says what is
// wrong and goes on; nothing is left behind.
TEST(DamagedJetStart, EveryStartAsksReportsAndGoesOn)
{
    if (!QFileInfo::exists(kSamples + "/nwind.mdb"))
        GTEST_SKIP() << "Die Jet-Beispieldateien fehlen in " << kSamples.toStdString();
    QTemporaryDir temp;
    const QString mainFile
        = makeDamaged(usageMapOnAMissingRow(), temp.path(), QStringLiteral("Strivo-DB.mdb"));
    const QByteArray access = bytesOf(mainFile);
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        FakeUi ui;
        ui.answers = { Ui::Answer::Yes };
        FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 30)));
        AppContext ctx(ui, clock, temp.path());
        RaceListWindow window(ctx);
        EXPECT_TRUE(window.load());

        ASSERT_EQ(ui.messages.size(), 2) << ui.messageTexts().join('\n').toStdString();
        EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNo);
        EXPECT_TRUE(ui.messages[1].text.startsWith(kDamaged)) << ui.messages[1].text.toStdString();
        EXPECT_EQ(bytesOf(mainFile), access);
        EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList { "Strivo-DB.mdb" });
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, DamagedJet,
                         ::testing::Values(usageMapOnAMissingRow(), memoPointingAtItself(),
                                           propertyRecordOfLengthZero(), memoOfHugeLength()),
                         [](const ::testing::TestParamInfo<Damage> &info) {
                             return std::string(info.param.name);
                         });
