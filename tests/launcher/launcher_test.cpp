// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher strivo, run as a process in a temporary installation: bin/strivo (a copy of the
// real one), bin/Strivo (a stand-in that only notes it was started, or a copy of the real
// program) and share/strivo/*.sql.
// When the tests run as root they run the launcher as nobody, so that missing write
// permissions really stop it.
#include "TestFolder.h"
#include "data/InstanceLock.h"
#include "data/Sqlite.h"
#include "data/UserFolder.h"
#include "ui/CommandLine.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t nobody = 65534;

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

long long races(const QString &database)
{
    SqliteDb db(database, SqliteDb::Open::ReadOnly);
    return db.scalar("select count(*) from adressen").toLongLong();
}

std::string integrity(const QString &database)
{
    try {
        SqliteDb db(database, SqliteDb::Open::ReadOnly);
        return db.scalar("pragma integrity_check").toString().toStdString();
    } catch (const DbError &e) {
        return e.description().toStdString();
    }
}

struct Result
{
    int exitCode = -1;
    QString errors;
    bool started = false;
    QString output;
};

enum class Program { StandIn, Real };

class Installation
{
public:
    explicit Installation(Program program = Program::StandIn)
    {
        const QString bin = m_root.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        QFile::copy(QStringLiteral(STRIVO_LAUNCHER), bin + QStringLiteral("/strivo"));
        if (program == Program::Real)
            QFile::copy(QStringLiteral(STRIVO_PROGRAM), bin + QStringLiteral("/Strivo"));
        else
            writeFile(bin + QStringLiteral("/Strivo"),
                      "#!/bin/sh\necho started > \"$STRIVO_TEST_MARKER\"\n"
                      "[ -z \"$STRIVO_TEST_PAUSE\" ] || sleep \"$STRIVO_TEST_PAUSE\"\n"
                      // Releases the lock it was handed as the program does: the file goes first.
                      "[ -z \"$STRIVO_LOCK_FD\" ] || rm -f \"$(readlink "
                      "/proc/$$/fd/$STRIVO_LOCK_FD)\"\n");
        QFile::setPermissions(bin + QStringLiteral("/Strivo"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                  | QFile::ReadOther | QFile::ExeOther);
        QDir().mkpath(path(QStringLiteral("share/strivo")));
        for (const QString &name : { QStringLiteral("schema.sql"), QStringLiteral("seed.sql") })
            QFile::copy(TestFolder::sourceDir() + QStringLiteral("/db/") + name,
                        path(QStringLiteral("share/strivo/") + name));
        QDir().mkpath(home());
        env.insert(QStringLiteral("HOME"), home());
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("STRIVO_TEST_MARKER"), marker());
    }

    QString path(const QString &name) const { return m_root.filePath(name); }
    QString home() const { return path(QStringLiteral("home")); }
    QString bin() const { return path(QStringLiteral("bin")); }
    QString marker() const { return path(QStringLiteral("started")); }
    QString userFolder() const { return home() + QStringLiteral("/.local/share/Strivo"); }
    QString userDatabase() const { return userFolder() + QStringLiteral("/Strivo-DB.mdb"); }

    Result launch(const QStringList &args = {}) { return run(QStringLiteral("strivo"), args); }

