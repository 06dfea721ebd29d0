#include "MaintenanceFixture.h"

#include "common/DbError.h"
#include "data/Sqlite.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

RaceFolder::RaceFolder()
{
    paths = MaintenancePaths::inFolder(folder.path());
    folder.addRace({ { "ad_lauf", "Köln-Marathon" },
                     { "ad_lauf_datum", "03.10.2027" },
                     { "ad_ang_jn", true },
                     { "ad_memo_jn", "Ja" },
                     { "ad_memo",
                       QStringLiteral("Startnummer abholen: Messe, Halle 3 – "
                                      "„Läufer-Café“") } });
    folder.addRace(
        { { "ad_lauf", "Silvesterlauf" }, { "ad_zeit", "" }, { "ad_startbild", QVariant() } });
    // Bulk races with long notes, so the file spans many pages.
    folder.exec(QStringLiteral(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 400) "
        "insert into adressen (ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_gelaufen_jn, "
        "ad_alarm_jn, ad_alarm_datum, ad_memo_jn, ad_memo) "
        "select 'Lauf ' || i, 'Ort ' || (i % 37), printf('%02d.%02d.%04d', 1 + i % 28, "
        "1 + i % 12, 2000 + i % 30), 'Ja', ' ', '01.01.1900', 'Ja', "
        "replace(hex(randomblob(300)), 'A', ' ü ') from n"));
    folder.exec(QStringLiteral("insert into ereignisse_dokumente (ed_nummer, ed_datei, "
                               "ed_dateiname) values ('1', '/home/l/Ausschreibung.pdf', "
                               "'Ausschreibung')"));
    folder.exec(QStringLiteral("delete from adressen where ad_nummer % 3 = 0"));
}

QStringList dumpContent(const QString &databasePath)
{
    SqliteDb db(databasePath, SqliteDb::Open::ReadOnly);
    QStringList rows;
    for (const char *table :
         { "adressen", "ereignisse_dokumente", "aw_anrede", "aw_titel", "aw_strasse", "aw_land",
           "aw_lauf", "aw_zeitmessung", "aw_plzort" }) {
        Statement st(db, std::string("select * from ") + table + " order by rowid");
        while (st.step()) {
            QString row = QLatin1String(table);
            for (int c = 0; c < st.columnCount(); ++c) {
                const QVariant v = st.column(c);
                row += u'|' + (v.isNull() ? QStringLiteral("<null>") : v.toString());
            }
            rows << row;
        }
    }
    return rows;
}

QString integrityOf(const QString &databasePath)
{
    try {
        SqliteDb db(databasePath, SqliteDb::Open::ReadOnly);
        return db.scalar("pragma integrity_check").toString();
    } catch (const DbError &e) {
        return e.description();
    }
}

QMap<QString, QByteArray> filesIn(const QString &folder)
{
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, file.readAll());
        else
            files.insert(name, QByteArrayLiteral("<unreadable>"));
    }
    return files;
}

QStringList emptyFiles(const QString &folder)
{
    QStringList names;
    const QDir dir(folder);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        if (info.size() == 0)
            names << info.fileName();
    }
    return names;
}

void crashDuringEdit(const QString &databasePath)
{
    const pid_t editor = ::fork();
    if (editor == 0) {
        try {
            SqliteDb db(databasePath, SqliteDb::Open::ReadWrite);
            db.runScript("pragma journal_mode = delete; pragma cache_size = 2; begin; "
                         "update adressen set ad_lauf = 'überschrieben', ad_memo = null;");
            ::_exit(0); // before the connection could roll back on closing
        } catch (...) {
        }
        ::_exit(1);
    }
    ::waitpid(editor, nullptr, 0);
}

namespace {

void writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

} // namespace

ChildStart startInChild(const MaintenancePaths &paths, const std::function<void()> &prepare,
                        const MaintenanceHook &hook)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        QByteArray report;
        try {
            if (prepare)
                prepare();
            runStartupMaintenance(paths, hook);
            report = "0\n";
        } catch (const DbError &e) {
            report = QByteArray::number(e.number()) + '\n' + e.description().toUtf8();
        } catch (...) {
            report = "-1\nunexpected exception";
        }
        writeAll(channel[1], report);
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray report;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        report.append(buffer, n);
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);

    ChildStart result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const qsizetype newline = report.indexOf('\n');
    if (newline > 0) {
        result.finished = true;
        result.number = report.left(newline).toInt();
        result.description = QString::fromUtf8(report.mid(newline + 1));
    }
    return result;
}

void asOrdinaryUser()
{
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        ::_exit(3);
}

bool ordinaryUserCanRead(const QString &path)
{
    const pid_t probe = ::fork();
    if (probe == 0) {
        asOrdinaryUser();
        ::_exit(::access(QFile::encodeName(path).constData(), R_OK) == 0 ? 0 : 4);
    }
    int status = 0;
    ::waitpid(probe, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

MaintenanceHook dieAt(const QByteArray &point)
{
    return [point](const char *reached) {
        if (point == reached)
            ::_exit(killedExitCode);
    };
}
