#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogRowStore.h"

TEST(LogRowStoreTest, RowsKeepTheirCellsAndColourAcrossChunks)
{
    CLogRowStore store;
    const int rows = 200000; // several chunks and index blocks
    for (int i = 0; i < rows; ++i) {
        const std::string number = std::to_string(i);
        const std::string_view cells[] = {number, "", "Korvo", std::string_view("\xB0", 1)};
        store.Append(i % 4, cells);
    }
    ASSERT_EQ(store.Size(), static_cast<size_t>(rows));
    for (int i : {0, 1, 4095, 65535, 131072, rows - 1}) {
        EXPECT_EQ(store.Cell(static_cast<size_t>(i), 0), std::to_string(i));
        EXPECT_EQ(store.Cell(static_cast<size_t>(i), 1), "");
        EXPECT_EQ(store.Cell(static_cast<size_t>(i), 2), "Korvo");
        EXPECT_EQ(store.Cell(static_cast<size_t>(i), 3), "\xB0");
        EXPECT_EQ(store.Cell(static_cast<size_t>(i), 4), ""); // no such column
        EXPECT_EQ(store.Cell(static_cast<size_t>(i), -1), "");
        EXPECT_EQ(store.Colour(static_cast<size_t>(i)), i % 4);
        EXPECT_EQ(store.CellCount(static_cast<size_t>(i)), 4);
    }
}

TEST(LogRowStoreTest, HugeRowsAreKeptUpToTheLimit)
{
    CLogRowStore store;
    const std::string big(3 << 20, 'x'); // larger than a chunk
    const std::string_view cells[] = {"before", big, "after"};
    store.Append(3, cells);
    const std::string_view small[] = {"next"};
    store.Append(0, small);
    EXPECT_EQ(store.Cell(0, 0), "before");
    EXPECT_EQ(store.Cell(0, 1).size(), CLogRowStore::kMaxRowText - 6);
    EXPECT_EQ(store.Cell(0, 2), "");
    EXPECT_EQ(store.Colour(0), 3);
    EXPECT_EQ(store.Cell(1, 0), "next");
}
