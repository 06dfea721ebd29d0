#include "MaintenanceFixture.h"
#include "common/DbError.h"
#include "data/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

const QStringList databaseFiles { QStringLiteral("Strivo-DB.mdb"),
                                  QStringLiteral("Strivo-DB_Kopie.mdb"),
                                  QStringLiteral("Strivo-DB_compact.mdb") };

mode_t modeOf(const QString &path)
{
    struct stat info
    {
    };
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST(StartupMaintenance, KeepsEveryRaceBacksUpAndCompacts)
{
    RaceFolder f;
    const QString dir = f.folder.path();
    EXPECT_EQ(f.paths.mainFile, dir + "/Strivo-DB.mdb");
    EXPECT_EQ(f.paths.backupFile, dir + "/Strivo-DB_Kopie.mdb");
    EXPECT_EQ(f.paths.compactFile, dir + "/Strivo-DB_compact.mdb");

    const QStringList content = dumpContent(f.paths.mainFile);
    const QByteArray before = bytesOf(f.paths.mainFile);
    ASSERT_GT(content.size(), 250);

    ASSERT_NO_THROW(runStartupMaintenance(f.paths));
    EXPECT_EQ(dumpContent(f.paths.mainFile), content);
    EXPECT_EQ(integrityOf(f.paths.mainFile), "ok");
    // The backup holds the state before compaction; the target equals the new main file.
    EXPECT_EQ(bytesOf(f.paths.backupFile), before);
    EXPECT_EQ(bytesOf(f.paths.compactFile), bytesOf(f.paths.mainFile));
    EXPECT_LT(QFileInfo(f.paths.mainFile).size(), before.size()) << "deleted races still take room";
    // Nothing else is left beside them: no temporary copies, no journals.
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name), databaseFiles);

    // The next start backs up the compacted file.
    const QByteArray compacted = bytesOf(f.paths.mainFile);
    ASSERT_NO_THROW(runStartupMaintenance(f.paths));
    EXPECT_EQ(bytesOf(f.paths.backupFile), compacted);
    EXPECT_EQ(dumpContent(f.paths.mainFile), content);
}

TEST(StartupMaintenance, KeepsThePermissionsOfTheMainFile)
{
    RaceFolder f;
    ASSERT_EQ(::chmod(QFile::encodeName(f.paths.mainFile).constData(), 0640), 0);
    ASSERT_NO_THROW(runStartupMaintenance(f.paths));
    EXPECT_EQ(modeOf(f.paths.mainFile), mode_t(0640));
}

TEST(StartupMaintenance, ReplacesWhateverEarlierStartsLeftBesideTheCopies)
{
    RaceFolder older;
    older.folder.addRace({ { "ad_lauf", "Ein Lauf aus einer anderen Datei" } });
    const QByteArray olderDb = bytesOf(older.paths.mainFile);
    // Journal files that earlier runs could have left beside the copies: playing one back
    // into a new copy would damage it.
    crashDuringEdit(older.paths.mainFile);
    const QByteArray hotJournal = bytesOf(older.paths.mainFile + "-journal");
    ASSERT_GT(hotJournal.size(), 0);

    const std::vector<std::pair<const char *, QByteArray>> leftovers {
        { "empty", QByteArray() },
        { "partial", olderDb.left(olderDb.size() / 2) },
        { "garbage", QByteArray(5000, 'x') },
        { "another database", olderDb },
    };
    for (const auto &[what, bytes] : leftovers) {
        SCOPED_TRACE(what);
        RaceFolder f;
        const QStringList content = dumpContent(f.paths.mainFile);
        writeFile(f.paths.compactFile, bytes);
        writeFile(f.paths.compactFile + "-journal", hotJournal);
        writeFile(f.paths.backupFile + "-journal", hotJournal);
        ASSERT_NO_THROW(runStartupMaintenance(f.paths));
        EXPECT_EQ(dumpContent(f.paths.mainFile), content);
        EXPECT_EQ(dumpContent(f.paths.backupFile), content);
        EXPECT_EQ(bytesOf(f.paths.compactFile), bytesOf(f.paths.mainFile));
        EXPECT_FALSE(QFile::exists(f.paths.compactFile + "-journal"));
        EXPECT_FALSE(QFile::exists(f.paths.backupFile + "-journal"));
    }
}

