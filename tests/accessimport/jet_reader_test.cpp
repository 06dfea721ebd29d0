// SPDX-License-Identifier: GPL-3.0-or-later
// The Jet reader on the public sample files beside the project (a German-localised Jet 3 file and
// a Jet 4 file), and on damaged copies of them.
#include "FakeUi.h"
#include "common/DbError.h"
#include "context/AppContext.h"
#include "jet/ChildJetReader.h"
#include "jet/JetFile.h"
#include "racelist/RaceListWindow.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The tests run from build/tests; the program's reader of Access files is built in build/bin.
const bool kReaderNamed = qEnvironmentVariableIsSet("STRIVO_ACCESS_READER")
    || qputenv("STRIVO_ACCESS_READER", STRIVO_ACCESS_READER);

// Beside the project; a checkout elsewhere names the folder in STRIVO_JET_SAMPLES.
const QString kSamples
    = qEnvironmentVariable("STRIVO_JET_SAMPLES", QStringLiteral(STRIVO_JET_SAMPLES));

struct JetSampleTest : ::testing::Test
{
    QTemporaryDir temp;

    void SetUp() override
    {
        if (!QFileInfo::exists(kSamples + "/nwind.mdb"))
            GTEST_SKIP() << "Die Jet-Beispieldateien fehlen in " << kSamples.toStdString()
                         << " (../shared/fixtures/jet neben dem Projekt)";
    }
    static QString sample(const char *name) { return kSamples + '/' + name; }

    // A copy of a sample with `change` applied to its bytes.
    QString damaged(const char *name, const std::function<void(QByteArray &)> &change) const
    {
        QFile in(sample(name));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        QByteArray bytes = in.readAll();
        change(bytes);
        const QString path = temp.filePath(QStringLiteral("copy.mdb"));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        return path;
    }

    // What opening (and reading `table`) says, read here and by the program's reader process
    // alike.
    static QString refusal(const QString &path, const char *table = nullptr)
    {
        const auto said = [&](const JetOpener &open) {
            try {
                const std::unique_ptr<JetRowSource> file = open(path);
                if (table)
                    file->readTable(QString::fromUtf8(table));
            } catch (const DbError &e) {
                return QString::number(e.number()) + u' ' + e.description();
            }
            return QString();
        };
        const QString here = said([](const QString &p) { return std::make_unique<JetFile>(p); });
        EXPECT_EQ(said(openJetFile).toStdString(), here.toStdString());
        return here.mid(here.indexOf(u' ') + 1);
    }
};

QVariant cell(const JetTable &t, int row, const char *column)
{
    const int c = t.columnIndex(QString::fromUtf8(column));
    EXPECT_GE(c, 0) << column;
    return c < 0 ? QVariant() : t.rows[row][c];
}

} // namespace

TEST_F(JetSampleTest, ReadsTheJet3FileWithItsCodePage)
{
    JetFile file(sample("nwind.mdb"));
    EXPECT_EQ(file.jetVersion(), 3);
    const QStringList tables = file.tableNames();
    EXPECT_EQ(tables.size(), 9) << tables.join(", ").toStdString();
    EXPECT_TRUE(tables.contains(QStringLiteral("Umsätze")));
    EXPECT_FALSE(file.readTable(QStringLiteral("Umsätze")).columns.isEmpty());

    const JetTable customers = file.readTable("customers"); // names without regard to case
    ASSERT_EQ(customers.rows.size(), 91);
    EXPECT_EQ(cell(customers, 0, "CustomerID"), "ALFKI");
    EXPECT_EQ(cell(customers, 0, "CompanyName"), "Alfreds Futterkiste");
    EXPECT_EQ(cell(customers, 0, "ContactName"), "Maria Anders");
    EXPECT_EQ(cell(customers, 0, "Address"), "Obere Str. 57");
    EXPECT_EQ(cell(customers, 0, "City"), "Berlin");
    EXPECT_TRUE(cell(customers, 0, "Region").isNull());
    EXPECT_EQ(cell(customers, 0, "PostalCode"), "12209");
    EXPECT_EQ(cell(customers, 1, "Address"), QStringLiteral("Avda. de la Constitución 2222"));
    EXPECT_EQ(cell(customers, 1, "City"), QStringLiteral("México D.F."));

    const JetTable products = file.readTable("Products");
    EXPECT_EQ(products.columns[products.columnIndex("Discontinued")].type, JetType::Bool);
    int discontinued = 0;
    for (int r = 0; r < products.rows.size(); ++r) {
        const QVariant v = cell(products, r, "Discontinued");
        EXPECT_EQ(v.typeId(), QMetaType::Bool);
        discontinued += v.toBool();
    }
    EXPECT_EQ(discontinued, 8); // of 77 products
    EXPECT_EQ(cell(products, 0, "ProductName"), "Chai");
    EXPECT_EQ(cell(products, 0, "Discontinued"), false);
    EXPECT_EQ(cell(products, 4, "Discontinued"), true);

    const JetTable employees = file.readTable("Employees");
    EXPECT_EQ(employees.columns[employees.columnIndex("Notes")].type, JetType::Memo);
    EXPECT_EQ(cell(employees, 0, "BirthDate").toDateTime().date(), QDate(1948, 12, 8));
    qsizetype longest = 0;
    for (int r = 0; r < employees.rows.size(); ++r)
        longest = std::max(longest, cell(employees, r, "Notes").toString().size());
    EXPECT_GT(longest, 255);
    EXPECT_TRUE(cell(employees, 1, "Notes").toString().endsWith(u'.'));
}

