#include "data/DocumentLinkIndex.h"
#include "data/RaceDateIndex.h"
#include "data/SqlTranslator.h"

#include <gtest/gtest.h>

namespace {
std::string sqlOf(const char *statement)
{
    return translateStatement(QString::fromUtf8(statement)).sql;
}
} // namespace

TEST(SqlTranslation, ListStatementsKeepTheirWordingAndGainGermanOrdering)
{
    EXPECT_EQ(sqlOf("select * from adressen where ad_ang_jn=true and (Datevalue(ad_lauf_datum) >= "
                    "Datevalue( '05.03.2004'))   order by cdate(ad_lauf_datum) desc"),
              "select * from adressen where ad_ang_jn=true and (Datevalue(ad_lauf_datum) >= "
              "Datevalue( '05.03.2004'))   order by cdate(ad_lauf_datum) desc, _rowid_");
    EXPECT_EQ(sqlOf("select * from aw_anrede  order by anrede"),
              "select * from aw_anrede  order by anrede COLLATE de");
    EXPECT_EQ(sqlOf("select * from aw_lauf order by lauf"),
              "select * from aw_lauf order by lauf COLLATE de");
    // A race's document links: a condition the index answers (its equality is tested with the
    // index); a number no race has stays a plain comparison of numbers.
    EXPECT_EQ(sqlOf("select * from ereignisse_dokumente where val(ed_nummer)= '12' order by "
                    "erd_nummer desc"),
              "select * from ereignisse_dokumente where "
                  + DocumentLinkIndex::numberCondition("ed_nummer", "12").toStdString()
                  + " order by erd_nummer COLLATE de desc");
    EXPECT_EQ(sqlOf("select * from ereignisse_dokumente where val(ed_nummer)= '0' order by "
                    "erd_nummer desc"),
              "select * from ereignisse_dokumente where val(ed_nummer)= 0 order by "
              "erd_nummer COLLATE de desc");
    EXPECT_EQ(sqlOf("select * from ereignisse_dokumente where val(ed_nummer)= -1"),
              "select * from ereignisse_dokumente where val(ed_nummer)= -1");
}

TEST(SqlTranslation, RaceDateKeysReplaceTheDateFunctionsOfTheRaceDateOnly)
{
    TranslateOptions keys;
    keys.raceDateKeys = true;
    const QString key = RaceDateIndex::keyExpression(QStringLiteral("ad_lauf_datum"));
    const std::string sql
        = translateStatement(
              QStringLiteral("select * from adressen where ad_alarm_jn = 'Ja' and "
                             "(Datevalue(ad_alarm_datum) <= Datevalue( '07.05.2026')) and "
                             "(Datevalue(ad_lauf_datum) >= Datevalue( '29.02.2024'))   order by "
                             "cdate(ad_lauf_datum) desc"),
              keys)
              .sql;
    EXPECT_EQ(sql,
              ("select * from adressen where ad_alarm_jn = 'Ja' and (Datevalue(ad_alarm_datum) <= "
               "Datevalue( '07.05.2026')) and ("
               + key + " >= '20240229')   order by " + key + " desc, _rowid_")
                  .toStdString());
    // A literal that is no date keeps the functions; so does a statement without the option.
    EXPECT_EQ(
        translateStatement(QStringLiteral("select * from adressen where "
                                          "Datevalue(ad_lauf_datum) < Datevalue('31.02.2024')"),
                           keys)
            .sql,
        "select * from adressen where Datevalue(ad_lauf_datum) < Datevalue('31.02.2024')");
    EXPECT_EQ(sqlOf("select * from adressen order by cdate(ad_lauf_datum)"),
              "select * from adressen order by cdate(ad_lauf_datum), _rowid_");
}

