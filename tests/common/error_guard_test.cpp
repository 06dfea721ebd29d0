#include "ProgramFixture.h"
#include "common/DbError.h"

#include <gtest/gtest.h>

using ErrorGuardTest = ProgramTest;

TEST_F(ErrorGuardTest, ShowsDescriptionBlankNumberAndSkipsTheRest)
{
    bool after = false;
    EXPECT_FALSE(ctx.guard([&] {
        throw DbError(3024, QStringLiteral("Datei nicht gefunden"));
        after = true;
    }));
    EXPECT_FALSE(after);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Datei nicht gefunden 3024"));
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Strivo"));
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::Ok);

    EXPECT_FALSE(ctx.guard([] { throw DbError(3197, QStringLiteral("geändert")); }, { 3197 }));
    EXPECT_TRUE(ctx.guard([] {}));
    EXPECT_EQ(ui.messages.size(), 1);
}