namespace {

struct Refusal
{
    const char *what;
    std::function<void(RaceFolder &)> damage;
    int number;
    const char *says; // a word the message must contain
};

void damagePages(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 pages = file.size() / 4096;
    for (qint64 page = 3; page < pages; page += 5) {
        file.seek(page * 4096 + 8);
        file.write(QByteArray(200, '\xA5'));
    }
}

// Start 1 runs as the program starts: begun before its window is built; the others in place.
void startNumber(int start, const MaintenancePaths &paths)
{
    if (start != 1)
        return runStartupMaintenance(paths);
    EarlyMaintenance early;
    early.begin(paths);
    early.finish(paths);
}

} // namespace

// Files the program cannot use are reported and left exactly as they are, start after start.
TEST(StartupMaintenance, RefusesFilesItCannotUseAndLeavesEveryFileAsItWas)
{
    const QByteArray jetHead = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20);
    const std::vector<Refusal> cases {
        { "missing", [](RaceFolder &f) { QFile::remove(f.paths.mainFile); },
          ErrNo::DatabaseNotFound, "nicht gefunden" },
        { "empty", [](RaceFolder &f) { writeFile(f.paths.mainFile, {}); }, ErrNo::DatabaseCorrupt,
          "leer" },
        { "garbage", [](RaceFolder &f) { writeFile(f.paths.mainFile, QByteArray(70000, 'q')); },
          ErrNo::UnknownFormat, "keine SQLite-Datenbank" },
        { "Jet file",
          [&](RaceFolder &f) { writeFile(f.paths.mainFile, jetHead + QByteArray(8192, '\0')); },
          ErrNo::UnknownFormat, "Access-Datenbank (Jet)" },
        { "damaged pages", [](RaceFolder &f) { damagePages(f.paths.mainFile); },
          ErrNo::DatabaseCorrupt, "beschädigt" },
        { "without the tables",
          [](RaceFolder &f) {
              QFile::remove(f.paths.mainFile);
              SqliteDb db(f.paths.mainFile, SqliteDb::Open::Create);
              db.exec("create table adressen (ad_nummer integer primary key)");
          },
          ErrNo::UnknownFormat, "aw_plzort" },
    };
    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.what);
        RaceFolder f;
        ASSERT_NO_THROW(runStartupMaintenance(f.paths)); // yesterday's start left its copies
        c.damage(f);
        const auto files = filesIn(f.folder.path());
        for (int start = 0; start < 3; ++start) {
            try {
                startNumber(start, f.paths);
                ADD_FAILURE() << "start " << start << " accepted the file";
            } catch (const DbError &e) {
                EXPECT_EQ(e.number(), c.number) << e.description().toStdString();
                EXPECT_TRUE(e.description().contains(QString::fromUtf8(c.says)))
                    << e.description().toStdString();
                EXPECT_TRUE(e.description().contains(QLatin1String("Strivo-DB.mdb")))
                    << e.description().toStdString();
            }
            EXPECT_EQ(filesIn(f.folder.path()), files) << "start " << start;
        }
    }
}

