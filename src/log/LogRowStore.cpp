#include "LogRowStore.h"

#include <algorithm>
#include <cstring>

// A row's bytes: colour (1), cell count (1), the end of each cell's text as a
// 16-bit offset from the start of the text, then the text.
namespace {

constexpr std::size_t kHeaderBytes = 2;

uint16_t ReadEnd(const char* row, int cell)
{
    uint16_t end = 0;
    std::memcpy(&end, row + kHeaderBytes + 2 * static_cast<std::size_t>(cell), sizeof end);
    return end;
}

} // namespace

void CLogRowStore::Append(int colour, std::span<const std::string_view> cells)
{
    const int count = static_cast<int>(std::min<std::size_t>(cells.size(), kMaxCells));
    std::size_t text = 0;
    for (int i = 0; i < count; ++i)
        text += cells[static_cast<std::size_t>(i)].size();
    text = std::min(text, kMaxRowText);

    const std::size_t ends = 2 * static_cast<std::size_t>(count);
    uint32_t chunk = 0;
    uint32_t offset = 0;
    char* row = Reserve(kHeaderBytes + ends + text, chunk, offset);
    row[0] = static_cast<char>(static_cast<unsigned char>(colour));
    row[1] = static_cast<char>(count);
    char* out = row + kHeaderBytes + ends;
    std::size_t end = 0;
    for (int i = 0; i < count; ++i) {
        const std::string_view cell = cells[static_cast<std::size_t>(i)];
        const std::size_t take = std::min(cell.size(), text - end);
        if (take > 0) // an empty view may have no data pointer at all
            std::memcpy(out + end, cell.data(), take);
        end += take;
        const auto end16 = static_cast<uint16_t>(end);
        std::memcpy(row + kHeaderBytes + 2 * static_cast<std::size_t>(i), &end16, sizeof end16);
    }

    if (m_size % kIndexBlockRows == 0)
        m_index.push_back(std::make_unique<uint64_t[]>(kIndexBlockRows));
    m_index.back()[m_size % kIndexBlockRows] = (uint64_t{chunk} << 32) | offset;
    ++m_size;
}

char* CLogRowStore::Reserve(std::size_t bytes, uint32_t& chunk, uint32_t& offset)
{
    if (m_chunks.empty() || m_chunks.back().capacity - m_chunks.back().used < bytes) {
        // The tail of the previous chunk stays unused: rows never span chunks.
        Chunk fresh;
        fresh.capacity = std::max(kChunkBytes, bytes);
        fresh.bytes = std::make_unique_for_overwrite<char[]>(fresh.capacity);
        m_chunks.push_back(std::move(fresh));
    }
    Chunk& last = m_chunks.back();
    chunk = static_cast<uint32_t>(m_chunks.size() - 1);
    offset = static_cast<uint32_t>(last.used);
    last.used += bytes;
    return last.bytes.get() + offset;
}

const char* CLogRowStore::RowStart(std::size_t row) const
{
    const uint64_t ref = m_index[row / kIndexBlockRows][row % kIndexBlockRows];
    return m_chunks[ref >> 32].bytes.get() + (ref & 0xFFFFFFFFu);
}

int CLogRowStore::Colour(std::size_t row) const
{
    return static_cast<unsigned char>(RowStart(row)[0]);
}

int CLogRowStore::CellCount(std::size_t row) const
{
    return static_cast<unsigned char>(RowStart(row)[1]);
}

std::string_view CLogRowStore::Cell(std::size_t row, int column) const
{
    const char* start = RowStart(row);
    const int count = static_cast<unsigned char>(start[1]);
    if (column < 0 || column >= count)
        return {};
    const char* text = start + kHeaderBytes + 2 * static_cast<std::size_t>(count);
    const uint16_t begin = column == 0 ? 0 : ReadEnd(start, column - 1);
    return {text + begin, static_cast<std::size_t>(ReadEnd(start, column) - begin)};
}

std::size_t CLogRowStore::ReservedBytes() const
{
    std::size_t bytes = m_index.size() * kIndexBlockRows * sizeof(uint64_t);
    for (const Chunk& chunk : m_chunks)
        bytes += chunk.capacity;
    return bytes;
}
