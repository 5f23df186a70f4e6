// Fuzz entry of the picture reader: a picture file of each format, chosen by its
// extension as the program chooses it. Bitmaps, icons, PNG and GIF files need the
// windowing layer's reader installed (InstallQtPictureReader); without it only
// JPEG files and the completeness check of bitmaps are exercised.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "Fuzz_Support.h"
#include "base/Errors.h"
#include "base/File_Io.h"
#include "platform/Picture_Reader.h"

// The extension that the first byte of a fuzz input gives its picture file.
inline const char* FuzzPictureExtension(unsigned char selector) {
    static const char* const extensions[] = {".bmp", ".jpg", ".ico", ".png", ".gif"};
    return extensions[selector % 5];
}

// The first byte chooses the format, the rest is the file's content, written to
// a file of the temporary folder and read back with ReadPictureFile. Returns
// whether the picture was read (a refused file raises EFileError, as for the
// program, and counts as not read).
inline bool FuzzPictureFile(const std::string& bytes) {
    if (bytes.empty()) return false;
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("kavelin-fuzz-" + std::to_string(getpid()) +
                                        FuzzPictureExtension(static_cast<unsigned char>(bytes[0])));
    WriteFileAtomically(file.string(), bytes.substr(1));
    bool read = false;
    try {
        const TBitmap bitmap = ReadPictureFile(file.string());
        FuzzRequire(bitmap.Width() > 0 && bitmap.Height() > 0 &&
                        int64_t{bitmap.Width()} * bitmap.Height() <= kMaxPicturePixels,
                    "a picture read has a sensible size");
        read = true;
    } catch (const EFileError&) {
    }
    std::remove(file.c_str());
    return read;
}
