#include "TranslationList.h"

#include <utility>

void CTranslationList::RemoveAll()
{
    m_items.clear();
    m_firstByNumber.clear();
}

void CTranslationList::AddTail(CTranslation translation)
{
    // emplace keeps an existing entry, so the index always names the first.
    m_firstByNumber.emplace(translation.number, m_items.size());
    m_items.push_back(std::move(translation));
}

bool CTranslationList::FindTranslation(uint32_t number, CTranslation& translation) const
{
    const auto found = m_firstByNumber.find(number);
    if (found == m_firstByNumber.end())
        return false;
    translation = m_items[found->second];
    return true;
}