    // The files and folders under HOME, to see that a command left them alone.
    QStringList homeEntries() const
    {
        QStringList entries;
        QDirIterator it(home(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            entries << it.next();
        return entries;
    }

    Result run(const QString &command, const QStringList &args = {})
    {
        QFile::remove(marker());
        QProcess process;
        start(process, env, args, command);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << command.toStdString() << " did not end within 30 s";
        }
        return { process.exitCode(), QString::fromUtf8(process.readAllStandardError()),
                 QFileInfo::exists(marker()), QString::fromUtf8(process.readAllStandardOutput()) };
    }

    // Starts the launcher (or the program) without waiting for it.
    void start(QProcess &process, const QProcessEnvironment &environment,
               const QStringList &args = {}, const QString &command = QStringLiteral("strivo"))
    {
        process.setProcessEnvironment(environment);
        QString program = bin() + u'/' + command;
        QStringList arguments = args;
        if (::geteuid() == 0) {
            handOverToNobody();
            arguments = QStringList { QStringLiteral("--reuid=%1").arg(nobody),
                                      QStringLiteral("--regid=%1").arg(nobody),
                                      QStringLiteral("--clear-groups"), program }
                + args;
            program = QStringLiteral("setpriv");
        }
        process.start(program, arguments);
    }

    QProcessEnvironment env;

private:
    // Everything the test made now belongs to nobody; modes stay as the test set them.
    void handOverToNobody()
    {
        EXPECT_EQ(::chown(QFile::encodeName(m_root.path()).constData(), nobody, nobody), 0);
        QDirIterator it(m_root.path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            EXPECT_EQ(::lchown(QFile::encodeName(path).constData(), nobody, nobody), 0)
                << path.toStdString();
        }
    }

    QTemporaryDir m_root;
};

void expectRefused(const Result &result, const QString &says)
{
    EXPECT_NE(result.exitCode, 0);
    EXPECT_FALSE(result.started) << "the program must not start";
    EXPECT_TRUE(result.errors.contains(says)) << result.errors.toStdString();
    // Whatever went wrong is said in a sentence of its own.
    EXPECT_TRUE(result.errors.contains(QStringLiteral(". Strivo wird nicht gestartet.")))
        << result.errors.toStdString();
}

} // namespace

TEST(Launcher, firstStartMakesTheUserFolderAndLaterStartsKeepIt)
{
    Installation inst;
    const Result first = inst.launch();
    ASSERT_TRUE(first.started) << first.errors.toStdString();
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(races(inst.userDatabase()), 0);
    {
        SqliteDb db(inst.userDatabase(), SqliteDb::Open::ReadOnly);
        EXPECT_GT(db.scalar("select count(*) from aw_anrede").toInt(), 0) << "seed missing";
    }
    EXPECT_TRUE(QFileInfo(inst.userFolder() + QStringLiteral("/Export")).isDir());
    EXPECT_TRUE(QFileInfo(inst.userFolder() + QStringLiteral("/Dokumente")).isDir());
    EXPECT_FALSE(QFileInfo::exists(inst.userDatabase() + QStringLiteral(".neu")));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(inst.userFolder()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "the races are private to the user";

    {
        SqliteDb db(inst.userDatabase(), SqliteDb::Open::ReadWrite);
        db.exec("insert into adressen (ad_lauf, ad_lauf_datum) values ('Stadtlauf', "
                "'01.05.2027')");
    }
    const QByteArray before = digest(inst.userDatabase());
    const Result second = inst.launch();
    EXPECT_TRUE(second.started);
    EXPECT_EQ(digest(inst.userDatabase()), before) << "an existing database is never replaced";
    EXPECT_EQ(races(inst.userDatabase()), 1);
}

TEST(Launcher, followsTheXdgRulesForTheDataFolder)
{
    EXPECT_EQ(userDataFolderFrom(QStringLiteral("/data/x/"), QStringLiteral("/home/a")),
              QStringLiteral("/data/x/Strivo"));
    EXPECT_EQ(userDataFolderFrom(QStringLiteral("rel/data"), QStringLiteral("/home/a")),
              QStringLiteral("/home/a/.local/share/Strivo"));
    EXPECT_EQ(userDataFolderFrom({}, QStringLiteral("/home/a")),
              QStringLiteral("/home/a/.local/share/Strivo"));
    EXPECT_EQ(userDataFolderFrom(QStringLiteral("rel"), QStringLiteral("relhome")), QString());

    Installation inst;
    // A relative XDG_DATA_HOME is ignored, not taken relative to wherever the menu started us.
    inst.env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("relativ/daten"));
    EXPECT_TRUE(inst.launch().started);
    EXPECT_TRUE(QFileInfo::exists(inst.userDatabase()));

    // An absolute one that does not exist yet is made.
    const QString xdg = inst.path(QStringLiteral("xdg/tief/daten"));
    inst.env.insert(QStringLiteral("XDG_DATA_HOME"), xdg);
    EXPECT_TRUE(inst.launch().started);
    EXPECT_TRUE(QFileInfo::exists(xdg + QStringLiteral("/Strivo/Strivo-DB.mdb")));

    inst.env.remove(QStringLiteral("XDG_DATA_HOME"));
    inst.env.remove(QStringLiteral("HOME"));
    expectRefused(inst.launch(), QStringLiteral("kann nicht bestimmt werden"));
}

