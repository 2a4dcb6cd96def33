#include "DeafList.h"

#include <algorithm>

bool CDeafList::Hear(uint32_t number, uint32_t type, int32_t driverNumber)
{
    for (deaflist_t& entry : m_entries) {
        if (entry.number == number && entry.type == type && entry.driverNumber == driverNumber) {
            entry.remainingMs = kDeafTimeMs;
            return false;
        }
    }
    m_entries.push_back({number, type, driverNumber, kDeafTimeMs});
    return true;
}

void CDeafList::Age(int32_t elapsedMs)
{
    for (deaflist_t& entry : m_entries)
        entry.remainingMs -= elapsedMs;
    std::erase_if(m_entries, [](const deaflist_t& entry) { return entry.remainingMs < 1; });
    if (m_entries.empty())
        m_entries.shrink_to_fit(); // an empty list gives its storage back
}
