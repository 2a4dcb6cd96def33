#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CanMessage.h"

// A named list of CAN messages sent one after another, `tbm` seconds apart.
class CCanMessageSequence {
  public:
    static constexpr double kDefaultTimeBetweenMessages = 1.0;

    virtual ~CCanMessageSequence() = default;

    // Reads the messagesequence element at the document's current position,
    // where the position is left. On false the sequence holds no messages and
    // GetErrorText tells why.
    bool Read(CXmlDocument& document);

    const std::string& GetName() const { return m_name; }
    double GetTimeBetweenMessages() const { return m_timeBetweenMessages; }
    int GetMessageCount() const { return static_cast<int>(m_messages.size()); }
    // nullptr for an index out of range.
    const CCanMessage* GetMessage(int index) const;
    const std::string& GetErrorText() const { return m_errorText; }

  private:
    void ReadTimeBetweenMessages(CXmlDocument& document);
    bool ReadMessages(CXmlDocument& document);

    std::string m_name;
    double m_timeBetweenMessages = kDefaultTimeBetweenMessages;
    std::vector<std::unique_ptr<CCanMessage>> m_messages;
    std::string m_errorText;
};