TEST_F(JetSampleTest, ReadsTheJet4FileWithItsDates)
{
    JetFile file(sample("DateTestDatabase.mdb"));
    EXPECT_EQ(file.jetVersion(), 4);
    EXPECT_EQ(file.tableNames(), QStringList { "DateTest" });
    const JetTable t = file.readTable("DateTest");
    ASSERT_EQ(t.rows.size(), 6);
    EXPECT_EQ(cell(t, 0, "IDCol").toLongLong(), 1);
    EXPECT_EQ(cell(t, 0, "LongTextCol"), "Hello");
    EXPECT_EQ(t.columns[t.columnIndex("LongTextCol")].type, JetType::Memo);
    EXPECT_EQ(cell(t, 0, "DateTimeCol").toDateTime().date(), QDate(2021, 12, 2));
    EXPECT_EQ(cell(t, 1, "ShortTextCol"), "Year 1999");
    EXPECT_EQ(cell(t, 1, "DateTimeCol").toDateTime().date().year(), 9999);
    EXPECT_EQ(cell(t, 2, "DateTimeCol").toDateTime().date(), QDate(1898, 1, 1));
    EXPECT_EQ(cell(t, 2, "TimeCol").toDateTime().date(), QDate(1900, 1, 1));
    EXPECT_EQ(cell(t, 5, "LongTextCol"), "New line\r\nin field");
}

TEST_F(JetSampleTest, RefusesFilesItCannotReadSafely)
{
    EXPECT_TRUE(refusal(damaged("nwind.mdb", [](QByteArray &b) {
                    b = "Läufe;Datum\n";
                })).contains("keine Access-Datenbank"));
    EXPECT_TRUE(refusal(temp.filePath("fehlt.mdb")).contains("nicht gefunden"));
    EXPECT_TRUE(refusal(damaged("nwind.mdb", [](QByteArray &b) {
                    b.truncate(300000);
                })).contains("unvollständig"));
    EXPECT_TRUE(refusal(damaged("nwind.mdb", [](QByteArray &b) { b.truncate(1 << 20); }), "Orders")
                    .contains("beschädigt"));
    EXPECT_TRUE(refusal(damaged("nwind.mdb", [](QByteArray &b) {
                    b[0x42] = char(b[0x42] ^ 'k');
                })).contains("Kennwort"));
    EXPECT_TRUE(refusal(damaged("DateTestDatabase.mdb", [](QByteArray &b) {
                    b[0x42] = char(b[0x42] ^ 'k');
                })).contains("Kennwort"));
    EXPECT_TRUE(refusal(damaged("DateTestDatabase.mdb", [](QByteArray &b) {
                    b[0x3e] = char(b[0x3e] ^ 0x5a);
                })).contains("verschlüsselt"));
    EXPECT_TRUE(refusal(damaged("DateTestDatabase.mdb", [](QByteArray &b) {
                    b.replace(4, 15, "Standard ACE DB");
                })).contains("ab Access 2007"));
}

