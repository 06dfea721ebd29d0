// SPDX-License-Identifier: GPL-3.0-or-later
// What the program accepts from its reader process: the frames checked to the last byte, and a
// reader that crashes, hangs, floods or talks nonsense reported as a damaged file.
#include "common/DbError.h"
#include "jet/ChildJetReader.h"
#include "jet/JetWire.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

JetTable sampleTable()
{
    JetTable t;
    t.name = QStringLiteral("adressen");
    t.headerRowCount = 0;
    t.columns = { { "ad_nummer", JetType::Integer }, { "ad_lauf", JetType::Text },
                  { "ad_ang_jn", JetType::Bool },    { "ad_lauf_datum", JetType::DateTime },
                  { "ad_betrag", JetType::Real },    { "ad_memo", JetType::Memo } };
    t.rows = { { qlonglong(1), QStringLiteral("Straßenlauf Köln"), true,
                 QDateTime(QDate(1898, 1, 1), QTime(12, 30, 15, 250)), 12.5, QString(300, u'ü') },
               { qlonglong(-7), QVariant(), false, QVariant(), QVariant(), QStringLiteral("") } };
    return t;
}

QByteArray answerFor(const JetTable &t)
{
    QByteArray answer = jetwire::headFrame(t);
    for (const QVariantList &row : t.rows)
        answer += jetwire::rowFrame(row);
    return answer + jetwire::endFrame(t.rows.size());
}

QString malformation(const std::function<void()> &decode)
{
    try {
        decode();
    } catch (const jetwire::Malformed &e) {
        return e.why;
    } catch (const DbError &e) {
        return QStringLiteral("DbError: ") + e.description();
    }
    return {};
}

} // namespace

TEST(JetWire, ATableArrivesAsItWasSent)
{
    const JetTable sent = sampleTable();
    const JetTable got = jetwire::decodeTable(answerFor(sent), QStringLiteral("ADRESSEN"));
    EXPECT_EQ(got.name, sent.name);
    EXPECT_EQ(got.headerRowCount, 0);
    ASSERT_EQ(got.columns.size(), sent.columns.size());
    for (int c = 0; c < sent.columns.size(); ++c) {
        EXPECT_EQ(got.columns[c].name, sent.columns[c].name);
        EXPECT_EQ(got.columns[c].type, sent.columns[c].type);
    }
    ASSERT_EQ(got.rows.size(), 2);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < sent.columns.size(); ++c) {
            EXPECT_EQ(got.rows[r][c], sent.rows[r][c]) << r << ' ' << c;
            EXPECT_EQ(got.rows[r][c].isNull(), sent.rows[r][c].isNull()) << r << ' ' << c;
        }
    }
    EXPECT_EQ(jetwire::decodeTables(jetwire::tablesFrame({ "adressen", "Umsätze" })),
              (QStringList { "adressen", "Umsätze" }));
}

TEST(JetWire, EveryBreakOfTheFormIsRefused)
{
    const JetTable t = sampleTable();
    const QByteArray good = answerFor(t);
    const auto withRow = [&](const QVariantList &row) {
        return jetwire::headFrame(t) + jetwire::rowFrame(row) + jetwire::endFrame(1);
    };
    const auto changed = [&](int column, const QVariant &value) {
        QVariantList row = t.rows[0];
        row[column] = value;
        return row;
    };
    const QVariantList row = t.rows[0];
    const struct
    {
        const char *what;
        QByteArray answer;
    } cases[] = {
        { "nothing", QByteArray() },
        { "cut short", good.chopped(1) },
        { "no end", good.chopped(jetwire::endFrame(2).size()) },
        { "a wrong row count", good.chopped(jetwire::endFrame(2).size()) + jetwire::endFrame(3) },
        { "text for a number", withRow(changed(0, QStringLiteral("1"))) },
        { "a null Yes/No", withRow(changed(2, QVariant())) },
        { "a number for text", withRow(changed(1, qlonglong(5))) },
        { "a value too many", withRow(QVariantList(row) << qlonglong(1)) },
        { "a value too few", withRow(row.mid(0, 5)) },
        { "invalid UTF-8", QByteArray(good).replace("Stra\xc3\x9f", "Stra\xff\xfe") },
        { "another table", answerFor([&] {
              JetTable other = t;
              other.name = QStringLiteral("aw_lauf");
              return other;
          }()) },
        { "an unknown column type",
          QByteArray(good).replace(jetwire::headFrame(t),
                                   [&] {
                                       JetTable odd = t;
                                       odd.columns[0].type = JetType(9);
                                       return jetwire::headFrame(odd);
                                   }()) },
        { "a frame beyond the limit", good + QByteArray("R\xff\xff\xff\xff", 5) },
        { "an unknown frame",
          jetwire::headFrame(t) + QByteArray("X\0\0\0\0", 5) + jetwire::endFrame(0) },
        { "table names instead", jetwire::tablesFrame({ "adressen" }) },
    };
    for (const auto &c : cases) {
        const QString why
            = malformation([&] { jetwire::decodeTable(c.answer, QStringLiteral("adressen")); });
        EXPECT_FALSE(why.isEmpty()) << c.what;
        EXPECT_FALSE(why.startsWith("DbError")) << c.what;
    }
    EXPECT_FALSE(malformation([&] {
                     jetwire::decodeTables(jetwire::tablesFrame({ "adressen" }) + "x");
                 }).isEmpty());
    EXPECT_FALSE(
        malformation([&] { jetwire::decodeTables(jetwire::tablesFrame({ "" })); }).isEmpty());
}

