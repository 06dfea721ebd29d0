// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV, .xlsx and PDF files of the race list, read back by readers that are not ours.
#include "ProgramFixture.h"
#include "Readers.h"
#include "common/DbError.h"
#include "data/RaceStore.h"
#include "listoutput/ListCsv.h"
#include "listoutput/ListPages.h"
#include "listoutput/ListXlsx.h"
#include "model/RaceColumns.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kLongNote = QString(40000, u'ä');

struct ListFilesTest : ProgramTest
{
    // Races "Lauf 001" .. "Lauf n", one a day from 01.01.2027 on; every other one registered
    // and run.
    void addNumberedRaces(int n) const
    {
        folder.exec(QStringLiteral(
                        "insert into adressen (ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_ang_jn, "
                        "ad_gelaufen_jn) "
                        "with recursive n(i) as (select 1 union all select i + 1 from n where i < "
                        "%1) select printf('Lauf %03d', i), 'Ort ' || i, "
                        "strftime('%d.%m.%Y', '2027-01-01', '+' || (i - 1) || ' days'), i % 2, "
                        "case i % 2 when 1 then 'Ja' else ' ' end from n")
                        .arg(n));
    }
    // The races whose texts trip writers up, latest first as the list has them.
    void addAwkwardRaces() const
    {
        folder.exec(
            QStringLiteral(
                "insert into adressen (ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_ang_jn, "
                "ad_ang_datum, "
                "ad_gelaufen_jn, ad_memo_jn, ad_memo, ad_zeit) values "
                "('Semikolon; \"Zitat\"', 'Köln', '03.01.2027', 1, '15.12.2026', 'Ja', 'Ja', "
                "'Zeile 1' || char(13, 10) || 'Zeile 2' || char(13) || 'Zeile 3', '3:59:59'), "
                "('Kein Datum', 'Ört', 'bald', 0, 'Ja', ' ', '', NULL, ' '), "
                "('Langer Text', 'Üx', '01.01.2027', 0, ' ', ' ', 'Ja', '%1', NULL)")
                .arg(kLongNote));
        // Bytes that are no UTF-8, as a damaged file may hold them.
        folder.exec(QStringLiteral("insert into adressen (ad_lauf, ad_lauf_datum, ad_lauf_ort) "
                                   "values ('Kaputt', '31.12.2026', cast(x'4fff72' as text))"));
        folder.exec(QStringLiteral("update adressen set ad_fax_veranst = 'a' || char(9) || 'b' || "
                                   "char(1) || 'c' where ad_lauf like 'Semikolon%'"));
    }
    RaceList allRaces() { return ctx.races().list({ true, true, std::nullopt }, clock.today()); }
    QString target(const QString &name) const { return folder.file("Export/" + name); }
    QStringList exportFiles() const
    {
        return QDir(folder.file("Export"))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

int column(const char *name)
{
    return int(RaceColumns::names().indexOf(QString::fromLatin1(name)));
}

QStringList namesIn(const QJsonArray &rows, int from)
{
    QStringList names;
    for (qsizetype r = from; r < rows.size(); ++r)
        names << rows[r].toArray()[column("ad_lauf")].toString();
    return names;
}

QStringList listNames(const RaceList &list)
{
    QStringList names;
    for (const Race &race : list.all())
        names << race.name;
    return names;
}

} // namespace

TEST(CsvFieldTest, QuotesOnlyWhatWouldSplitTheLine)
{
    const struct
    {
        QString text, field;
    } cases[] = {
        { "", "" },
        { "Köln", "Köln" },
        { " ", " " },
        { "a;b", "\"a;b\"" },
        { "sagt \"hallo\"", "\"sagt \"\"hallo\"\"\"" },
        { "\"", "\"\"\"\"" },
        { "a\r\nb", "\"a\r\nb\"" },
        { "a\nb", "\"a\nb\"" },
        { "a\rb", "\"a\rb\"" },
        { "=1+1", "=1+1" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(csvField(c.text), c.field) << c.text.toStdString();
}

TEST_F(ListFilesTest, CsvReadsBackFieldForFieldWithPythonsCsvModule)
{
    addAwkwardRaces();
    const QString path = target("Liste.csv");
    EXPECT_EQ(writeRacesCsv(allRaces(), path), 4);

    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"
                                 "ad_lauf;ad_lauf_ort;ad_lauf_datum;"));
    EXPECT_TRUE(bytes.contains(";ad_memo_jn;ad_memo\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));

    const QJsonArray rows = readCsvWithPython(path).array();
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[0].toArray().size(), 54);
    EXPECT_EQ(rows[0].toArray().first().toString(), "ad_lauf");
    EXPECT_EQ(namesIn(rows, 1),
              (QStringList { "Semikolon; \"Zitat\"", "Langer Text", "Kaputt", "Kein Datum" }));
    for (const QJsonValue &row : rows)
        EXPECT_EQ(row.toArray().size(), 54);

    const QJsonArray quoted = rows[1].toArray();
    EXPECT_EQ(quoted[column("ad_lauf_ort")].toString(), "Köln");
    EXPECT_EQ(quoted[column("ad_memo")].toString(), "Zeile 1\r\nZeile 2\rZeile 3");
    EXPECT_EQ(quoted[column("ad_fax_veranst")].toString(),
              "a\tb\x01"
              "c");
    EXPECT_EQ(quoted[column("ad_ang_jn")].toString(), "WAHR");
    EXPECT_EQ(quoted[column("ad_ang_datum")].toString(), "15.12.2026");
    EXPECT_EQ(quoted[column("ad_gelaufen_jn")].toString(), "Ja");
    const QJsonArray longText = rows[2].toArray();
    EXPECT_EQ(longText[column("ad_memo")].toString(), kLongNote); // nothing cut
    EXPECT_EQ(longText[column("ad_ang_jn")].toString(), "FALSCH");
    EXPECT_EQ(longText[column("ad_zeit")].toString(), ""); // NULL
    EXPECT_EQ(rows[3].toArray()[column("ad_lauf_ort")].toString(), "O\uFFFDr");
    EXPECT_EQ(rows[4].toArray()[column("ad_lauf_datum")].toString(), "bald");
    EXPECT_EQ(exportFiles(), QStringList { "Liste.csv" });
}

TEST_F(ListFilesTest, XlsxReadsBackWithOpenpyxlWithDateCellsAndAFrozenBoldHeading)
{
    addAwkwardRaces();
    const QString path = target("Liste.xlsx");
    const XlsxExported done = writeRacesXlsx(allRaces(), path);
    EXPECT_EQ(done.races, 4);
    EXPECT_EQ(done.cutCells, 1u);

    const QJsonObject book = readXlsxWithOpenpyxl(path).object();
    EXPECT_EQ(book["sheets"].toArray(), QJsonArray { "Läufe" });
    EXPECT_EQ(book["freeze"].toString(), "A2");
    EXPECT_TRUE(book["boldHeading"].toBool());
    const QJsonArray rows = book["rows"].toArray();
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[0].toArray().size(), 54);
    EXPECT_EQ(rows[0].toArray()[53].toArray()[1].toString(), "ad_memo");

    const auto cell
        = [&](int row, const char *name) { return rows[row].toArray()[column(name)].toArray(); };
    const struct
    {
        int row;
        const char *column;
        QJsonArray seen;
    } cases[] = {
        { 1, "ad_lauf", { "text", "Semikolon; \"Zitat\"" } },
        { 1, "ad_lauf_datum", { "date", "03.01.2027", "dd.mm.yyyy" } },
        { 1, "ad_ang_datum", { "date", "15.12.2026", "dd.mm.yyyy" } },
        { 1, "ad_ang_jn", { "bool", "WAHR" } },
        { 1, "ad_gelaufen_jn", { "text", "Ja" } },
        { 1, "ad_memo", { "text", "Zeile 1\nZeile 2\nZeile 3" } }, // a cell's line breaks
        { 1, "ad_fax_veranst", { "text", "a\tb_x0001_c" } },
        { 2, "ad_ang_jn", { "bool", "FALSCH" } },
        { 2, "ad_zeit", { "empty", "" } },
        { 3, "ad_lauf_ort", { "text", "O\uFFFDr" } },
        { 3, "ad_lauf_datum", { "date", "31.12.2026", "dd.mm.yyyy" } },
        { 4, "ad_lauf_datum", { "text", "bald" } }, // no date: stays as stored
        { 4, "ad_ang_datum", { "text", "Ja" } },
        { 4, "ad_gelaufen_jn", { "text", " " } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(cell(c.row, c.column), c.seen) << c.row << " " << c.column;
    EXPECT_EQ(cell(2, "ad_memo")[1].toString(), kLongNote.left(32767));

    // Wide enough for the dates and the headings, not as wide as the notes.
    const QJsonObject widths = book["widths"].toObject();
    EXPECT_GE(widths[QString::number(column("ad_lauf_datum") + 1)].toDouble(), 12);
    EXPECT_GE(widths[QString::number(column("ad_vorgemerkt_jn") + 1)].toDouble(), 16);
    EXPECT_LE(widths[QString::number(column("ad_memo") + 1)].toDouble(), 60);
    EXPECT_EQ(exportFiles(), QStringList { "Liste.xlsx" });
}

TEST_F(ListFilesTest, TextsLongerThanACellAreCutBetweenWholeCharacters)
{
    const QString emoji = QStringLiteral("\U0001F3C3");
    const struct
    {
        QString text;
        qsizetype kept;
    } cases[] = {
        { QString(32767, u'a'), 32767 }, // fits exactly
        { QString(32766, u'a') + emoji, 32766 }, // the runner would be halved: left out
        { QString(32765, u'a') + emoji + u'b', 32767 },
    };
    for (const auto &c : cases) {
        folder.exec(QStringLiteral("delete from adressen"));
        folder.exec(QStringLiteral("insert into adressen (ad_lauf, ad_lauf_datum, ad_memo) "
                                   "values ('Lang', '01.01.2027', '%1')")
                        .arg(c.text));
        const XlsxExported done = writeRacesXlsx(allRaces(), target("Lang.xlsx"));
        EXPECT_EQ(done.cutCells, c.text.size() > 32767 ? 1u : 0u);
        const QJsonArray rows
            = readXlsxWithOpenpyxl(target("Lang.xlsx")).object()["rows"].toArray();
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[1].toArray()[column("ad_memo")].toArray()[1].toString(),
                  c.text.left(c.kept));
    }
}

TEST_F(ListFilesTest, FilesHoldTheFilteredListInItsOrderBeyondTheRowsReadSoFar)
{
    addNumberedRaces(600);
    RaceListFilter registered { true, true, RaceSelection::Registered };
    const RaceList list = ctx.races().list(registered, clock.today());
    ASSERT_LT(list.rowsRead(), 300); // the list has read its first screens only
    const QStringList expected = listNames(RaceList(list));
    ASSERT_EQ(expected.size(), 300);
    EXPECT_EQ(expected.first(), "Lauf 599");
    EXPECT_EQ(expected.last(), "Lauf 001");

    writeRacesCsv(list, target("a.csv"));
    writeRacesXlsx(list, target("a.xlsx"));
    EXPECT_EQ(namesIn(readCsvWithPython(target("a.csv")).array(), 1), expected);
    QStringList inBook;
    const QJsonArray rows = readXlsxWithOpenpyxl(target("a.xlsx")).object()["rows"].toArray();
    for (qsizetype r = 1; r < rows.size(); ++r)
        inBook << rows[r].toArray()[column("ad_lauf")].toArray()[1].toString();
    EXPECT_EQ(inBook, expected);
    EXPECT_LT(list.rowsRead(), 300); // the window's own list did not move
}

TEST_F(ListFilesTest, PdfOfThreeHundredRacesHoldsEveryRaceInOrderAsText)
{
    addNumberedRaces(300);
    const QString headline = QStringLiteral("Alle Läufe");
    const ListDocument doc = raceListDocument(allRaces(), headline, clock.today());
    ASSERT_EQ(doc.rows.size(), 300u);
    const QString path = target("Liste.pdf");
    const int pages = saveListPdf(doc, path);
    EXPECT_GT(pages, 3);

    const QString text = pdfText(path);
    qsizetype at = 0;
    for (int i = 300; i >= 1; --i) {
        const QString name = QStringLiteral("Lauf %1").arg(i, 3, 10, QLatin1Char('0'));
        const qsizetype found = text.indexOf(name, at);
        ASSERT_GE(found, 0) << name.toStdString() << " missing or out of order";
        at = found + name.size();
    }
    EXPECT_TRUE(text.contains(QStringLiteral("Seite 1 von %1").arg(pages)));
    EXPECT_TRUE(text.contains(QStringLiteral("Seite %1 von %1").arg(pages)));
    EXPECT_EQ(text.count(QStringLiteral("Strivo")), pages); // the header of every page
    EXPECT_EQ(text.count(QStringLiteral("Angemeldet"), Qt::CaseInsensitive), pages);
    EXPECT_TRUE(text.contains(QStringLiteral("08.12.2026")));
    EXPECT_EQ(pdfInfo(path, "Pages"), QString::number(pages));
    EXPECT_EQ(pdfInfo(path, "Title"), headline);
    EXPECT_EQ(pdfInfo(path, "Creator"), "Strivo");
    // The nine columns do not fit A4 upright: across.
    const QStringList size = pdfInfo(path, "Page size").split(u' ');
    ASSERT_GE(size.size(), 3);
    EXPECT_GT(size[0].toDouble(), size[2].toDouble());
}

TEST_F(ListFilesTest, AFailedWriteLeavesTheFolderAsItWasAndSaysWhyInGerman)
{
    addAwkwardRaces();
    QFile old(target("alt.csv"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();
    ASSERT_TRUE(QDir(folder.file("Export")).mkdir("Ordner.csv"));
    ASSERT_TRUE(QDir(folder.file("Export")).mkdir("Ordner.xlsx"));
    ASSERT_TRUE(QDir(folder.file("Export")).mkdir("Ordner.pdf"));
    const RaceList races = allRaces();
    const ListDocument doc = raceListDocument(races, "Alle Läufe", clock.today());
    const struct
    {
        const char *what;
        std::function<void(const QString &folder, const QString &name)> write;
    } writers[] = {
        { "csv",
          [&](const QString &f, const QString &n) { writeRacesCsv(races, f + n + ".csv"); } },
        { "xlsx",
          [&](const QString &f, const QString &n) { writeRacesXlsx(races, f + n + ".xlsx"); } },
        { "pdf", [&](const QString &f, const QString &n) { saveListPdf(doc, f + n + ".pdf"); } },
    };
    struct Place
    {
        const char *what;
        QString folder;
        QString name;
        const char *said;
    };
    QList<Place> places {
        { "missing folder", target("fehlt/"), "Liste", "existiert nicht" },
        { "name taken by a folder", target(""), "Ordner", "Ordner" },
    };
    const QString locked = target("gesperrt");
    ASSERT_TRUE(QDir().mkdir(locked));
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (::geteuid() != 0) // the superuser writes everywhere
        places.append({ "read-only folder", locked + "/", "Liste", "Keine Berechtigung" });
    const QStringList before = exportFiles();
    for (const auto &w : writers) {
        for (const Place &p : places) {
            SCOPED_TRACE(std::string(w.what) + " " + p.what);
            try {
                w.write(p.folder, p.name);
                ADD_FAILURE() << "no error";
            } catch (const DbError &e) {
                EXPECT_TRUE(e.description().contains(QString::fromUtf8(p.said))) << e.what();
            }
            EXPECT_EQ(exportFiles(), before);
            EXPECT_TRUE(QDir(locked).isEmpty());
        }
    }
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(ListFilesTest, AFullDiskKeepsTheOldFileWhole)
{
    addNumberedRaces(300);
    addAwkwardRaces();
    const struct
    {
        const char *name;
        std::function<void(const RaceList &, const QString &)> write;
    } writers[] = {
        { "alt.csv", [](const RaceList &r, const QString &p) { writeRacesCsv(r, p); } },
        { "alt.xlsx", [](const RaceList &r, const QString &p) { writeRacesXlsx(r, p); } },
    };
    for (const auto &w : writers) {
        SCOPED_TRACE(w.name);
        const QString path = target(QString::fromLatin1(w.name));
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt");
        old.close();
        // A file size limit stands in for the full disk: writes past it fail as they would there.
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit { 16 * 1024, 16 * 1024 };
            ::setrlimit(RLIMIT_FSIZE, &limit);
            int code = 1;
            try {
                RaceStore own(folder.dbPath()); // a connection of the child's own
                w.write(own.list({ true, true, std::nullopt }, clock.today()), path);
            } catch (const DbError &e) {
                code = e.number() == ErrNo::DiskFull
                        && e.description().contains(QStringLiteral("Datenträger"))
                    ? 0
                    : 2;
            }
            ::_exit(code);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "alt");
        old.close();
    }
    EXPECT_EQ(exportFiles(), (QStringList { "alt.csv", "alt.xlsx" }));
}

TEST_F(ListFilesTest, AKilledExportLeavesNoFile)
{
    folder.exec(QStringLiteral(
        "insert into adressen (ad_lauf, ad_lauf_datum, ad_memo) "
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000) "
        "select 'Lauf ' || i, '01.01.2027', hex(randomblob(500)) from n"));
    const QByteArray exportFolder = QFile::encodeName(folder.file("Export")) + '/';
    for (const char *name : { "weg.xlsx", "weg.csv" }) {
        SCOPED_TRACE(name);
        const QString path = target(QString::fromLatin1(name));
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                RaceStore own(folder.dbPath());
                const RaceList races = own.list({ true, true, std::nullopt }, clock.today());
                if (path.endsWith(QStringLiteral(".csv")))
                    writeRacesCsv(races, path);
                else
                    writeRacesXlsx(races, path);
            } catch (...) {
            }
            ::_exit(0);
        }
        // Killed once it has its file open in the folder.
        bool caught = false;
        const QByteArray fds = "/proc/" + QByteArray::number(child) + "/fd";
        for (int tries = 0; tries < 2'000'000 && !caught; ++tries) {
            for (const QString &fd :
                 QDir(QString::fromLatin1(fds))
                     .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
                char link[4096];
                const ssize_t n
                    = ::readlink((fds + '/' + fd.toLatin1()).constData(), link, sizeof link);
                if (n > 0 && QByteArray(link, n).startsWith(exportFolder)) {
                    ::kill(child, SIGKILL);
                    caught = true;
                    break;
                }
            }
            if (!caught && ::waitpid(child, nullptr, WNOHANG) == child)
                break;
        }
        if (caught)
            ::waitpid(child, nullptr, 0);
        ASSERT_TRUE(caught) << "the export ended before it could be stopped";
        EXPECT_EQ(exportFiles(), QStringList());
    }
}