TEST(StartupMaintenance, BegunEarlyEndsAsARunInPlace)
{
    RaceFolder f;
    const QStringList content = dumpContent(f.paths.mainFile);
    const QByteArray before = bytesOf(f.paths.mainFile);
    {
        EarlyMaintenance early;
        early.begin(f.paths);
        EXPECT_TRUE(early.begun());
        ASSERT_NO_THROW(early.finish(f.paths));
        EXPECT_FALSE(early.begun());
    }
    EXPECT_EQ(dumpContent(f.paths.mainFile), content);
    EXPECT_EQ(bytesOf(f.paths.backupFile), before);
    EXPECT_EQ(bytesOf(f.paths.compactFile), bytesOf(f.paths.mainFile));
    EXPECT_EQ(QDir(f.folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              databaseFiles);

    // Not finished (the window could not be built): it is still carried to its end.
    const QByteArray compacted = bytesOf(f.paths.mainFile);
    {
        EarlyMaintenance early;
        early.begin(f.paths);
    }
    EXPECT_EQ(bytesOf(f.paths.backupFile), compacted);
    EXPECT_EQ(bytesOf(f.paths.compactFile), bytesOf(f.paths.mainFile));
    EXPECT_EQ(dumpContent(f.paths.mainFile), content);
    EXPECT_EQ(QDir(f.folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              databaseFiles);
}

TEST(StartupMaintenance, AnAccessFileWaitsForTheLoadStepToTakeItOver)
{
    RaceFolder f;
    const QByteArray database = bytesOf(f.paths.mainFile);
    writeFile(f.paths.mainFile,
              QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(8192, '\0'));
    const auto files = filesIn(f.folder.path());
    EarlyMaintenance early;
    early.begin(f.paths);
    EXPECT_FALSE(early.begun());
    EXPECT_EQ(filesIn(f.folder.path()), files);
    // The load step replaces it by a database of its own before it asks for the maintenance.
    writeFile(f.paths.mainFile, database);
    ASSERT_NO_THROW(early.finish(f.paths));
    EXPECT_EQ(integrityOf(f.paths.mainFile), "ok");
}

namespace {

// Every name in the folder with what it is: a link's target, or a file's bytes.
QMap<QString, QByteArray> namesIn(const QString &folder)
{
    QMap<QString, QByteArray> names;
    const QDir dir(folder);
    for (const QFileInfo &entry :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        names.insert(entry.fileName(),
                     entry.isSymLink() ? "-> " + entry.symLinkTarget().toUtf8()
                                       : bytesOf(entry.filePath()));
    return names;
}

void makeLink(const QString &target, const QString &name)
{
    ASSERT_TRUE(QFile::link(target, name)) << name.toStdString();
}

void makeHardLink(const QString &existing, const QString &name)
{
    ASSERT_EQ(::link(QFile::encodeName(existing).constData(), QFile::encodeName(name).constData()),
              0);
}

// Gives the main file's content to `name` and leaves the main name as a link to it.
void moveMainBehindLink(RaceFolder &f, const QString &name)
{
    QFile::remove(name);
    ASSERT_TRUE(QFile::rename(f.paths.mainFile, name));
    makeLink(name, f.paths.mainFile);
}

} // namespace

// The maintenance deletes and writes its copies; where one of them is the main file itself,
// it must change nothing at all, start after start.
TEST(StartupMaintenance, RefusesWhenTheMainFileIsOneOfItsCopies)
{
    struct Case
    {
        const char *what;
        std::function<void(RaceFolder &)> arrange;
        const char *otherName;
    };
    const std::vector<Case> cases {
        { "main file a link to the target",
          [](RaceFolder &f) { moveMainBehindLink(f, f.paths.compactFile); },
          "Strivo-DB_compact.mdb" },
        { "main file a link to the backup",
          [](RaceFolder &f) { moveMainBehindLink(f, f.paths.backupFile); }, "Strivo-DB_Kopie.mdb" },
        { "main file a link to a journal name",
          [](RaceFolder &f) { moveMainBehindLink(f, f.paths.compactFile + "-journal"); },
          "Strivo-DB_compact.mdb-journal" },
        { "main file a link to a temporary name",
          [](RaceFolder &f) { moveMainBehindLink(f, f.paths.backupFile + ".tmp"); },
          "Strivo-DB_Kopie.mdb.tmp" },
        { "target a hard link of the main file",
          [](RaceFolder &f) {
              QFile::remove(f.paths.compactFile);
              makeHardLink(f.paths.mainFile, f.paths.compactFile);
          },
          "Strivo-DB_compact.mdb" },
        { "backup a hard link of the main file",
          [](RaceFolder &f) {
              QFile::remove(f.paths.backupFile);
              makeHardLink(f.paths.mainFile, f.paths.backupFile);
          },
          "Strivo-DB_Kopie.mdb" },
        { "backup a link to the main file",
          [](RaceFolder &f) {
              QFile::remove(f.paths.backupFile);
              makeLink(f.paths.mainFile, f.paths.backupFile);
          },
          "Strivo-DB_Kopie.mdb" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RaceFolder f;
        ASSERT_NO_THROW(runStartupMaintenance(f.paths)); // yesterday's start left its copies
        const QStringList content = dumpContent(f.paths.mainFile);
        c.arrange(f);
        const auto names = namesIn(f.folder.path());
        for (int start = 0; start < 2; ++start) {
            try {
                startNumber(start, f.paths);
                ADD_FAILURE() << "start " << start << " worked on its own main file";
            } catch (const DbError &e) {
                EXPECT_EQ(e.number(), ErrNo::CannotOpenFile);
                for (const char *name : { "Strivo-DB.mdb'", c.otherName })
                    EXPECT_TRUE(e.description().contains(QString::fromUtf8(name)))
                        << e.description().toStdString();
            }
            EXPECT_EQ(namesIn(f.folder.path()), names) << "start " << start;
            EXPECT_EQ(dumpContent(f.paths.mainFile), content);
        }
    }
}

// Copies and leftovers that are links to other files are replaced as names; nothing is written
// or deleted through them.
TEST(StartupMaintenance, NeverWritesThroughALinkUnderACopysName)
{
    RaceFolder f;
    const QStringList content = dumpContent(f.paths.mainFile);
    QTemporaryDir elsewhere;
    const QStringList names { f.paths.backupFile, f.paths.compactFile, f.paths.backupFile + ".tmp",
                              f.paths.compactFile + ".tmp", f.paths.compactFile + "-journal" };
    QStringList targets;
    for (const QString &name : names) {
        targets << elsewhere.filePath(QFileInfo(name).fileName() + ".fremd");
        writeFile(targets.back(), "fremde Datei " + name.toUtf8());
        makeLink(targets.back(), name);
    }
    const auto outside = namesIn(elsewhere.path());
    ASSERT_NO_THROW(runStartupMaintenance(f.paths));
    EXPECT_EQ(namesIn(elsewhere.path()), outside);
    EXPECT_EQ(dumpContent(f.paths.mainFile), content);
    EXPECT_EQ(dumpContent(f.paths.backupFile), content);
    EXPECT_EQ(
        QDir(f.folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
        databaseFiles);
}

// A new race whose save never came is a row with nothing but its number: the start removes it,
// and only it.
TEST(StartupMaintenance, RemovesRacesThatHoldNothingButTheirNumber)
{
    RaceFolder f;
    struct Row
    {
        const char *what;
        const char *set; // assignments after the insert, empty for none
        bool document;
        bool kept;
    };
    const std::vector<Row> rows {
        { "nothing but the number", "", false, false },
        { "a second one", "", false, false },
        { "a linked document", "", true, true },
        { "saved with blank flags", "ad_gelaufen_jn = ' ', ad_bezahlt_jn = ' '", false, true },
        { "an empty note", "ad_memo = ''", false, true },
        { "noted", "ad_vorgemerkt_jn = 1", false, true },
        { "a name", "ad_lauf = 'Silvesterlauf'", false, true },
    };
    const long long before = f.folder.count("adressen");
    std::vector<qlonglong> numbers;
    for (const Row &row : rows) {
        f.folder.exec("insert into adressen default values");
        numbers.push_back(
            f.folder.firstRow("select max(ad_nummer) as n from adressen where ad_nummer > ?", 0)
                .value("n")
                .toLongLong());
        if (*row.set)
            f.folder.exec(QStringLiteral("update adressen set %1 where ad_nummer = %2")
                              .arg(QLatin1String(row.set))
                              .arg(numbers.back()));
        if (row.document)
            f.folder.exec(QStringLiteral("insert into ereignisse_dokumente (ed_nummer, ed_datei) "
                                         "values ('%1', 'Dokumente/Ausschreibung.pdf')")
                              .arg(numbers.back()));
    }

    ASSERT_NO_THROW(runStartupMaintenance(f.paths));
    long long kept = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].what);
        const bool present
            = !f.folder.firstRow("select ad_nummer from adressen where ad_nummer = ?", numbers[i])
                   .isEmpty();
        EXPECT_EQ(present, rows[i].kept);
        kept += rows[i].kept ? 1 : 0;
    }
    EXPECT_EQ(f.folder.count("adressen"), before + kept);
    EXPECT_EQ(bytesOf(f.paths.compactFile), bytesOf(f.paths.mainFile));
}
