// The picture module of the command-line tool: Qt's image readers and its PNG
// writer, built as the shared library kavelin-pictures.so, which the tool loads
// only when a subcommand reads a bitmap, icon, PNG or GIF file or writes a PNG
// file; the tool itself links no graphics library. Free of Qt.
//
// The module and the tool are built together and share the engine code (the
// module calls the tool's), so what crosses between them is C++: the reader
// object and one function.
#pragma once

#include <string>

#include "platform/Bitmap.h"
#include "platform/Picture_Reader.h"

struct TPictureModule {
    // Qt's readers of bitmap, icon, PNG and GIF files (QtPictureReader).
    IPictureReader* fReader;
    // Sets `file` to the content of a PNG file holding the bitmap; false when Qt
    // cannot encode it.
    bool (*fEncodePng)(const TBitmap& bitmap, std::string& file);
};

// The module's file name, and the name of its one exported function, which gives
// what the module holds.
constexpr const char* kPictureModuleFile = "kavelin-pictures.so";
constexpr const char* kPictureModuleEntry = "KavelinPictureModule";
extern "C" const TPictureModule* KavelinPictureModule();
