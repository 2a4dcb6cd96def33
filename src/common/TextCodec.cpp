#include "TextCodec.h"

#include "Windows1252.h"

QString FromWindows1252(const std::string& text)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text)
        out.append(QChar(static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(c)))));
    return out;
}

std::string ToWindows1252(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        unsigned char byte = '?';
        if (!UnicodeToWindows1252(c.unicode(), byte))
            byte = '?';
        out += static_cast<char>(byte);
    }
    return out;
}
