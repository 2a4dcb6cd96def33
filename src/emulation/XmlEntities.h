#pragma once

#include <string_view>

// The named character references: those of HTML 4 plus "apos".
constexpr int kXmlEntityCount = 253;

// The code point a reference name stands for. Names match without regard to
// case, but where HTML 4 defines two case forms (Eacute, eacute) the form
// written decides.
bool FindXmlEntity(std::string_view name, char32_t& codePoint);
