#pragma once

#include <QString>

// The "%0.<decimals>f" of the C library in the "C" locale: the program's
// numbers always use a point, whatever locale the user runs under, and round
// exactly as printf does.
QString FormatFixed(double value, int decimals);
