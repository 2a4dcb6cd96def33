#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// One server record: what a transponder number is known as.
struct CTranslation {
    uint32_t number = 0;
    uint32_t shortId = 0; // 0 = none
    std::string label;    // Windows-1252
};

// The transponder data synchronised from the server, in server order. Lookups
// give the first record with a number, as a walk from the head would, but
// through an index: the list may hold the server's whole fleet while the event
// path looks up every report.
class CTranslationList {
  public:
    void RemoveAll();
    void AddTail(CTranslation translation);
    size_t GetCount() const { return m_items.size(); }
    const std::vector<CTranslation>& Items() const { return m_items; }

    // A copy of the first record with `number`; false when there is none.
    bool FindTranslation(uint32_t number, CTranslation& translation) const;

  private:
    std::vector<CTranslation> m_items;
    std::unordered_map<uint32_t, size_t> m_firstByNumber;
};