TEST(Launcher, refusesToStartWhenTheFolderCannotBeMade)
{
    Installation inst;
    // A file where the folder should be, and a file where one of its parents should be.
    writeFile(inst.userFolder(), "keine Datenbank");
    expectRefused(inst.launch(), QStringLiteral("ist eine Datei, kein Ordner"));
    EXPECT_EQ(QFile(inst.userFolder()).size(), 15) << "the file is left as it was";

    Installation parentIsFile;
    writeFile(parentIsFile.home() + QStringLiteral("/.local"), "x");
    expectRefused(parentIsFile.launch(), QStringLiteral("ist eine Datei, kein Ordner"));

    Installation readOnlyParent;
    QDir().mkpath(readOnlyParent.home() + QStringLiteral("/.local/share"));
    ::chmod(QFile::encodeName(readOnlyParent.home() + QStringLiteral("/.local/share")).constData(),
            0555);
    expectRefused(readOnlyParent.launch(), QStringLiteral("es fehlt die Schreibberechtigung"));
    EXPECT_FALSE(QFileInfo::exists(readOnlyParent.userFolder()));

    // A folder that exists but cannot be written: the start-up could not copy the database.
    Installation readOnlyFolder;
    readOnlyFolder.launch();
    const QByteArray before = digest(readOnlyFolder.userDatabase());
    ::chmod(QFile::encodeName(readOnlyFolder.userFolder()).constData(), 0500);
    const Result readOnly = readOnlyFolder.launch();
    expectRefused(readOnly,
                  QStringLiteral("kann nicht geschrieben werden: es fehlt die "
                                 "Schreibberechtigung."));
    EXPECT_FALSE(readOnly.errors.contains(QStringLiteral("angelegt"))) << "it exists";
    EXPECT_EQ(digest(readOnlyFolder.userDatabase()), before);

    expectRefused(readOnlyFolder.launch({ QStringLiteral("--neu") }),
                  QStringLiteral("Unbekannter Aufruf"));
}

TEST(Launcher, finishesAnInterruptedFirstStartAndNeverReplacesADatabase)
{
    Installation interrupted;
    const QString partial = interrupted.userDatabase() + QStringLiteral(".neu");
    writeFile(partial, QByteArray(4096, 'x'));
    writeFile(partial + QStringLiteral("-journal"), QByteArray(4096, 'y'));
    EXPECT_TRUE(interrupted.launch().started);
    EXPECT_EQ(races(interrupted.userDatabase()), 0);
    EXPECT_FALSE(QFileInfo::exists(partial));

    // A file of 0 bytes holds no races (a first start cut short): a new database replaces it.
    Installation empty;
    writeFile(empty.userDatabase(), {});
    EXPECT_TRUE(empty.launch().started);
    EXPECT_EQ(races(empty.userDatabase()), 0);
    EXPECT_EQ(integrity(empty.userDatabase()), "ok");
    // Beside a journal it may be in the middle of a change: the program's start-up reports it.
    Installation emptyWithJournal;
    writeFile(emptyWithJournal.userDatabase(), {});
    writeFile(emptyWithJournal.userDatabase() + QStringLiteral("-journal"), QByteArray(512, 'j'));
    EXPECT_TRUE(emptyWithJournal.launch().started);
    EXPECT_EQ(QFile(emptyWithJournal.userDatabase()).size(), 0);
}

TEST(Launcher, leavesAPortableFolderAsItIs)
{
    Installation inst;
    TestFolder portable;
    QFile::copy(portable.dbPath(), inst.bin() + QStringLiteral("/Strivo-DB.mdb"));
    EXPECT_TRUE(inst.launch().started);
    EXPECT_FALSE(QFileInfo::exists(inst.userFolder()));
}

