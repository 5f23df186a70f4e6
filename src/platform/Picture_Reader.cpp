#include "platform/Picture_Reader.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

// libjpeg's headers expect <cstdio> first and declare plain C functions.
#include <jerror.h>
#include <jpeglib.h>

#include "base/Ascii.h"
#include "base/Errors.h"
#include "base/File_Io.h"

namespace {

IPictureReader* gReader = nullptr;

std::string LowerExtension(const std::string& fileName) {
    const size_t slash = fileName.find_last_of("/\\");
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return AsciiLowerCase(std::string_view(fileName).substr(dot));
}

// ---- JPEG through libjpeg ----
//
// libjpeg reports a fatal error by calling error_exit, which must not return; it
// leaves through longjmp to the phase that called libjpeg. Each phase below is a
// small function that holds no object with a destructor, so the jump skips none;
// the bitmap and the decompressor's cleanup belong to DecodeJpeg, whose frame a
// jump never crosses.

struct TJpegErrors {
    jpeg_error_mgr fManager;  // first, so that libjpeg's pointer is ours too
    std::jmp_buf fJump;
    char fMessage[2 * JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegFail(j_common_ptr info) {
    auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
    if (errors->fManager.msg_code == JERR_BAD_PRECISION)
        std::snprintf(errors->fMessage, sizeof errors->fMessage,
                      "JPEG pictures with %d-bit samples are not supported (only 8-bit ones)",
                      errors->fManager.msg_parm.i[0]);
    else
        errors->fManager.format_message(info, errors->fMessage);
    std::longjmp(errors->fJump, 1);
}

// Warnings (level -1) that mean the data is cut short or damaged end the decoding
// like errors: libjpeg would go on and fill the rest of the picture with grey.
// Other warnings (extra bytes between markers, unusual JFIF versions) are harmless.
void JpegMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    const int code = info->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC) {
        auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
        char reason[JMSG_LENGTH_MAX];
        errors->fManager.format_message(info, reason);
        std::snprintf(errors->fMessage, sizeof errors->fMessage,
                      "the file is truncated or corrupt (%s)", reason);
        std::longjmp(errors->fJump, 1);
    }
    ++info->err->num_warnings;
}

bool ReadJpegHeader(jpeg_decompress_struct& info, TJpegErrors& errors, const std::string& bytes) {
    if (setjmp(errors.fJump)) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    return true;
}

// Turns one decoded row (output_components samples a pixel) into colours.
void PackJpegRow(const jpeg_decompress_struct& info, const JSAMPLE* row, TColor* target) {
    const JDIMENSION width = info.output_width;
    if (info.out_color_space == JCS_GRAYSCALE) {
        for (JDIMENSION x = 0; x < width; ++x) target[x] = RGBColour(row[x], row[x], row[x]);
    } else if (info.out_color_space == JCS_CMYK) {
        // Files with an Adobe marker (as Photoshop and libjpeg write them) store
        // inverted inks: 255 is no ink. Others store plain inks.
        const bool inverted = info.saw_Adobe_marker;
        for (JDIMENSION x = 0; x < width; ++x, row += 4) {
            int c = row[0], m = row[1], y = row[2], k = row[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            target[x] = RGBColour(static_cast<uint8_t>((c * k + 127) / 255),
                                  static_cast<uint8_t>((m * k + 127) / 255),
                                  static_cast<uint8_t>((y * k + 127) / 255));
        }
    } else {
        for (JDIMENSION x = 0; x < width; ++x, row += 3)
            target[x] = RGBColour(row[0], row[1], row[2]);
    }
}

bool DecompressJpeg(jpeg_decompress_struct& info, TJpegErrors& errors, TBitmap& bitmap) {
    if (setjmp(errors.fJump)) return false;
    jpeg_start_decompress(&info);
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * info.output_components, 1);
    while (info.output_scanline < info.output_height) {
        const int32_t y = static_cast<int32_t>(info.output_scanline);
        jpeg_read_scanlines(&info, rows, 1);
        PackJpegRow(info, rows[0], bitmap.ScanLine(y));
    }
    jpeg_finish_decompress(&info);
    return true;
}

class TJpegDecompressor {
  public:
    TJpegDecompressor() {
        fInfo.err = jpeg_std_error(&fErrors.fManager);
        fErrors.fManager.error_exit = JpegFail;
        fErrors.fManager.emit_message = JpegMessage;
    }
    // Safe whether or not ReadJpegHeader got as far as creating the decompressor:
    // without its memory manager there is nothing to release.
    ~TJpegDecompressor() { jpeg_destroy_decompress(&fInfo); }
    TJpegDecompressor(const TJpegDecompressor&) = delete;
    TJpegDecompressor& operator=(const TJpegDecompressor&) = delete;

    jpeg_decompress_struct fInfo{};
    TJpegErrors fErrors{};
};

// ---- bitmap headers ----

uint32_t ReadU16(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8);
}
uint32_t ReadU32(const std::string& b, size_t at) {
    return ReadU16(b, at) | (ReadU16(b, at + 2) << 16);
}

constexpr uint32_t kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

}  // namespace

const char* PictureFormatName(TPictureFormat format) {
    switch (format) {
        case TPictureFormat::Bitmap:
            return "bitmap";
        case TPictureFormat::Jpeg:
            return "JPEG";
        case TPictureFormat::Icon:
            return "icon";
        case TPictureFormat::Png:
            return "PNG";
        case TPictureFormat::Gif:
            return "GIF";
    }
    return "picture";
}

