#pragma once

#include <cstdint>
#include <string>

// Printed codes of devices that people know by letters and digits rather than
// by number. The alphabet "CFGHKLNPRSTVWXZ" stands for the base-15 digits 0 to
// 14. Numbers outside a rule's coded range print as plain decimal.

// A Mindlet transponder: the low 29 bits from 100663296 on print as letters,
// "-" and five digits ("CC-12345").
std::string FormatTransponderCode(uint32_t number);

// A special device such as a track sensor: a number with any of bits 25, 27 or
// 28 set prints as "P", three letters, "-" and five digits ("PCFL-00007").
std::string FormatSpecialCode(uint32_t number);
