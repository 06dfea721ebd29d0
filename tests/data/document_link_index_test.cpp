#include "TestFolder.h"
#include "data/DocumentLinkIndex.h"
#include "data/RaceStore.h"
#include "data/Sqlite.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Race numbers as links may hold them: plain, with blanks, leading zeros, a decimal point,
// trailing text, signs, empty, missing, too long for the key, and a number the key holds
// beside one it misses.
const QStringList kStored = { "12",
                              " 12",
                              "012",
                              "12.0",
                              "12abc",
                              "+12",
                              "-12",
                              "",
                              "abc",
                              "1 2",
                              "120",
                              "2",
                              "0",
                              "1234567890123456",
                              "999999999999999",
                              "12",
                              "12 ",
                              "9" };

void addLinks(const TestFolder &folder)
{
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
    db.exec("begin");
    for (int round = 0; round < 3; ++round) {
        for (const QString &number : kStored) {
            Statement st(db,
                         "insert into ereignisse_dokumente (ed_nummer, ed_datei) values (?, ?)");
            st.bind(1, number);
            st.bind(2, QStringLiteral("/tmp/%1.pdf").arg(round));
            st.step();
        }
        db.exec("insert into ereignisse_dokumente (ed_nummer) values (null)");
    }
    db.exec("commit");
}

// The links the race editor lists for a race.
QList<qlonglong> listedByStore(const TestFolder &folder, const QString &number)
{
    RaceStore store(folder.dbPath());
    QList<qlonglong> keys;
    for (const DocumentLink &link : store.documents(number.toLongLong()))
        keys << link.number;
    return keys;
}

// The comparison as it always ran: val() on every link.
QList<qlonglong> listedByVal(const TestFolder &folder, const QString &number)
{
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
    Statement st(db,
                 "select erd_nummer from ereignisse_dokumente where val(ed_nummer) = "
                     + number.toStdString() + " order by erd_nummer desc");
    QList<qlonglong> keys;
    while (st.step())
        keys << st.column(0).toLongLong();
    return keys;
}

} // namespace

TEST(DocumentLinkIndex, ARacesLinksWithTheIndexEqualThoseByValOnEveryStoredForm)
{
    TestFolder folder;
    addLinks(folder);
    const QStringList numbers
        = { "12", "120", "2", "9", "0", "999999999999999", "1234567890123456", "77" };
    for (int withIndex = 0; withIndex < 2; ++withIndex) {
        if (withIndex) {
            SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
            DocumentLinkIndex::ensure(db);
            DocumentLinkIndex::ensure(db); // a second start leaves it alone
            EXPECT_EQ(db.scalar("select count(*) from sqlite_master where name = "
                                "'ereignisse_dokumente_nummer'")
                          .toInt(),
                      1);
        }
        for (const QString &number : numbers)
            EXPECT_EQ(listedByStore(folder, number), listedByVal(folder, number))
                << number.toStdString() << " index " << withIndex;
    }
    // Something to compare: "12" is found in several stored forms.
    EXPECT_GE(listedByVal(folder, QStringLiteral("12")).size(), 15);

    // The editor's condition is answered by the index, and plain sqlite3 can check the file.
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
    Statement plan(db,
                   "explain query plan select erd_nummer from ereignisse_dokumente where "
                       + DocumentLinkIndex::keyExpression(QStringLiteral("ed_nummer")).toStdString()
                       + " = '12'");
    QString text;
    while (plan.step())
        text += plan.column(3).toString() + u'\n';
    EXPECT_TRUE(text.contains(QLatin1String("ereignisse_dokumente_nummer"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("SCAN ereignisse_dokumente"))) << text.toStdString();

    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite3.isEmpty())
        return;
    QProcess p;
    p.start(sqlite3, { folder.dbPath(), QStringLiteral("pragma integrity_check;") });
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("ok\n"))
        << p.readAllStandardError().toStdString();
}