// An error the reader reports after some rows ends the answer and arrives as it was raised.
TEST(JetWire, AReportedErrorArrivesAsItWasRaised)
{
    const JetTable t = sampleTable();
    const DbError raised(ErrNo::DatabaseCorrupt, QStringLiteral("Die Tabelle ist kaputt."));
    const QByteArray answer
        = jetwire::headFrame(t) + jetwire::rowFrame(t.rows[0]) + jetwire::errorFrame(raised);
    try {
        jetwire::decodeTable(answer, QStringLiteral("adressen"));
        ADD_FAILURE() << "no error";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), ErrNo::DatabaseCorrupt);
        EXPECT_EQ(e.description(), raised.description());
    }
}

namespace {

// A stand-in for the reader: a shell script that misbehaves as told.
struct FakeReader : ::testing::Test
{
    QTemporaryDir temp;

    QString script(const char *body)
    {
        const QString path = temp.filePath(QStringLiteral("reader.sh"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("#!/bin/sh\n") + body + '\n');
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    static QString opening(const QString &program)
    {
        ReaderLimits limits;
        limits.quiet = std::chrono::milliseconds(500);
        limits.output = qint64(1) << 20;
        try {
            ChildJetReader reader(QStringLiteral("/irgendwo/alt.mdb"), limits, program);
        } catch (const DbError &e) {
            return e.description();
        }
        return {};
    }
};

} // namespace

TEST_F(FakeReader, AMisbehavingReaderMeansADamagedFile)
{
    const struct
    {
        const char *body;
        const char *says;
    } cases[] = {
        { "kill -SEGV $$", "(das Lesen brach ab)" },
        { "kill -KILL $$", "(das Lesen brach ab)" },
        { "exit 1", "(das Lesen brach ab)" },
        { "exec sleep 30", "(das Lesen kam 1 Sekunden lang nicht voran)" },
        { "printf 'L\\000\\000'; exec sleep 30", "(das Lesen kam 1 Sekunden lang nicht voran)" },
        { "exec yes", "(das Lesen lieferte mehr als 1 MiB)" },
        { "printf 'Hallo Welt'", "" },
        { "printf 'L\\004\\000\\000\\000\\001\\000\\000\\000'", "(eine Angabe ist abgeschnitten)" },
    };
    for (const auto &c : cases) {
        const QString said = opening(script(c.body));
        EXPECT_TRUE(said.startsWith("Die Access-Datei ist beschädigt und kann nicht gelesen "
                                    "werden: '/irgendwo/alt.mdb'"))
            << c.body << ": " << said.toStdString();
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.says)))
            << c.body << ": " << said.toStdString();
        EXPECT_TRUE(said.endsWith("Es wurde nichts übernommen.")) << said.toStdString();
    }
}

TEST_F(FakeReader, AReaderThatAnswersIsBelieved)
{
    const QString names = temp.filePath(QStringLiteral("names"));
    QFile file(names);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(jetwire::tablesFrame({ "adressen", "aw_lauf" }));
    file.close();
    EXPECT_EQ(opening(script(("cat '" + names + "'").toUtf8().constData())), QString());
}

TEST_F(FakeReader, AMissingReaderIsSaidToBeMissing)
{
    const QString said = opening(temp.filePath(QStringLiteral("fehlt")));
    EXPECT_TRUE(said.contains("fehlt oder lässt sich nicht starten")) << said.toStdString();
    EXPECT_FALSE(said.contains("beschädigt"));
}