TEST(Launcher, movesTheDatabaseOfAnEarlierBuildOnce)
{
    TestFolder earlier;
    earlier.addRace({ { QStringLiteral("ad_lauf"), QStringLiteral("Altstadtlauf") } });

    Installation inst;
    const QString old = inst.bin() + QStringLiteral("/Strivo-DB.mdb");
    QFile::copy(earlier.dbPath(), old);
    const QByteArray original = digest(old);
    const Result moved = inst.launch({ QStringLiteral("--uebernehmen"), old });
    EXPECT_TRUE(moved.started) << moved.errors.toStdString();
    EXPECT_TRUE(moved.errors.contains(QStringLiteral("liegen jetzt in")));
    EXPECT_EQ(races(inst.userDatabase()), 1);
    EXPECT_FALSE(QFileInfo::exists(old)) << "the build folder must no longer win as portable";
    EXPECT_EQ(digest(inst.bin() + QStringLiteral("/Strivo-DB_alt.mdb")), original);

    // Once the user's folder has races, another old file never replaces them.
    QFile::copy(TestFolder().dbPath(), old);
    const Result kept = inst.launch({ QStringLiteral("--uebernehmen"), old });
    EXPECT_TRUE(kept.started);
    EXPECT_TRUE(kept.errors.contains(QStringLiteral("nicht übernommen")));
    EXPECT_EQ(races(inst.userDatabase()), 1);
    EXPECT_TRUE(QFileInfo::exists(inst.bin() + QStringLiteral("/Strivo-DB_alt2.mdb")));

    // A file that holds no races of ours is neither moved nor renamed.
    Installation foreign;
    const QString junk = foreign.bin() + QStringLiteral("/Strivo-DB.mdb");
    writeFile(junk, "Standard Jet DB");
    expectRefused(foreign.launch({ QStringLiteral("--uebernehmen"), junk }),
                  QStringLiteral("Strivo-DB.mdb"));
    EXPECT_TRUE(QFileInfo::exists(junk));
    EXPECT_FALSE(QFileInfo::exists(foreign.userDatabase()));
}

namespace {

// What a folder holds besides the database and its two folders: leftovers of a first start.
QStringList strayFilesIn(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                               | QDir::NoDotAndDotDot);
    for (const char *expected : { "Strivo-DB.mdb", "Export", "Dokumente" })
        names.removeOne(QString::fromLatin1(expected));
    return names;
}

// Whether one of two launchers started at once did as it must: started the program, or said
// that Strivo is open already and started nothing.
std::string judged(QProcess &launcher, const QString &marker)
{
    const QString errors = QString::fromUtf8(launcher.readAllStandardError());
    const bool started = QFileInfo::exists(marker);
    if (launcher.exitStatus() == QProcess::NormalExit && launcher.exitCode() == 0 && started)
        return "started";
    if (launcher.exitCode() != 0 && !started
        && errors.contains(QStringLiteral("Strivo ist bereits geöffnet")))
        return "refused";
    return "wrong: exit " + std::to_string(launcher.exitCode()) + ", "
        + (started ? "started, " : "not started, ") + errors.toStdString();
}

} // namespace

TEST(Launcher, twoFirstStartsAtOnceMakeOneDatabaseAndTheSecondSaysSo)
{
    Installation inst;
    // The program keeps the lock for a moment, as a real one would for hours.
    inst.env.insert(QStringLiteral("STRIVO_TEST_PAUSE"), QStringLiteral("0.05"));
    int refused = 0;
    constexpr int pairs = 200;
    for (int pair = 0; pair < pairs; ++pair) {
        SCOPED_TRACE("pair " + std::to_string(pair));
        const QString home = inst.path(QStringLiteral("paar"));
        QProcess launchers[2];
        QString markers[2];
        for (int i = 0; i < 2; ++i) {
            QProcessEnvironment env = inst.env;
            env.insert(QStringLiteral("HOME"), home);
            markers[i] = inst.path(QStringLiteral("gestartet-%1").arg(i));
            env.insert(QStringLiteral("STRIVO_TEST_MARKER"), markers[i]);
            if (i == 0)
                QDir().mkpath(home);
            inst.start(launchers[i], env);
        }
        std::string outcome[2];
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(launchers[i].waitForFinished(30000));
            outcome[i] = judged(launchers[i], markers[i]);
            EXPECT_TRUE(outcome[i] == "started" || outcome[i] == "refused") << outcome[i];
        }
        EXPECT_TRUE(outcome[0] == "started" || outcome[1] == "started");
        refused += int(outcome[0] == "refused") + int(outcome[1] == "refused");
        const QString folder = home + QStringLiteral("/.local/share/Strivo");
        const QString database = folder + QStringLiteral("/Strivo-DB.mdb");
        ASSERT_EQ(integrity(database), "ok");
        EXPECT_EQ(races(database), 0);
        EXPECT_EQ(strayFilesIn(folder), QStringList());
        if (HasFailure())
            break;
        for (const QString &marker : markers)
            QFile::remove(marker);
        QDir(home).removeRecursively();
    }
    // Most pairs overlap; a run in which none did would not have tested anything.
    RecordProperty("refused", refused);
    EXPECT_GT(refused, pairs / 10);
}

