// The tool's pictures beyond JPEG: bitmap, icon, PNG and GIF files are read, and
// PNG files written, by the picture module (qt/Qt_Picture_Module.h), loaded the
// first time one is needed; a subcommand that needs neither never loads it.
#pragma once

#include <string>

#include "platform/Bitmap.h"

// Installs the picture reader that hands bitmap, icon, PNG and GIF files to the
// module (SetPictureReader). When the module cannot be loaded, reading such a
// file raises EFileError saying why.
void InstallModulePictureReader();

// Writes the bitmap as a PNG file, whole or not at all. Raises EFileError.
void SaveBitmapAsPng(const TBitmap& bitmap, const std::string& fileName);
