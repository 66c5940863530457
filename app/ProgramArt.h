#pragma once
// The program's own pictures, embedded from resources/app (drawn by make_art.py there).

#include "platform/ImageList.h"

#include <QIcon>
#include <QPixmap>

namespace app {

// The program's icon, 16, 24, 32 and 48 pixels.
QIcon programIcon();
// The About window's logo, 350 x 285.
QPixmap aboutLogo();
// The frame's seven 32 x 32 button pictures, positions 1 to 7.
platform::ImageList buttonPictures();

} // namespace app
