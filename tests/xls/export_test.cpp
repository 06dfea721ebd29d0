// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook export of a real database, judged by independent readers.

#include "Readers.h"
#include "TestFolder.h"
#include "common/DbError.h"
#include "data/WorkbookExport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <map>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QStringList columnPieces = {
    QStringLiteral("ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_lauf_wotag, ad_strecke, ad_start, "
                   "ad_ang_jn, ad_ang_datum, ad_vorgemerkt_jn"),
    QStringLiteral(", ad_gelaufen_jn, ad_zeit, ad_name_veranst, ad_telefon1_veranst, "
                   "ad_fax_veranst, ad_email_veranst, ad_internet_veranst"),
    QStringLiteral(", ad_bank1, ad_blz1, ad_konto1, ad_zeitmessung"),
    QStringLiteral(", ad_strecke_sg, ad_sg1_datum, ad_sg2_datum, ad_sg3_datum, ad_sg11, ad_sg12, "
                   "ad_sg13, ad_sg21, ad_sg22, ad_sg23, ad_sg31, ad_sg32, ad_sg33"),
    QStringLiteral(", ad_alarm_jn, ad_alarm_datum, ad_bezahlt_jn, ad_bezahlt_datum, "
                   "ad_startbild_jn, ad_startbild"),
    QStringLiteral(", ad_name_ansprech, ad_vorname_ansprech, ad_anrede_ansprech, "
                   "ad_titel_ansprech, ad_ort_ansprech, ad_strasse_ansprech, ad_pfplz_ansprech"),
    QStringLiteral(", ad_plz_ansprech, ad_postfach_ansprech, ad_land_ansprech, "
                   "ad_direkt_ansprech, ad_mobil_ansprech, ad_email_ansprech"),
    QStringLiteral(", ad_memo_jn, ad_memo"),
};

QStringList exportedColumns()
{
    return columnPieces.join(QString()).split(QStringLiteral(", "));
}

const QStringList booleanColumns
    = { QStringLiteral("ad_ang_jn"), QStringLiteral("ad_vorgemerkt_jn"),
        QStringLiteral("ad_startbild_jn") };

// The row a reader should see for a race stored with these fields.
std::vector<ReadCell> expectedRow(const QVariantMap &race)
{
    std::vector<ReadCell> row;
    for (const QString &column : exportedColumns()) {
        const QVariant v = race.value(column);
        if (booleanColumns.contains(column))
            row.push_back(boolean(v.toBool())); // never null: the table defaults them to false
        else if (v.isNull() || v.toString().isEmpty())
            row.push_back(empty());
        else
            row.push_back(text(v.toString().toStdString()));
    }
    return row;
}

std::vector<ReadCell> headingRow()
{
    std::vector<ReadCell> row;
    for (const QString &column : exportedColumns())
        row.push_back(text(column.toStdString()));
    return row;
}

class ExportTest : public ::testing::Test
{
protected:
    TestFolder folder;
    QString target(const QString &name) const
    {
        return folder.file(QStringLiteral("Export/") + name);
    }
    quint32 exportTo(const QString &path) const
    {
        return exportRacesToWorkbook(folder.dbPath(), path);
    }
    QStringList exportFiles() const
    {
        return QDir(folder.file(QStringLiteral("Export"))).entryList(QDir::Files | QDir::Hidden);
    }
};

