// SPDX-License-Identifier: GPL-3.0-or-later
// What users read when the database engine fails: German words, the program's error number and
// the engine's own number, never the engine's English.
#include "TestFolder.h"
#include "common/DbError.h"
#include "data/Sqlite.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// English words of SQLite's messages that must not reach a message box.
void expectNoEnglish(const QString &description)
{
    for (const char *word :
         { "database", "disk", "locked", "full", "error", "unable", "file is", "malformed",
           "attempt", "constraint", "no such", "syntax error", "overflow" })
        EXPECT_FALSE(description.contains(QLatin1String(word), Qt::CaseInsensitive))
            << '"' << word << "\" in: " << description.toStdString();
}

DbError caught(const std::function<void()> &body)
{
    try {
        body();
    } catch (const DbError &e) {
        return e;
    }
    return DbError(0, QStringLiteral("kein Fehler"));
}

} // namespace

TEST(SqliteErrors, EveryCodeIsSaidInGermanWithItsNumber)
{
    struct Case
    {
        int rc;
        const char *engine;
        int number;
        const char *says;
    };
    const Case cases[] = {
        { SQLITE_BUSY, "database is locked", ErrNo::FileInUse, "von einem anderen Programm" },
        { SQLITE_BUSY_SNAPSHOT, "database is locked", ErrNo::FileInUse, "anderen Programm" },
        { SQLITE_LOCKED, "database table is locked", ErrNo::FileInUse, "anderen Programm" },
        { SQLITE_FULL, "database or disk is full", ErrNo::DiskFull, "Speicherplatz" },
        { SQLITE_IOERR, "disk I/O error", ErrNo::DiskError, "Lesen oder Schreiben" },
        { SQLITE_IOERR_WRITE, "disk I/O error", ErrNo::DiskError, "Schreiben auf den" },
        { SQLITE_IOERR_SHORT_READ, "disk I/O error", ErrNo::DiskError, "kürzer als erwartet" },
        { SQLITE_IOERR_FSTAT, "disk I/O error", ErrNo::DiskError, "Lesen oder Schreiben" },
        { SQLITE_IOERR_NOMEM, "out of memory", ErrNo::OutOfMemory, "Arbeitsspeicher" },
        { SQLITE_READONLY, "attempt to write a readonly database", ErrNo::CannotOpenFile,
          "schreibgeschützt" },
        { SQLITE_READONLY_DBMOVED, "attempt to write a readonly database", ErrNo::CannotOpenFile,
          "verschoben oder gelöscht" },
        { SQLITE_CANTOPEN, "unable to open database file", ErrNo::CannotOpenFile,
          "kann nicht geöffnet werden" },
        { SQLITE_CORRUPT, "database disk image is malformed", ErrNo::DatabaseCorrupt,
          "beschädigt" },
        { SQLITE_NOTADB, "file is not a database", ErrNo::UnknownFormat,
          "unbekanntes Datenbankformat" },
        { SQLITE_ERROR, "no such table: aw_plzort", ErrNo::SqlError,
          "Datenbankanweisung: die Tabelle 'aw_plzort' fehlt" },
        { SQLITE_ERROR, "no such column: ad_lauff", ErrNo::SqlError,
          "das Feld 'ad_lauff' gibt es nicht" },
        { SQLITE_ERROR, "near \"selct\": syntax error", ErrNo::SqlError,
          "Syntaxfehler bei 'selct'" },
        { SQLITE_ERROR, "table adressen already exists", ErrNo::SqlError,
          "die Tabelle 'adressen' ist bereits vorhanden" },
        { SQLITE_ERROR, "integer overflow", ErrNo::SqlError, "eine Zahl ist zu groß (Überlauf)" },
        { SQLITE_CONSTRAINT_UNIQUE, "UNIQUE constraint failed: aw_land.land", ErrNo::RuleViolated,
          "nur einmal vorkommen: Feld aw_land.land" },
        { SQLITE_CONSTRAINT_CHECK, "CHECK constraint failed: x", ErrNo::RuleViolated,
          "verletzt eine Regel" },
        { 4242, "something new", ErrNo::SqlError, "Fehler bei der Ausführung" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.rc) + " " + c.engine);
        const DbError e = sqliteError(c.rc, QString::fromUtf8(c.engine));
        EXPECT_EQ(e.number(), c.number);
        EXPECT_TRUE(e.description().contains(QString::fromUtf8(c.says)))
            << e.description().toStdString();
        EXPECT_TRUE(e.description().endsWith(QStringLiteral(" (SQLite-Fehler %1)").arg(c.rc)))
            << e.description().toStdString();
        expectNoEnglish(e.description());
    }
}

TEST(SqliteErrors, ALockedAFullAndAFailingFileAreReportedInGerman)
{
    TestFolder folder;
    // Another program holds the file for writing.
    SqliteDb holder(folder.dbPath(), SqliteDb::Open::ReadWrite);
    holder.exec("begin exclusive");
    const DbError locked = caught([&] {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        db.exec("insert into adressen (ad_lauf) values ('Stadtlauf')");
    });
    holder.exec("rollback");
    EXPECT_EQ(locked.number(), ErrNo::FileInUse);
    expectNoEnglish(locked.description());

    // A file that may grow no further.
    const DbError full = caught([&] {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        db.exec("pragma max_page_count = " + std::to_string(folder.count("sqlite_master") + 60));
        db.exec("insert into adressen (ad_lauf, ad_memo) select 'Lauf', hex(randomblob(200000))");
    });
    EXPECT_EQ(full.number(), ErrNo::DiskFull);
    EXPECT_TRUE(full.description().contains(QStringLiteral("(SQLite-Fehler 13)")));
    expectNoEnglish(full.description());

    // A write the system refuses (a file-size limit, in a child that may lower its own).
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { 8192, 8192 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const DbError e = caught([&] {
            SqliteDb db(folder.file(QStringLiteral("neu.mdb")), SqliteDb::Open::Create);
            db.exec("create table t (x)");
            db.exec("insert into t select hex(randomblob(50000))");
        });
        const QByteArray said = QByteArray::number(e.number()) + ' ' + e.description().toUtf8();
        (void)!::write(channel[1], said.constData(), size_t(said.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray said;
    char buffer[1024];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    const QString failed = QString::fromUtf8(said);
    EXPECT_TRUE(failed.startsWith(QStringLiteral("3043 ")) || failed.startsWith("3026 "))
        << failed.toStdString();
    EXPECT_TRUE(failed.contains(QStringLiteral("(SQLite-Fehler "))) << failed.toStdString();
    expectNoEnglish(failed);
}
