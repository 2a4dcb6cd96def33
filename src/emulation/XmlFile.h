#pragma once

#include <string>

#include "XmlResults.h"

// Reads a whole file into `bytes`. A failure to open, read or close records
// "file_error" with the system's message (on one line) and number.
bool ReadXmlFile(const std::string& path, std::string& bytes, CXmlResults& results);

// Records "file_error" for the system error number `error`.
void RecordFileError(int error, CXmlResults& results);
