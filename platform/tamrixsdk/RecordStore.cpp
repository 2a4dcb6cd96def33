#include "RecordStore.h"

#include <cstring>

namespace {

constexpr size_t kBlockBytes = 1 << 20;
constexpr size_t kHeadBytes = offsetof(ptc_transponder_t, label);

size_t RecordSize(size_t labelLength)
{
    return (kHeadBytes + labelLength + 1 + 7) & ~size_t{7};
}

} // namespace

void CRecordStore::Append(uint32_t id, uint32_t shortId, std::string_view label)
{
    if (label.size() > PTC_LABEL_MAX) {
        label = label.substr(0, PTC_LABEL_MAX);
    }
    const size_t size = RecordSize(label.size());
    if (m_blocks.empty() || m_blocks.back().used + size > kBlockBytes) {
        m_blocks.push_back({std::make_unique_for_overwrite<std::byte[]>(kBlockBytes), 0});
    }
    block_t& block = m_blocks.back();
    std::byte* place = block.data.get() + block.used;
    std::memset(place, 0, size);
    ptc_transponder_t head{};
    head.id = id;
    head.short_id = shortId;
    head.record_size = static_cast<uint32_t>(size);
    std::memcpy(place, &head, kHeadBytes);
    std::memcpy(place + kHeadBytes, label.data(), label.size());
    block.used += size;
    ++m_count;
}

void CRecordStore::Clear()
{
    m_blocks.clear();
    m_count = 0;
    m_walking = false;
}

const ptc_transponder_t* CRecordStore::At(size_t block, size_t offset) const
{
    if (block >= m_blocks.size() || offset >= m_blocks[block].used) {
        return nullptr;
    }
    return reinterpret_cast<const ptc_transponder_t*>(m_blocks[block].data.get() + offset);
}

const ptc_transponder_t* CRecordStore::Head()
{
    m_cursorBlock = 0;
    m_cursorOffset = 0;
    m_walking = true;
    return At(0, 0);
}

const ptc_transponder_t* CRecordStore::Next()
{
    const ptc_transponder_t* current = m_walking ? At(m_cursorBlock, m_cursorOffset) : nullptr;
    if (current == nullptr) {
        return nullptr;
    }
    m_cursorOffset += current->record_size;
    if (m_cursorOffset >= m_blocks[m_cursorBlock].used) {
        ++m_cursorBlock;
        m_cursorOffset = 0;
    }
    return At(m_cursorBlock, m_cursorOffset);
}
