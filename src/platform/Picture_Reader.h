// Picture files: reading them into bitmaps, and loading them into picture
// controls.
//
// The format follows from the file name's extension, in any letter case:
//   .bmp .dib               bitmap
//   .jpg .jpeg .jpe .jfif   JPEG, decoded here with libjpeg
//   .ico                    icon (the first picture of the file)
//   .png                    PNG
//   .gif                    GIF (the first frame)
// Bitmaps, icons, PNG and GIF files are decoded by the picture reader that the
// windowing layer installs at start-up (SetPictureReader); without one they are
// refused. A file is read as the format its extension names and nothing else, so
// a PNG file named "x.bmp" is refused as a bitmap that is not valid.
//
// Every picture, whatever its format, is read into a bitmap, so the engines read
// the pixels of any picture alike. Pictures have no transparency once read:
// transparent and translucent pixels are blended over white.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Picture.h"

enum class TPictureFormat { Bitmap, Jpeg, Icon, Png, Gif };

// "bitmap", "JPEG", "icon", "PNG" or "GIF", for messages.
const char* PictureFormatName(TPictureFormat format);

// The format that the extension of `fileName` names, if any.
std::optional<TPictureFormat> PictureFormatOf(const std::string& fileName);

// The largest picture read, in pixels (256 MB of bitmap): a damaged header that
// claims a huge size is refused before anything is allocated.
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;

// Decodes the content of picture files of the formats other than JPEG.
class IPictureReader {
  public:
    virtual ~IPictureReader() = default;
    // Decodes the whole content of a file of `format` (never Jpeg). Raises
    // EFileError whose message gives the reason only; ReadPictureFile adds the
    // file name.
    virtual TBitmap Decode(const std::string& bytes, TPictureFormat format) = 0;
};

// Installs the reader (not owned); nullptr removes it.
void SetPictureReader(IPictureReader* reader);

// The picture of a file. Raises EFileError naming the file and the reason when
// the file cannot be read, is truncated or corrupt, is not of the format its
// extension names, or has an extension that names no known format.
TBitmap ReadPictureFile(const std::string& fileName);

// Decodes a JPEG file's content: baseline and progressive, greyscale, YCbCr, RGB,
// CMYK and YCCK, 8-bit samples. 12-bit and arithmetic-coded files are refused,
// as are truncated and corrupt ones. Raises EFileError giving the reason.
TBitmap DecodeJpeg(const std::string& bytes);

// Checks that a bitmap file's content holds all the pixel data its header
// announces (a truncated bitmap would otherwise be shown with a blank end). Raises
// EFileError giving the reason.
void CheckBitmapComplete(const std::string& bytes);

// ---- picture controls ----

// The colour that a picture control shows where its loaded picture does not
// reach: the button face (F0F0F0) of the window behind it.
constexpr TColor kPictureBackground = 0xF0F0F0;

// Loads the file into the control: the control's bitmap becomes the file's
// picture, at its own size, whatever the size of the control.
void LoadPicture(IPicture& picture, const std::string& fileName);

// The colour that pixel (x, y) of a picture control reads as, given the control's
// bitmap: the bitmap's pixel where the bitmap reaches, the control's background
// colour elsewhere (a picture smaller than the control leaves the rest of the
// control showing its background).
inline TColor ControlPixel(const TBitmap& bitmap, int32_t x, int32_t y) {
    return bitmap.Contains(x, y) ? bitmap.Pixel(x, y) : kPictureBackground;
}