std::optional<TPictureFormat> PictureFormatOf(const std::string& fileName) {
    const std::string extension = LowerExtension(fileName);
    if (extension == ".bmp" || extension == ".dib") return TPictureFormat::Bitmap;
    if (extension == ".jpg" || extension == ".jpeg" || extension == ".jpe" || extension == ".jfif")
        return TPictureFormat::Jpeg;
    if (extension == ".ico") return TPictureFormat::Icon;
    if (extension == ".png") return TPictureFormat::Png;
    if (extension == ".gif") return TPictureFormat::Gif;
    return std::nullopt;
}

void SetPictureReader(IPictureReader* reader) {
    gReader = reader;
}

TBitmap DecodeJpeg(const std::string& bytes) {
    TJpegDecompressor jpeg;
    jpeg_decompress_struct& info = jpeg.fInfo;
    if (!ReadJpegHeader(info, jpeg.fErrors, bytes)) throw EFileError(jpeg.fErrors.fMessage);
    if (info.arith_code) throw EFileError("arithmetic-coded JPEG pictures are not supported");
    switch (info.jpeg_color_space) {
        case JCS_GRAYSCALE:
            info.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            info.out_color_space = JCS_CMYK;
            break;
        case JCS_RGB:
        case JCS_YCbCr:
            info.out_color_space = JCS_RGB;
            break;
        default:
            throw EFileError("JPEG pictures with " + std::to_string(info.num_components) +
                             " colour components of unknown meaning are not supported");
    }
    const int64_t pixels = int64_t{info.image_width} * info.image_height;
    if (pixels > kMaxPicturePixels)
        throw EFileError("the picture is too large (" + std::to_string(info.image_width) + " x " +
                         std::to_string(info.image_height) + " pixels)");
    TBitmap bitmap(static_cast<int32_t>(info.image_width), static_cast<int32_t>(info.image_height));
    if (!DecompressJpeg(info, jpeg.fErrors, bitmap)) throw EFileError(jpeg.fErrors.fMessage);
    return bitmap;
}

void CheckBitmapComplete(const std::string& bytes) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        throw EFileError("not a valid bitmap (a bitmap file begins with \"BM\")");
    if (bytes.size() < 18) throw EFileError("the file is truncated: its header is incomplete");
    const uint32_t dataOffset = ReadU32(bytes, 10);
    const uint32_t headerSize = ReadU32(bytes, 14);
    if (headerSize != 12 && headerSize < 16)
        throw EFileError("not a valid bitmap (unknown header of " + std::to_string(headerSize) +
                         " bytes)");
    if (bytes.size() < 14 + static_cast<size_t>(headerSize))
        throw EFileError("the file is truncated: its header is incomplete");
    int64_t width, height;
    uint32_t bitsPerPixel, compression = 0, imageSize = 0;
    if (headerSize == 12) {  // OS/2 1.x: 16-bit sizes, never compressed
        width = ReadU16(bytes, 18);
        height = ReadU16(bytes, 20);
        bitsPerPixel = ReadU16(bytes, 24);
    } else {
        width = static_cast<int32_t>(ReadU32(bytes, 18));
        height = static_cast<int32_t>(ReadU32(bytes, 22));
        bitsPerPixel = ReadU16(bytes, 28);
        if (headerSize >= 20) compression = ReadU32(bytes, 30);
        if (headerSize >= 24) imageSize = ReadU32(bytes, 34);
    }
    if (height < 0) height = -height;  // rows stored from the top
    if (width <= 0 || height == 0)
        throw EFileError("not a valid bitmap (size " + std::to_string(width) + " x " +
                         std::to_string(height) + ")");
    if (width * height > kMaxPicturePixels)
        throw EFileError("the picture is too large (" + std::to_string(width) + " x " +
                         std::to_string(height) + " pixels)");
    int64_t dataSize;
    if (compression == 0 || compression == kBiBitfields || compression == kBiAlphaBitfields)
        dataSize = (width * bitsPerPixel + 31) / 32 * 4 * height;  // rows padded to 4 bytes
    else if (compression == kBiRle8 || compression == kBiRle4)
        dataSize = imageSize;  // the compressed size, which the header must give
    else
        return;  // other encodings: the reader says whether it knows them
    const int64_t end = int64_t{dataOffset} + dataSize;
    if (end > static_cast<int64_t>(bytes.size()))
        throw EFileError("the file is truncated: its pixel data ends at byte " +
                         std::to_string(end) + " but the file holds " +
                         std::to_string(bytes.size()) + " bytes");
}

TBitmap ReadPictureFile(const std::string& fileName) {
    const std::string prefix = "Cannot read the picture \"" + fileName + "\": ";
    const std::optional<TPictureFormat> format = PictureFormatOf(fileName);
    if (!format) {
        const std::string extension = LowerExtension(fileName);
        throw EFileError(
            prefix +
            (extension.empty() ? std::string("the file name has no extension")
                               : "the extension \"" + extension + "\"") +
            " names no known picture format (bmp, dib, jpg, jpeg, jpe, jfif, ico, png, gif)");
    }
    const std::string bytes = ReadFileBytes(fileName);
    try {
        if (*format == TPictureFormat::Jpeg) return DecodeJpeg(bytes);
        if (*format == TPictureFormat::Bitmap) CheckBitmapComplete(bytes);
        if (!gReader)
            throw EFileError(std::string("no reader of ") + PictureFormatName(*format) +
                             " pictures is installed");
        return gReader->Decode(bytes, *format);
    } catch (const EFileError& error) {
        throw EFileError(prefix + error.what());
    }
}

void LoadPicture(IPicture& picture, const std::string& fileName) {
    picture.Bitmap() = ReadPictureFile(fileName);
}
