#pragma once

#include <string>
#include <string_view>

// Character data with its references decoded: &#65; &#x41; and the named
// references. A '&' that begins no reference, names an unknown entity, or
// stands for a character Windows-1252 lacks stays a literal '&'.
std::string DecodeXmlReferences(std::string_view text);
