// The in-memory bitmap as a Qt image, for showing it and for writing it to a
// picture file. Needs Qt's image classes only, not its widgets.
#pragma once

#include <QImage>

#include "platform/Bitmap.h"

// The bitmap as a Qt image, colour for colour.
QImage BitmapToImage(const TBitmap& bitmap);
