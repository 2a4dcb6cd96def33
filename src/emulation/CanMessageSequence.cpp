#include "CanMessageSequence.h"

#include "NumberText.h"
#include "XmlDocument.h"

bool CCanMessageSequence::Read(CXmlDocument& document)
{
    m_name = document.GetAttribute("name");
    if (m_name.empty()) {
        m_errorText =
            "XML is not fomatted right, 'messagesequence' without name or no 'messagesequence' element "
            "found";
        return false;
    }
    document.EnterElement();
    ReadTimeBetweenMessages(document);
    const bool ok = ReadMessages(document);
    document.LeaveElement();
    return ok;
}

// Only the first tbm counts. Messages are read after it: the position is
// deliberately not rewound, so canmessage elements before it are skipped.
void CCanMessageSequence::ReadTimeBetweenMessages(CXmlDocument& document)
{
    if (!document.FindElement("tbm"))
        return;
    const double seconds = ParseRealText(document.GetText());
    if (seconds >= kDefaultTimeBetweenMessages)
        m_timeBetweenMessages = seconds;
}

bool CCanMessageSequence::ReadMessages(CXmlDocument& document)
{
    while (document.FindElement("canmessage")) {
        auto message = std::make_unique<CCanMessage>();
        if (!message->Read(document)) {
            m_errorText = message->GetErrorText() + " (canmessage #" + std::to_string(m_messages.size() + 1) +
                          " in messagesequence: '" + m_name + "')";
            m_messages.clear();
            return false;
        }
        m_messages.push_back(std::move(message));
    }
    return true;
}

const CCanMessage* CCanMessageSequence::GetMessage(int index) const
{
    if (index < 0 || index >= GetMessageCount())
        return nullptr;
    return m_messages[index].get();
}
