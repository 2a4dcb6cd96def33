#include "CanMessages.h"

#include "XmlDocument.h"

bool CCanMessages::Load(const std::string& path)
{
    m_filePath = path;
    m_sequences.clear();
    m_errorText.clear();
    CXmlDocument document;
    if (!document.LoadFile(path)) {
        m_errorText = "Error loading can message file: " + document.GetErrorText();
        return false;
    }
    if (!document.FindElement("loopemulator")) {
        m_errorText = "XML is not fomatted right, element 'loopemulator' not found";
        return false;
    }
    document.EnterElement();
    const bool ok = ReadSequences(document);
    document.LeaveElement();
    return ok;
}

bool CCanMessages::ReadSequences(CXmlDocument& document)
{
    while (document.FindElement("messagesequence")) {
        auto sequence = std::make_unique<CCanMessageSequence>();
        if (!sequence->Read(document)) {
            m_errorText = sequence->GetErrorText() + " (messagesequence #" +
                          std::to_string(m_sequences.size() + 1) + ")";
            m_sequences.clear();
            return false;
        }
        m_sequences.push_back(std::move(sequence));
    }
    return true;
}

const CCanMessageSequence* CCanMessages::GetSequence(int index) const
{
    if (index < 0 || index >= GetSequenceCount())
        return nullptr;
    return m_sequences[index].get();
}