TEST_F(ExportTest, AllRacesLatestFirstUnderTheirFieldNames)
{
    const QVariantMap winter {
        { QStringLiteral("ad_lauf"), QStringLiteral("Silvesterlauf Köln") },
        { QStringLiteral("ad_lauf_ort"), QStringLiteral("Rock 'n' Roll-Stadt") },
        { QStringLiteral("ad_lauf_datum"), QStringLiteral("09.12.2002") },
        { QStringLiteral("ad_lauf_wotag"), QStringLiteral("Mo") },
        { QStringLiteral("ad_ang_jn"), true },
        { QStringLiteral("ad_ang_datum"), QStringLiteral("01.11.2002") },
        { QStringLiteral("ad_gelaufen_jn"), QStringLiteral("Ja") },
        { QStringLiteral("ad_zeit"), QStringLiteral("3:59:59") },
        { QStringLiteral("ad_startbild_jn"), true },
        { QStringLiteral("ad_alarm_datum"), QStringLiteral("01.01.1900") },
        { QStringLiteral("ad_memo_jn"), QStringLiteral("Ja") },
        { QStringLiteral("ad_memo"), QStringLiteral("Zeile 1\nZeile 2 mit Ümlaut\n\"Zitat\"") },
    };
    const QVariantMap newYear {
        { QStringLiteral("ad_lauf"), QStringLiteral("Dreikönigslauf 🏃‍♀️ 𝄞") },
        { QStringLiteral("ad_lauf_datum"), QStringLiteral("10.01.2003") },
        { QStringLiteral("ad_vorgemerkt_jn"), true },
        { QStringLiteral("ad_zeit"), QStringLiteral(" ") },
        { QStringLiteral("ad_memo_jn"), QStringLiteral("") },
        { QStringLiteral("ad_name_ansprech"), QStringLiteral("O'Neill-Straßmann") },
    };
    const QVariantMap spring { { QStringLiteral("ad_lauf"), QStringLiteral("Frühlingslauf") },
                               { QStringLiteral("ad_lauf_datum"), QStringLiteral("01.05.2001") } };
    const QVariantMap undated { { QStringLiteral("ad_lauf"), QStringLiteral("ohne Datum") } };
    for (const QVariantMap *race : { &spring, &winter, &undated, &newYear })
        folder.addRace(*race);

    const QString path = target(QStringLiteral("Läufe 03-01-11 12-00-00.xls"));
    exportTo(path);

    const std::vector<std::vector<ReadCell>> expected = {
        headingRow(),        expectedRow(newYear), expectedRow(winter),
        expectedRow(spring), expectedRow(undated),
    };
    ASSERT_EQ(expected[0].size(), 54u);
    for (const auto &[reader, sheets] :
         { std::pair { "xlrd", readWithXlrd(path.toStdString()) },
           std::pair { "freexl", readWithFreexl(path.toStdString()) } }) {
        SCOPED_TRACE(reader);
        ASSERT_EQ(sheets.size(), 1u);
        EXPECT_EQ(sheets[0].name, "Läufe");
        const auto want = std::string(reader) == "freexl" ? booleansAsNumbers(expected) : expected;
        ASSERT_EQ(sheets[0].rows.size(), want.size());
        for (std::size_t r = 0; r < want.size(); ++r)
            EXPECT_EQ(sheets[0].rows[r], want[r]) << "Zeile " << r;
    }
    expectLibreOfficeShows(path.toStdString(), expected);
}

TEST_F(ExportTest, LongNotesAreCutToTheCellLimit)
{
    const QString memo = QString(40000, QChar(u'ö'));
    folder.addRace({ { QStringLiteral("ad_lauf"), QStringLiteral("Lang") },
                     { QStringLiteral("ad_lauf_datum"), QStringLiteral("01.01.2020") },
                     { QStringLiteral("ad_memo"), memo } });
    const QString path = target(QStringLiteral("lang.xls"));
    exportTo(path);
    const auto sheets = readWithXlrd(path.toStdString());
    ASSERT_EQ(sheets.size(), 1u);
    ASSERT_EQ(sheets[0].rows.size(), 2u);
    EXPECT_EQ(sheets[0].rows[1][53], text(memo.left(32767).toStdString()));
}

TEST_F(ExportTest, ExistingFileOrMissingFolderIsReportedAndNothingIsWritten)
{
    folder.addRace({ { QStringLiteral("ad_lauf"), QStringLiteral("A") },
                     { QStringLiteral("ad_lauf_datum"), QStringLiteral("01.01.2020") } });
    const QString existing = target(QStringLiteral("alt.xls"));
    std::ofstream(existing.toStdString()) << "alter Inhalt";
    try {
        exportTo(existing);
        FAIL() << "an existing file was overwritten";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), ErrNo::FileExists);
        EXPECT_TRUE(e.description().contains(QStringLiteral("existiert bereits"))) << e.what();
        EXPECT_TRUE(e.description().contains(existing)) << e.what();
    }
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("alter Inhalt"));

    try {
        exportTo(folder.file(QStringLiteral("fehlt/x.xls")));
        FAIL() << "a missing folder was accepted";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), ErrNo::CannotOpenFile);
        EXPECT_TRUE(e.description().contains(QStringLiteral("existiert nicht"))) << e.what();
    }
    EXPECT_EQ(exportFiles(), QStringList { QStringLiteral("alt.xls") });
}

