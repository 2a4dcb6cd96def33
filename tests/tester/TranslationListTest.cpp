#include "TranslationList.h"

#include <gtest/gtest.h>

TEST(TranslationList, FirstRecordOfANumberWinsAndMissesAreReported)
{
    CTranslationList list;
    list.AddTail({7, 0, "Car 7"});
    list.AddTail({42, 12, "Second"});
    list.AddTail({7, 99, "Later duplicate"});

    CTranslation found;
    ASSERT_TRUE(list.FindTranslation(7, found));
    EXPECT_EQ(found.shortId, 0u);
    EXPECT_EQ(found.label, "Car 7");
    ASSERT_TRUE(list.FindTranslation(42, found));
    EXPECT_EQ(found.label, "Second");
    EXPECT_FALSE(list.FindTranslation(8, found));
    EXPECT_EQ(list.GetCount(), 3u);
}

TEST(TranslationList, RemoveAllForgetsTheIndexToo)
{
    CTranslationList list;
    list.AddTail({7, 1, "Old"});
    list.RemoveAll();
    CTranslation found;
    EXPECT_FALSE(list.FindTranslation(7, found));

    list.AddTail({7, 2, "New"});
    ASSERT_TRUE(list.FindTranslation(7, found));
    EXPECT_EQ(found.label, "New");
}