TEST(Launcher, handsItsLockToTheProgramWhichReleasesItAtItsEnd)
{
    Installation inst(Program::Real);
    inst.env.insert(QStringLiteral("STRIVO_QUIT_AFTER_START"), QStringLiteral("1"));
    QProcess launcher;
    inst.start(launcher, inst.env);
    ASSERT_TRUE(launcher.waitForFinished(60000));
    EXPECT_EQ(launcher.exitCode(), 0) << launcher.readAllStandardError().toStdString();
    EXPECT_EQ(integrity(inst.userDatabase()), "ok");
    // The lock of the user's folder, as the program keys it, is free and its file gone.
    InstanceLock lock(inst.userFolder());
    EXPECT_FALSE(QFileInfo::exists(lock.lockFilePath()));
    EXPECT_TRUE(lock.tryLock());
}

TEST(Launcher, aFirstStartThatCannotWriteTheDatabaseLeavesNothingAndSaysItInGerman)
{
    Installation inst;
    QProcess launcher;
    // A limit on the size of files stands in for a full disk: the new database does not fit.
    launcher.setChildProcessModifier([] {
        const rlimit limit { 16384, 16384 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    inst.start(launcher, inst.env);
    ASSERT_TRUE(launcher.waitForFinished(30000));
    const QString errors = QString::fromUtf8(launcher.readAllStandardError());
    EXPECT_NE(launcher.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(inst.marker()));
    EXPECT_TRUE(errors.contains(QStringLiteral("kann nicht angelegt werden: ")))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("(SQLite-Fehler ")));
    EXPECT_TRUE(errors.contains(QStringLiteral("). Strivo wird nicht gestartet.")));
    for (const char *english : { "disk", "error", "full", "database is" })
        EXPECT_FALSE(errors.contains(QLatin1String(english))) << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(inst.userFolder())) << "the folder made for it is gone again";
    EXPECT_TRUE(QFileInfo(inst.home()).isDir());
}

TEST(CommandLine, answersOnlyVersionOrHelpGivenAlone)
{
    const struct
    {
        QStringList args;
        bool answered;
    } cases[] = {
        { { QStringLiteral("--version") }, true },
        { { QStringLiteral("-V") }, true },
        { { QStringLiteral("--help") }, true },
        { { QStringLiteral("-h") }, true },
        { {}, false },
        { { QStringLiteral("--version"), QStringLiteral("--help") }, false },
        { { QStringLiteral("--Version") }, false },
        { { QStringLiteral("-v") }, false },
        { { QStringLiteral("--uebernehmen"), QStringLiteral("/tmp/Strivo-DB.mdb") }, false },
    };
    for (const auto &c : cases) {
        for (const Command command : { Command::Launcher, Command::Program })
            EXPECT_EQ(commandLineAnswer(command, c.args).has_value(), c.answered)
                << c.args.join(u' ').toStdString();
    }
    EXPECT_EQ(commandLineAnswer(Command::Launcher, { QStringLiteral("-V") }),
              QStringLiteral("Strivo " STRIVO_PROJECT_VERSION "\n"));
}