// Races "Lauf 1" .. "Lauf n"; every other one registered, dates spread over two centuries.
void addNumberedRaces(const TestFolder &folder, int n)
{
    folder.exec(QStringLiteral(
                    "insert into adressen (ad_lauf, ad_lauf_datum, ad_ang_jn) "
                    "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                    "select 'Lauf ' || i, printf('%02d.%02d.%04d', 1 + i % 28, 1 + i % 12, "
                    "1900 + i % 200), i % 2 from n")
                    .arg(n));
}

// Files created in a folder while it is watched, temporary ones included.
class CreatedFiles
{
public:
    explicit CreatedFiles(const QString &folder)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        EXPECT_GE(m_fd, 0);
        EXPECT_GE(
            inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO),
            0);
    }
    ~CreatedFiles() { ::close(m_fd); }
    QStringList names() const
    {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        ssize_t n;
        while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (char *p = buffer; p < buffer + n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(p);
                names << QFile::decodeName(event->len ? event->name : "?");
                p += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int m_fd;
};

TEST_F(ExportTest, MoreRacesThanASheetHoldsAreRefusedBeforeAnyFileIsCreated)
{
    addNumberedRaces(folder, 65536);
    const CreatedFiles created(folder.file(QStringLiteral("Export")));
    try {
        exportTo(target(QStringLiteral("zu viel.xls")));
        FAIL() << "a cut workbook was written";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("liefert 65.536 Datensätze")))
            << e.what();
        EXPECT_TRUE(e.description().contains(QStringLiteral("höchstens 65.536 Zeilen")))
            << e.what();
        EXPECT_TRUE(e.description().contains(QStringLiteral("keine Datei"))) << e.what();
    }
    // Not even the writer's spool or temporary file was made.
    EXPECT_EQ(created.names(), QStringList());
    EXPECT_EQ(exportFiles(), QStringList());

    // The count comes before the target is looked at: a missing folder is not the answer.
    try {
        exportTo(folder.file(QStringLiteral("fehlt/x.xls")));
        FAIL() << "accepted";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("65.536 Datensätze"))) << e.what();
    }
}

TEST_F(ExportTest, AsManyRacesAsASheetHoldsAreExportedWhole)
{
    constexpr int races = 65535;
    addNumberedRaces(folder, races);
    const QString full = target(QStringLiteral("voll.xls"));
    exportTo(full);

    // The first nine columns hold every filled cell but one flag; the heading has all 54.
    const auto sheets = readWithXlrd(full.toStdString(), 9);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].columns, 54u);
    const auto &rows = sheets[0].rows;
    ASSERT_EQ(rows.size(), races + 1u);
    const auto heading = headingRow();
    EXPECT_EQ(rows[0], decltype(heading)(heading.begin(), heading.begin() + 9));
    // Every race once, with its flag; dates from the latest down.
    std::vector<bool> seen(races + 1);
    QDate previous(9999, 12, 31);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const QString name = QString::fromStdString(rows[r][0].text);
        const int i = name.mid(5).toInt();
        ASSERT_TRUE(name.startsWith(QStringLiteral("Lauf ")) && i >= 1 && i <= races) << r;
        EXPECT_FALSE(seen[i]) << "doppelt: " << i;
        seen[i] = true;
        EXPECT_EQ(rows[r][6], boolean(i % 2 == 1)) << r;
        EXPECT_EQ(rows[r][8], boolean(false)) << r;
        const QDate date = QDate::fromString(QString::fromStdString(rows[r][2].text),
                                             QStringLiteral("dd.MM.yyyy"));
        ASSERT_TRUE(date.isValid()) << r;
        EXPECT_LE(date, previous) << r;
        previous = date;
    }
    EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), true), races);
}

} // namespace

TEST_F(ExportTest, AnyFileNameTheDialogAllowsIsTheTarget)
{
    folder.addRace({ { QStringLiteral("ad_lauf"), QStringLiteral("Klammerlauf") },
                     { QStringLiteral("ad_lauf_datum"), QStringLiteral("01.01.2026") } });
    for (const QString &name :
         { QStringLiteral("Läufe [2026].xls"), QStringLiteral("a]b.xls"),
           QStringLiteral("x].Läufe from y.xls"), QStringLiteral("O'Brien [alt.xls") }) {
        SCOPED_TRACE(name.toStdString());
        const QString path = target(name);
        ASSERT_NO_THROW(exportTo(path));
        const auto sheets = readWithXlrd(path.toStdString());
        ASSERT_EQ(sheets.size(), 1u);
        EXPECT_EQ(sheets[0].name, "Läufe");
        ASSERT_EQ(sheets[0].rows.size(), 2u);
        EXPECT_EQ(sheets[0].rows[1][0], text("Klammerlauf"));
    }
    EXPECT_EQ(exportFiles().size(), 4);
}

TEST_F(ExportTest, CellsCutToTheLimitAreCounted)
{
    for (int i = 0; i < 3; ++i)
        folder.addRace({ { QStringLiteral("ad_lauf"), QStringLiteral("Lauf %1").arg(i) },
                         { QStringLiteral("ad_memo"), QString(32767 + i, u'm') },
                         { QStringLiteral("ad_internet_veranst"), QString(40000, u'w') } });
    const QString path = target(QStringLiteral("lang.xls"));
    // 32,767 fit; the longer notes and every web address are cut.
    EXPECT_EQ(exportTo(path), 5u);
    const QString none = target(QStringLiteral("kurz.xls"));
    folder.exec(QStringLiteral("update adressen set ad_memo = 'kurz', ad_internet_veranst = ''"));
    EXPECT_EQ(exportTo(none), 0u);
}