TEST(SqlTranslation, PostalSearchComparesTheGermanWayAndLeavesLiteralsAlone)
{
    EXPECT_EQ(sqlOf("select * from aw_plzort  where left(port,'3' )  = 'übe' order by port"),
              "select * from aw_plzort  where left_text(port,'3' )  = 'übe' COLLATE de order by "
              "port COLLATE de");
    // A quoted apostrophe and words inside the literal stay text.
    EXPECT_EQ(
        sqlOf("select * from aw_plzort  where left(port,'21' )  = 'x'' order by port' order "
              "by port"),
        "select * from aw_plzort  where left_text(port,'21' )  = 'x'' order by port' COLLATE de "
        "order by port COLLATE de");
    EXPECT_EQ(sqlQuoted(QStringLiteral("Sankt Peter's")), QStringLiteral("'Sankt Peter''s'"));
    // The empty search field: every row with a value, without a call per row.
    EXPECT_EQ(sqlOf("select * from aw_plzort  where left(port,'0' )  = '' order by port"),
              "select * from aw_plzort  where (port is not null) order by port COLLATE de");
    EXPECT_EQ(sqlOf("select * from aw_plzort  where port = 'left(port,''0'')  = ''''' or "
                    "left(plz,'01')  = '' order by port"),
              "select * from aw_plzort  where port = 'left(port,''0'')  = ''''' or "
              "left_text(plz,'01')  = '' order by port COLLATE de");
}

TEST(SqlTranslation, PlaceSearchAsksForFirstBytesOnlyOnTheGivenColumn)
{
    TranslateOptions options;
    options.leadByteColumns = QStringList { QStringLiteral("port") };
    const auto sqlWith = [&options](const char *statement) {
        return translateStatement(QString::fromUtf8(statement), options).sql;
    };
    EXPECT_NE(sqlWith("select * from aw_plzort  where left(port,'1' )  = 'B' order by port"),
              sqlOf("select * from aw_plzort  where left(port,'1' )  = 'B' order by port"));
    // Other columns, the empty field and a length that is no plain number are left alone.
    for (const char *statement :
         { "select * from aw_plzort  where left(plz,'1' )  = '7' order by port",
           "select * from aw_plzort  where left(port,'0' )  = '' order by port",
           "select * from aw_plzort  where left(port,'-1' )  = 'B' order by port",
           "select * from aw_plzort  where left(port,'x' )  = 'B' order by port" })
        EXPECT_EQ(sqlWith(statement), sqlOf(statement));
}

TEST(SqlTranslation, ExcelTargetIsRecognised)
{
    const QString statement = QStringLiteral(
        "select ad_lauf, ad_lauf_ort into [Excel 8.0;Database=/home/läufer/Export/Läufe "
        "26-12-08 10-00-00.xls].Läufe from adressen order by cdate(ad_lauf_datum) desc");
    const TranslatedStatement t = translateStatement(statement);
    ASSERT_TRUE(t.excel.has_value());
    EXPECT_EQ(t.excel->path, QStringLiteral("/home/läufer/Export/Läufe 26-12-08 10-00-00.xls"));
    EXPECT_EQ(t.excel->sheet, QStringLiteral("Läufe"));
    EXPECT_EQ(
        t.sql,
        "select ad_lauf, ad_lauf_ort from adressen order by cdate(ad_lauf_datum) desc, _rowid_");
    EXPECT_FALSE(translateStatement(QStringLiteral("select * from adressen")).excel.has_value());
}

TEST(SqlTranslation, CountingLeavesOutOnlyTheFinalOrdering)
{
    EXPECT_EQ(
        withoutFinalOrdering("select a from t where b = 1 order by c COLLATE de desc, _rowid_"),
        "select a from t where b = 1 ");
    EXPECT_EQ(withoutFinalOrdering("select * from t ORDER\n BY x"), "select * from t ");
    // Orderings inside parentheses belong to a subquery or a window, not to the result.
    EXPECT_EQ(withoutFinalOrdering("select * from (select a from t order by a limit 3)"),
              "select * from (select a from t order by a limit 3)");
    EXPECT_EQ(withoutFinalOrdering("select row_number() over (order by a) from t order by a"),
              "select row_number() over (order by a) from t ");
    // A limit makes the ordering decide which rows there are; a literal or a comment may hide
    // the words.
    EXPECT_EQ(withoutFinalOrdering("select a from t order by a limit 10"),
              "select a from t order by a limit 10");
    EXPECT_EQ(withoutFinalOrdering("select a from t order by a offset 2"),
              "select a from t order by a offset 2");
    EXPECT_EQ(withoutFinalOrdering("select a from t where a = 'x order by y'"),
              "select a from t where a = 'x order by y'");
    EXPECT_EQ(withoutFinalOrdering("select a from t where a = ' order by ' order by a"),
              "select a from t where a = ' order by ' ");
    EXPECT_EQ(withoutFinalOrdering("select a from t order by a -- limit 1\n"),
              "select a from t order by a -- limit 1\n");
    EXPECT_EQ(withoutFinalOrdering("select a from t"), "select a from t");
}
