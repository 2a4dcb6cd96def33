#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CanMessageSequence.h"

// Everything read from one LoopEmulator.xml: the CAN message sequences the
// emulation page can send.
class CCanMessages {
  public:
    virtual ~CCanMessages() = default;

    // Reads the file at `path`. True when the whole file was read and every
    // message is valid; on false nothing is kept and GetErrorText tells the
    // first failure on one line.
    bool Load(const std::string& path);

    const std::string& GetFilePath() const { return m_filePath; }
    int GetSequenceCount() const { return static_cast<int>(m_sequences.size()); }
    // nullptr for an index out of range.
    const CCanMessageSequence* GetSequence(int index) const;
    const std::string& GetErrorText() const { return m_errorText; }

  private:
    bool ReadSequences(CXmlDocument& document);

    std::string m_filePath;
    std::vector<std::unique_ptr<CCanMessageSequence>> m_sequences;
    std::string m_errorText;
};