namespace {

// How many files a process holds open in a folder (unnamed ones included).
int openFilesIn(pid_t pid, const QString &folder)
{
    const QByteArray prefix = QFile::encodeName(folder) + '/';
    const QByteArray fds = "/proc/" + QByteArray::number(pid) + "/fd";
    int count = 0;
    for (const QString &fd :
         QDir(QString::fromLatin1(fds))
             .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char target[4096];
        const ssize_t n
            = ::readlink((fds + '/' + fd.toLatin1()).constData(), target, sizeof target);
        if (n > 0 && QByteArray(target, n).startsWith(prefix))
            ++count;
    }
    return count;
}

} // namespace

TEST_F(ExportTest, AKilledExportLeavesNothingBehind)
{
    // Enough notes that writing the workbook takes a while, even on a busy machine.
    folder.exec(QStringLiteral(
        "insert into adressen (ad_lauf, ad_lauf_datum, ad_memo) "
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 25000) "
        "select 'Lauf ' || i, '01.01.2020', hex(randomblob(1000)) from n"));
    const QString exportFolder = folder.file(QStringLiteral("Export"));
    const QString path = target(QStringLiteral("abgebrochen.xls"));
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            exportTo(path);
        } catch (...) {
        }
        ::_exit(0);
    }
    // Killed once it writes the workbook beside its cell spool.
    bool caught = false;
    for (int tries = 0; tries < 2'000'000 && !caught; ++tries) {
        if (openFilesIn(child, exportFolder) >= 2) {
            ::kill(child, SIGKILL);
            caught = true;
        } else if (::waitpid(child, nullptr, WNOHANG) == child) {
            break;
        }
    }
    if (caught)
        ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(caught) << "the export ended before it could be stopped";
    EXPECT_EQ(exportFiles(), QStringList());

    // A hidden workbook that a killed export of an older version left is removed by the next.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const QString left = QStringLiteral(".strivo-%1-1-12345.tmp").arg(gone);
    const QString running = QStringLiteral(".strivo-%1-1-12345.tmp").arg(::getppid());
    std::ofstream(folder.file("Export/" + left).toStdString()) << "halb geschrieben";
    std::ofstream(folder.file("Export/" + running).toStdString()) << "wird noch geschrieben";
    folder.exec(QStringLiteral("delete from adressen where ad_nummer > 10"));
    ASSERT_NO_THROW(exportTo(path));
    EXPECT_EQ(exportFiles(), (QStringList { running, QStringLiteral("abgebrochen.xls") }));
}

TEST_F(ExportTest, StoredBytesBecomeTheSameCellsWhateverTheirShape)
{
    // Damaged UTF-8, a byte order mark, numbers in text columns, a text in a flag column and a
    // lone CR: each cell shows what the text read from the file is.
    folder.exec(QStringLiteral(
        "insert into adressen (ad_lauf, ad_lauf_ort, ad_strecke, ad_zeit, ad_memo, "
        "ad_name_veranst, ad_ang_jn, ad_lauf_datum) values (cast(x'4c617566ffc3a4' as text), "
        "cast(x'efbbbf4bc3b66c6e' as text), cast(x'3130e282' as text), 42, 3.5, "
        "'Zeile 1' || char(13) || 'Zeile 2', 'ja', '01.01.2020')"));
    const QString path = target(QStringLiteral("Bytes.xls"));
    exportTo(path);

    const auto fromBytes = [](const char *hex) {
        return text(QString::fromUtf8(QByteArray::fromHex(hex)).toStdString());
    };
    const std::map<QString, ReadCell> expected = {
        { QStringLiteral("ad_lauf"), fromBytes("4c617566ffc3a4") },
        { QStringLiteral("ad_lauf_ort"), fromBytes("efbbbf4bc3b66c6e") },
        { QStringLiteral("ad_strecke"), fromBytes("3130e282") },
        { QStringLiteral("ad_zeit"), text("42") },
        { QStringLiteral("ad_memo"), text("3.5") },
        { QStringLiteral("ad_name_veranst"), text("Zeile 1\nZeile 2") },
        { QStringLiteral("ad_ang_jn"), text("ja") },
    };
    const auto sheets = readWithXlrd(path.toStdString());
    ASSERT_EQ(sheets.size(), 1u);
    ASSERT_EQ(sheets[0].rows.size(), 2u);
    for (const auto &[column, cell] : expected) {
        SCOPED_TRACE(column.toStdString());
        EXPECT_EQ(sheets[0].rows[1][size_t(exportedColumns().indexOf(column))], cell);
    }
}
