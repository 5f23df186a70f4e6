// The files of the sound capture on this desktop: where the recorded sound lives,
// and the dot plot written as a PNG picture. Qt-free to include, so that the
// command-line tool can use it.
#pragma once

#include <string>

#include "platform/Bitmap.h"

// The file that every capture pass rewrites and the display reads: the variable
// KAVELIN_RECORD_FILE when it is set and not empty, otherwise record.wav in the
// program's folder of the user's data location. Its folder is made when missing.
std::string RecordFileName();

// Writes the bitmap as a PNG file, whole or not at all. Raises EFileError.
void SaveBitmapAsPng(const TBitmap& bitmap, const std::string& fileName);