// The row count in a table's header against the rows that read: a count of 0 is what Access
// leaves when it was not closed properly, any other difference is damage.
TEST_F(JetSampleTest, TheHeaderRowCountIsCheckedUnlessItIsZero)
{
    // Customers: 91 rows, its count at 0x2680c (page 77, offset 12)
    const struct
    {
        const char *count;
        const char *says; // empty: every row is read
    } cases[] = {
        { "5b000000", "" },
        { "00000000", "" },
        { "c8000000", "von den 200 Zeilen der Tabelle 'Customers' sind nur 91 lesbar" },
        { "32000000", "die Tabelle 'Customers' gibt 50 Zeilen an, enthält aber 91" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count);
        const QString path = damaged("nwind.mdb", [&](QByteArray &b) {
            b.replace(0x2680c, 4, QByteArray::fromHex(c.count));
        });
        for (const JetOpener &open : { JetOpener(openJetFile), JetOpener([](const QString &p) {
                                           return std::make_unique<JetFile>(p);
                                       }) }) {
            try {
                const JetTable customers = open(path)->readTable("Customers");
                EXPECT_STREQ(c.says, "");
                EXPECT_EQ(customers.rows.size(), 91);
                EXPECT_EQ(customers.headerRowCount, QByteArray::fromHex(c.count)[0]);
                EXPECT_EQ(cell(customers, 90, "CustomerID"), "WOLZA");
            } catch (const DbError &e) {
                EXPECT_TRUE(e.description().contains(QString::fromUtf8(c.says)) && *c.says)
                    << e.description().toStdString();
            }
        }
    }
}

// A Jet 4 file whose version says Jet 3 (or nothing known) is damaged; read with the wrong page
// size its password field would look set.
TEST_F(JetSampleTest, ADamagedVersionIsNotTakenForAPassword)
{
    for (const char version : { '\0', '\2', '\5' }) {
        SCOPED_TRACE(int(version));
        const QString path
            = damaged("DateTestDatabase.mdb", [&](QByteArray &b) { b[0x14] = version; });
        const QString said = refusal(path);
        EXPECT_TRUE(
            said.startsWith("Die Access-Datei ist beschädigt und kann nicht gelesen werden"))
            << said.toStdString();
        EXPECT_TRUE(said.contains("Jet-Version")) << said.toStdString();
        EXPECT_FALSE(said.contains("Kennwort"));
    }
    const QString jet3AsJet4
        = refusal(damaged("nwind.mdb", [&](QByteArray &b) { b[0x14] = '\1'; }));
    EXPECT_TRUE(jet3AsJet4.contains("Jet-Version")) << jet3AsJet4.toStdString();
}

TEST_F(JetSampleTest, AFileCutShortWhileOpenIsNotTakenAsComplete)
{
    const QString path = damaged("nwind.mdb", [](QByteArray &) {});
    JetFile file(path);
    ASSERT_TRUE(QFile::resize(path, 64 * 2048));
    try {
        const JetTable orders = file.readTable("Orders");
        ADD_FAILURE() << "read " << orders.rows.size() << " rows of a cut file";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.description().contains("beschädigt")) << e.description().toStdString();
    }
}

// A real Access file brought along as the database, but not a race log: nothing changes.
TEST_F(JetSampleTest, AStartWithAForeignAccessFileKeepsItUntouched)
{
    for (const Ui::Answer answer : { Ui::Answer::Yes, Ui::Answer::No }) {
        const QString db = temp.filePath("Strivo-DB.mdb");
        QFile::remove(db);
        ASSERT_TRUE(QFile::copy(sample("nwind.mdb"), db));
        QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
        QFile original(sample("nwind.mdb"));
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        FakeUi ui;
        ui.answers = { answer };
        FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 30)));
        AppContext ctx(ui, clock, temp.path());
        RaceListWindow window(ctx);
        window.load();

        ASSERT_EQ(ui.messages.size(), 2) << ui.messageTexts().join('\n').toStdString();
        EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNo);
        EXPECT_TRUE(ui.messages[1].text.contains(answer == Ui::Answer::Yes
                                                     ? "es fehlen: adressen"
                                                     : "Access-Datenbank (Jet) im alten Format"))
            << ui.messages[1].text.toStdString();
        QFile after(db);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_TRUE(after.readAll() == original.readAll());
        EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList { "Strivo-DB.mdb" });
    }
}

TEST(JetSignature, TellsAccessFilesFromOthers)
{
    QTemporaryDir temp;
    const QString path = temp.filePath("x.mdb");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("SQLite format 3\0", 16));
    f.close();
    EXPECT_FALSE(looksLikeAccessFile(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\0\1\0\0Standard Jet DB\0", 20));
    f.close();
    EXPECT_TRUE(looksLikeAccessFile(path));
    EXPECT_FALSE(looksLikeAccessFile(temp.filePath("fehlt.mdb")));
}
