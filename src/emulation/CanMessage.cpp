#include "CanMessage.h"

#include <cstdio>

#include "NumberText.h"
#include "XmlDocument.h"

namespace {

constexpr int kMaxTwoWayId = 63;
constexpr int32_t kMaxCanId = 0xFFFF;

// The text of the first child named `name`; the children are searched from
// the start and the position is rewound afterwards.
bool FindChildText(CXmlDocument& document, const char* name, std::string& text)
{
    const bool found = document.FindElement(name);
    if (found)
        text = document.GetText();
    document.RestartChildren();
    return found;
}

} // namespace

bool CCanMessage::Read(CXmlDocument& document)
{
    const std::string name = document.GetAttribute("name");
    if (!name.empty())
        m_name = name;
    document.EnterElement();
    ReadFields(document);
    document.LeaveElement();
    return Validate();
}

void CCanMessage::ReadFields(CXmlDocument& document)
{
    std::string text;
    if (FindChildText(document, "twowayid", text))
        m_twoWayId = static_cast<uint8_t>(ParseDecimalText(text));
    if (FindChildText(document, "rtr", text))
        m_rtr = ParseDecimalText(text);
    if (FindChildText(document, "canid", text))
        m_canId = ParseHexText(text);
    while (document.FindElement("data"))
        m_data.push_back(static_cast<uint8_t>(ParseHexText(document.GetText())));
}

bool CCanMessage::Validate()
{
    char text[64];
    if (m_canId == kCanIdNotSet)
        m_errorText = "CAN id not set";
    else if (m_twoWayId == kTwoWayIdNotSet)
        m_errorText = "2-Way id not set";
    else if (m_rtr == 0 && m_data.empty())
        m_errorText = "No data while RTR is zero";
    else if (m_twoWayId == 0 || m_twoWayId > kMaxTwoWayId)
        m_errorText = (std::snprintf(text, sizeof(text), "Invalid 2-way id: %d", m_twoWayId), text);
    else if (m_canId <= 0 || m_canId > kMaxCanId)
        m_errorText =
            (std::snprintf(text, sizeof(text), "Invalid Can id: %X", static_cast<uint32_t>(m_canId)), text);
    else
        return true;
    return false;
}