TEST(CommandLine, eachCommandExplainsItselfInGerman)
{
    const QString launcher = usageText(Command::Launcher);
    EXPECT_TRUE(launcher.startsWith(QStringLiteral("Aufruf: strivo "))) << launcher.toStdString();
    EXPECT_TRUE(launcher.contains(QStringLiteral("~/.local/share/Strivo")));
    const QString program = usageText(Command::Program);
    EXPECT_TRUE(program.startsWith(QStringLiteral("Aufruf: Strivo "))) << program.toStdString();
    EXPECT_TRUE(program.contains(QStringLiteral("mit dem Befehl strivo")));
    for (const QString &text : { launcher, program }) {
        EXPECT_TRUE(text.contains(QStringLiteral("--version  zeigt Name und Version")));
        EXPECT_TRUE(text.endsWith(u'\n'));
    }
}

TEST(Launcher, answersVersionAndHelpWithoutStartingOrTouchingTheFolder)
{
    const struct
    {
        const char *command;
        const char *arg;
        QString says;
    } cases[] = {
        { "strivo", "--version", QStringLiteral("Strivo " STRIVO_PROJECT_VERSION "\n") },
        { "strivo", "--help", QStringLiteral("Aufruf: strivo [--help | --version]\n") },
        { "Strivo", "--version", QStringLiteral("Strivo " STRIVO_PROJECT_VERSION "\n") },
        { "Strivo", "--help", QStringLiteral("Aufruf: Strivo [--help | --version]\n") },
    };
    Installation inst(Program::Real);
    // Even where no window could be shown at all.
    inst.env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("keine"));
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.command) + ' ' + c.arg);
        const Result result
            = inst.run(QString::fromLatin1(c.command), { QString::fromLatin1(c.arg) });
        EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
        EXPECT_TRUE(result.output.startsWith(c.says)) << result.output.toStdString();
        EXPECT_TRUE(result.errors.isEmpty()) << result.errors.toStdString();
        EXPECT_EQ(inst.homeEntries(), QStringList());
    }
}

TEST(UserFolder, aMissingDatabaseSendsTheUserToTheLauncher)
{
    QTemporaryDir dir;
    const QString never = dir.filePath(QStringLiteral("nie/Strivo"));
    const QString emptied = dir.filePath(QStringLiteral("geleert"));
    QDir().mkpath(emptied);
    TestFolder ready;
    const struct
    {
        QString folder;
        QStringList says;
    } cases[] = {
        { never,
          { QStringLiteral("'%1' ist noch nicht angelegt").arg(never),
            QStringLiteral("mit dem Befehl strivo") } },
        { emptied,
          { QStringLiteral("'%1/Strivo-DB.mdb' wurde nicht gefunden").arg(emptied),
            QStringLiteral("mit dem Befehl strivo"), QStringLiteral("neue, leere Datenbank") } },
        { ready.path(), {} },
    };
    for (const auto &c : cases) {
        const QString message = missingDatabaseMessage(c.folder);
        EXPECT_EQ(message.isEmpty(), c.says.isEmpty()) << message.toStdString();
        for (const QString &part : c.says)
            EXPECT_TRUE(message.contains(part)) << message.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(never)) << "asking must not make the folder";
}

TEST(Launcher, programStartedDirectlyOnANewAccountSaysToStartItWithStrivo)
{
    Installation inst(Program::Real);
    const Result fresh = inst.run(QStringLiteral("Strivo"));
    EXPECT_EQ(fresh.exitCode, 1);
    EXPECT_TRUE(fresh.errors.contains(QStringLiteral("ist noch nicht angelegt")))
        << fresh.errors.toStdString();
    EXPECT_TRUE(fresh.errors.contains(QStringLiteral("mit dem Befehl strivo")));
    EXPECT_EQ(inst.homeEntries(), QStringList()) << "the program makes no folder of its own";

    // Once strivo made the folder, the program works on it.
    QDir().mkpath(inst.userFolder());
    const Result emptied = inst.run(QStringLiteral("Strivo"));
    EXPECT_EQ(emptied.exitCode, 1);
    EXPECT_TRUE(emptied.errors.contains(QStringLiteral("wurde nicht gefunden")));
    EXPECT_FALSE(QFileInfo::exists(inst.userDatabase()));
}
