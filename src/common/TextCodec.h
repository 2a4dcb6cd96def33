#pragma once

#include <QString>
#include <string>

// The one boundary between the program's Windows-1252 texts and Qt's strings.
QString FromWindows1252(const std::string& text);
std::string ToWindows1252(const QString& text);
