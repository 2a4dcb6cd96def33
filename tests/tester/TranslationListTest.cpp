#include "TranslationList.h"

#include <gtest/gtest.h>

// A new synchronisation refills the list: no lookup may reach a record of the old one.
TEST(TranslationList, ARefilledListForgetsTheOldRecords)
{
    CTranslationList list;
    list.AddTail({7, 1, "old"});
    list.RemoveAll();
    CTranslation found;
    EXPECT_FALSE(list.FindTranslation(7, found));
    list.AddTail({8, 0, "other"});
    list.AddTail({7, 3, "new"});
    ASSERT_TRUE(list.FindTranslation(7, found));
    EXPECT_EQ(found.label, "new");
}
