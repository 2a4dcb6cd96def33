#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CXmlDocument;

// One CAN message of a sequence in LoopEmulator.xml.
class CCanMessage {
  public:
    static constexpr int32_t kCanIdNotSet = -1;
    static constexpr uint8_t kTwoWayIdNotSet = 255;

    virtual ~CCanMessage() = default;

    // Reads and validates the canmessage element at the document's current
    // position, where the position is left. On false GetErrorText tells why.
    bool Read(CXmlDocument& document);

    const std::string& GetName() const { return m_name; }
    int32_t GetCanId() const { return m_canId; }
    uint8_t GetTwoWayId() const { return m_twoWayId; }
    bool GetRtr() const { return m_rtr != 0; }
    const std::vector<uint8_t>& GetData() const { return m_data; }
    const std::string& GetErrorText() const { return m_errorText; }

  private:
    void ReadFields(CXmlDocument& document);
    bool Validate();

    int32_t m_canId = kCanIdNotSet;
    std::string m_name;
    uint8_t m_twoWayId = kTwoWayIdNotSet;
    int32_t m_rtr = 0;
    std::vector<uint8_t> m_data;
    std::string m_errorText;
};
