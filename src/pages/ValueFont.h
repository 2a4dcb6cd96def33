#pragma once

#include <QFont>

// The large bold face of the pages' value fields: "Calibri" with a cell height
// (ascent plus descent) of 25 pixels.
QFont CreateValueFont();
