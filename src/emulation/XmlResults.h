#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The outcome of one load: an ordered list of named items with attributes,
// kept as the text of one empty XML element per item. The list is capped so
// that a file with thousands of problems cannot grow it without bound.
class CXmlResults {
  public:
    static constexpr size_t kTextLimit = 1000;

    using Attributes = std::vector<std::pair<std::string, std::string>>;
    struct Item {
        std::string name;
        Attributes attributes;
        std::string Attribute(const std::string& attributeName) const;
    };

    void Clear();
    // Appends while the list's text is shorter than kTextLimit; later items are dropped.
    void Add(std::string name, Attributes attributes = {});

    const std::vector<Item>& Items() const { return m_items; }
    bool Has(const std::string& name) const;
    // The list as text: <name attr="value"/> per item.
    const std::string& Text() const { return m_text; }
    // The readable one-line description; only the first parse problem is told.
    std::string ErrorText() const;

  private:
    std::vector<Item> m_items;
    std::string m_text;
};
