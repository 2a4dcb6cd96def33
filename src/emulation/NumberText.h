#pragma once

#include <cstdint>
#include <string_view>

// Number parsing for the values of LoopEmulator.xml, with the leniency of the
// C library's atoi, strtol and atof (leading blanks, an optional sign, parsing
// stops at the first other character, no digits gives 0) but independent of
// the locale and without undefined behaviour on overflow: results saturate
// at the limits of a 32-bit value.

// Like atoi.
int32_t ParseDecimalText(std::string_view text);
// Like strtol with base 16: an optional "0x" prefix is accepted.
int32_t ParseHexText(std::string_view text);
// Like atof, in decimal ("2.5", "-1e3") or hexadecimal ("0x10", "0x1p4")
// notation; 0 for what is not a finite number.
double ParseRealText(std::string_view text);
