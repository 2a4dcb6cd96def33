#pragma once

#include <QPixmap>

// The maker's logo of the About page, 251 x 68 pixels.
QPixmap DrawAboutLogo();
