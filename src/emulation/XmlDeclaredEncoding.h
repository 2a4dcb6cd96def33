#pragma once

#include <string>
#include <string_view>

// The encoding a document names in its first bytes: the "encoding" of a
// leading XML declaration, or the charset of an HTML
// <meta http-equiv="Content-Type" content="text/html; charset=..."> element.
// Empty when it names none.
std::string FindDeclaredEncoding(std::string_view head);
