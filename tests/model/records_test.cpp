#include "model/Records.h"

#include <gtest/gtest.h>

namespace {

TEST(PickLists, EveryListNamesItsTableAndColumn)
{
    struct Case
    {
        PickList list;
        const char *table;
        const char *column;
        bool hasName;
        int maxLength;
    };
    const Case cases[] = {
        { PickList::Race, "aw_lauf", "lauf", false, 35 },
        { PickList::Timing, "aw_zeitmessung", "zeitmessung", false, 35 },
        { PickList::Salutation, "aw_anrede", "anrede", false, 35 },
        { PickList::Title, "aw_titel", "titel", false, 35 },
        { PickList::Street, "aw_strasse", "strasse", false, 35 },
        { PickList::Country, "aw_land", "land", true, 3 },
    };
    for (const Case &c : cases) {
        const PickListTable &t = pickListTable(c.list);
        EXPECT_STREQ(t.table, c.table);
        EXPECT_STREQ(t.column, c.column);
        EXPECT_EQ(t.nameColumn != nullptr, c.hasName) << c.table;
        EXPECT_EQ(t.maxLength, c.maxLength) << c.table;
    }
}

TEST(DocumentLinks, StoredFormsRoundTripAndTheLongPathIsCut)
{
    const std::vector<QVariant> stored
        = { QStringLiteral(" 12"), QStringLiteral("/home/a/Anmeldung.pdf"), QVariant() };
    const DocumentLink link = DocumentColumns::fromStored(4, stored);
    EXPECT_EQ(link.number, 4);
    EXPECT_EQ(link.raceNumber, QStringLiteral(" 12"));
    EXPECT_TRUE(link.name.isNull());
    const std::vector<QVariant> back = DocumentColumns::toStored(link);
    EXPECT_EQ(back[0], stored[0]);
    EXPECT_EQ(back[1], stored[1]);
    EXPECT_TRUE(back[2].isNull());

    DocumentLink longPath;
    longPath.path = QString(300, u'x');
    EXPECT_EQ(DocumentColumns::toStored(longPath)[1].toString().size(),
              DocumentColumns::kPathLength);
}

} // namespace
