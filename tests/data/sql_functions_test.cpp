#include "Sqlite.h"

#include <gtest/gtest.h>

TEST(SqlFunctions, Placeholder)
{
    SqliteDb db(QStringLiteral(":memory:"), SqliteDb::Open::Create);
    EXPECT_EQ(db.scalar("select val('12abc')").toInt(), 12);
}
