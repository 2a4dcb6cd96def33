#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "TamrixSDK.h"

// The transponder records of one synchronisation, packed one after another in
// blocks that never move, so a record pointer stays valid while more arrive.
// A record takes its 24-byte head plus the label and its NUL, rounded up to 8.
class CRecordStore {
  public:
    CRecordStore() = default;
    CRecordStore(const CRecordStore&) = delete;
    CRecordStore& operator=(const CRecordStore&) = delete;

    // label: Windows-1252, at most PTC_LABEL_MAX bytes, no NUL.
    void Append(uint32_t id, uint32_t shortId, std::string_view label);
    void Clear();

    size_t Count() const { return m_count; }

    // The walk: nullptr when there is no (further) record.
    const ptc_transponder_t* Head();
    const ptc_transponder_t* Next();

  private:
    struct block_t {
        std::unique_ptr<std::byte[]> data;
        size_t used = 0;
    };

    const ptc_transponder_t* At(size_t block, size_t offset) const;

    std::vector<block_t> m_blocks;
    size_t m_count = 0;
    size_t m_cursorBlock = 0;
    size_t m_cursorOffset = 0;
    bool m_walking = false;
};
