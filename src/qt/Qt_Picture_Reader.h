// Picture files through Qt's image readers: the bitmap, icon, PNG and GIF files
// that the platform's picture reading hands over (JPEG it decodes itself). This
// header is free of Qt.
#pragma once

#include "platform/Picture_Reader.h"

// Qt's image readers, one reader for the whole program.
IPictureReader& QtPictureReader();

// Installs QtPictureReader as the program's picture reader (SetPictureReader);
// the windows call it once at start-up.
void InstallQtPictureReader();
