#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "LogRowStore.h"

TEST(LogRowStoreTest, RowsKeepTheirCellsAndColourAcrossChunksAndHugeRowsAreCutAtTheLimit)
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
        const auto row = static_cast<size_t>(i);
        EXPECT_EQ(std::tuple(store.Cell(row, 0), store.Cell(row, 1), store.Cell(row, 2), store.Cell(row, 3),
                             store.Cell(row, 4), store.Cell(row, -1), store.Colour(row),
                             store.CellCount(row)),
                  std::tuple(std::to_string(i), "", "Korvo", "\xB0", "", "", i % 4, 4));
    }

    const std::size_t at = store.Size();
    const std::string big(3 << 20, 'x'); // larger than a chunk
    const std::string_view cells[] = {"before", big, "after"};
    store.Append(3, cells);
    const std::string_view small[] = {"next"};
    store.Append(0, small);
    EXPECT_EQ(std::tuple(store.Cell(at, 0), store.Cell(at, 1).size(), store.Cell(at, 2), store.Colour(at),
                         store.Cell(at + 1, 0)),
              std::tuple("before", CLogRowStore::kMaxRowText - 6, "", 3, "next"));
}
