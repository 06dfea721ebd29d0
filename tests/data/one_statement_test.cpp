// SPDX-License-Identifier: GPL-3.0-or-later
// Text handed to the database runs as exactly one statement; scripts of several statements
// have their own, separately named way in.

#include "common/DbError.h"
#include "data/Sqlite.h"

#include <gtest/gtest.h>

namespace {
SqliteDb memoryDbWithTable()
{
    SqliteDb db(QStringLiteral(":memory:"), SqliteDb::Open::Create);
    db.exec("create table t (x integer)");
    return db;
}

int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const DbError &e) {
        EXPECT_FALSE(e.description().isEmpty());
        return e.number();
    }
    return 0;
}

long long rows(SqliteDb &db)
{
    return db.scalar("select count(*) from t").toLongLong();
}
} // namespace

TEST(OneStatement, BlanksSemicolonsAndCommentsAfterTheStatementAreAccepted)
{
    SqliteDb db = memoryDbWithTable();
    db.exec("insert into t values (1)");
    db.exec("insert into t values (2);");
    db.exec("insert into t values (3) ;  ;\n\t");
    db.exec("insert into t values (4); -- the fourth\n/* done */ ;");
    EXPECT_EQ(rows(db), 4);
    Statement st(db, "select max(x) from t; ");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.column(0).toInt(), 4);
}

TEST(OneStatement, TextHoldingASecondStatementIsRefusedAndNothingOfItRuns)
{
    SqliteDb db = memoryDbWithTable();
    for (const char *sql : { "insert into t values (1); drop table t",
                             "insert into t values (1); insert into t values (2)",
                             "insert into t values (1);; -- x\n delete from t",
                             // A faulty rest is still more than one statement, not a comment.
                             "insert into t values (1); kein sql" }) {
        EXPECT_EQ(errorOf([&] { db.exec(sql); }), ErrNo::TextAfterStatement) << sql;
        EXPECT_EQ(errorOf([&] { Statement st(db, sql); }), ErrNo::TextAfterStatement) << sql;
    }
    EXPECT_EQ(rows(db), 0);
    try {
        db.exec("select 1; drop table t");
        ADD_FAILURE();
    } catch (const DbError &e) {
        EXPECT_EQ(e.description(),
                  QStringLiteral("Zeichen nach dem Ende der SQL-Anweisung gefunden: drop table t"));
    }
    // A faulty first statement is reported as the fault it is.
    EXPECT_EQ(errorOf([&] { db.exec("insert into fehlt values (1); select 1"); }), ErrNo::SqlError);
}

TEST(OneStatement, AScriptRunsEveryStatement)
{
    SqliteDb db = memoryDbWithTable();
    db.runScript("insert into t values (1); insert into t values (2);\ninsert into t values (3)");
    EXPECT_EQ(rows(db), 3);
}
