#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

// Append-only storage of the rows of a log list, which is never trimmed and so
// may hold millions of rows. Rows are packed one after another into large
// byte chunks (colour, cell ends, then the Windows-1252 cell bytes) and found
// through a blocked index, so adding a row never moves earlier rows and costs
// the same at any size.
class CLogRowStore {
  public:
    static constexpr int kMaxCells = 255;
    static constexpr std::size_t kMaxRowText = 0xFFFF; // cell bytes kept per row

    // Cells past kMaxCells are dropped; text past kMaxRowText is cut.
    void Append(int colour, std::span<const std::string_view> cells);

    std::size_t Size() const { return m_size; }
    int Colour(std::size_t row) const;
    int CellCount(std::size_t row) const;
    // Empty for a column the row does not have.
    std::string_view Cell(std::size_t row, int column) const;

    // Bytes held by chunks and index, for measurements.
    std::size_t ReservedBytes() const;

  private:
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        std::size_t used = 0;
        std::size_t capacity = 0;
    };

    static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
    static constexpr std::size_t kIndexBlockRows = std::size_t{1} << 14;

    char* Reserve(std::size_t bytes, uint32_t& chunk, uint32_t& offset);
    const char* RowStart(std::size_t row) const;

    std::vector<Chunk> m_chunks;
    // Per row: chunk number in the high 32 bits, offset in the low 32 bits.
    std::vector<std::unique_ptr<uint64_t[]>> m_index;
    std::size_t m_size = 0;
};
