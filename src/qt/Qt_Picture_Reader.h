// Picture files through Qt's image readers: the bitmap, icon, PNG and GIF files
// that the platform's picture reading hands over (JPEG it decodes itself). This
// header is free of Qt, so that the command-line tool can use it.
#pragma once

// Installs Qt's image readers as the program's picture reader (SetPictureReader);
// the windows and the command-line tool call it once at start-up.
void InstallQtPictureReader();
