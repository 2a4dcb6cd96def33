#pragma once

#include <string>
#include <string_view>

#include "XmlResults.h"

// Turns a file's bytes into the document text, single-byte Windows-1252:
// byte order mark, declared encoding or UTF-8 detection, NUL removal, byte
// swap of big-endian 16-bit text, conversion. Each step is recorded in
// `results`.
std::string DecodeXmlText(std::string_view bytes, CXmlResults& results);
