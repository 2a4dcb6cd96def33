#include "LabelText.h"

#include "TamrixSDK.h"
#include "Windows1252.h"

namespace {

// Controls, DEL, and the five bytes the code page leaves undefined (they
// round-trip as C1 controls).
bool IsControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 ||
           byte == 0x9D;
}

} // namespace

std::string LabelToWindows1252(const std::string& utf8, bool& altered)
{
    size_t losses = 0;
    std::string text = Utf8ToWindows1252(utf8, &losses);
    altered = losses != 0;
    for (char& c : text) {
        if (IsControl(static_cast<unsigned char>(c))) {
            c = ' ';
            altered = true;
        }
    }
    if (text.size() > PTC_LABEL_MAX) {
        text.resize(PTC_LABEL_MAX);
        altered = true;
    }
    return text;
}
