// The sample LoopEmulator.xml that ships beside the program, rendered as text
// and compared with the checked-in golden rendering.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "CanMessages.h"
#include "XmlDocument.h"

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Render(const CCanMessage& message)
{
    char line[96];
    std::snprintf(line, sizeof(line), "  message '%s' twowayid %d canid %X rtr %d data",
                  message.GetName().c_str(), message.GetTwoWayId(), static_cast<unsigned>(message.GetCanId()),
                  message.GetRtr() ? 1 : 0);
    std::string text = line;
    for (uint8_t byte : message.GetData()) {
        std::snprintf(line, sizeof(line), " %02X", byte);
        text += line;
    }
    return text + "\n";
}

std::string Render(const CCanMessages& messages)
{
    std::string text;
    for (int i = 0; i < messages.GetSequenceCount(); ++i) {
        const CCanMessageSequence& sequence = *messages.GetSequence(i);
        char line[96];
        std::snprintf(line, sizeof(line), "sequence '%s' tbm %g\n", sequence.GetName().c_str(),
                      sequence.GetTimeBetweenMessages());
        text += line;
        for (int m = 0; m < sequence.GetMessageCount(); ++m)
            text += Render(*sequence.GetMessage(m));
    }
    return text;
}

TEST(SampleLoopEmulator, LoadsAsTheGoldenRendering)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFile(Q9_SAMPLE_XML)) << document.GetErrorText();
    CCanMessages messages;
    ASSERT_TRUE(messages.Load(Q9_SAMPLE_XML)) << messages.GetErrorText();
    const std::string rendered = "load: " + document.GetErrorText() + "\n" + Render(messages);
    EXPECT_EQ(rendered, ReadAll(Q9_SAMPLE_GOLDEN));
}

} // namespace
