// Picture files for the tests and benchmarks of picture reading, of the analysis
// and of the transform: bitmap files written from known pixels in every common
// encoding, ImageMagick's decoding as an independent reference, and a picture
// reader built on ImageMagick for the engine tests, which run without Qt.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/File_Io.h"
#include "platform/Bitmap.h"
#include "platform/Picture_Reader.h"

namespace picture_fixtures {

// A folder of its own for this process's files, made on first use and removed
// when the process ends.
inline std::string TempDir() {
    struct TFolder {
        std::filesystem::path fPath = std::filesystem::temp_directory_path() /
                                      ("kavelin_pictures_" + std::to_string(::getpid()));
        TFolder() { std::filesystem::create_directories(fPath); }
        ~TFolder() {
            std::error_code ignored;
            std::filesystem::remove_all(fPath, ignored);
        }
    };
    static const TFolder folder;
    return folder.fPath.string();
}

inline std::string WriteTemp(const std::string& name, const std::string& bytes) {
    const std::string path = TempDir() + "/" + name;
    WriteFileAtomically(path, bytes);
    return path;
}

// Runs a shell command and gives its standard output; throws when it fails.
inline std::string Shell(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    std::string out;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    if (pclose(pipe) != 0) throw std::runtime_error("failed: " + command);
    return out;
}

// ImageMagick's decoding of a picture file, transparent parts over white.
inline TBitmap MagickDecode(const std::string& path) {
    const std::string ppm = Shell(
        "convert '" + path + "' -background white -alpha remove -strip -depth 8 ppm:- 2>/dev/null");
    // P6, width, height, 255, one white space, then the RGB samples.
    size_t at = 0;
    auto field = [&] {
        while (at < ppm.size() &&
               (ppm[at] == ' ' || ppm[at] == '\n' || ppm[at] == '\r' || ppm[at] == '\t'))
            ++at;
        const size_t start = at;
        while (at < ppm.size() &&
               !(ppm[at] == ' ' || ppm[at] == '\n' || ppm[at] == '\r' || ppm[at] == '\t'))
            ++at;
        return ppm.substr(start, at - start);
    };
    if (field() != "P6") throw std::runtime_error("not a PPM picture from " + path);
    const int width = std::stoi(field()), height = std::stoi(field());
    field();
    ++at;
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, at += 3)
            bitmap.SetPixel(
                x, y,
                RGBColour(static_cast<uint8_t>(ppm[at]), static_cast<uint8_t>(ppm[at + 1]),
                          static_cast<uint8_t>(ppm[at + 2])));
    return bitmap;
}

// The picture reader of the engine tests: ImageMagick decodes the bytes.
class TMagickPictureReader : public IPictureReader {
  public:
    TMagickPictureReader() { SetPictureReader(this); }
    ~TMagickPictureReader() override { SetPictureReader(nullptr); }
    TBitmap Decode(const std::string& bytes, TPictureFormat format) override {
        const char* extension = format == TPictureFormat::Png    ? "png"
                                : format == TPictureFormat::Gif  ? "gif"
                                : format == TPictureFormat::Icon ? "ico"
                                                                 : "bmp";
        const std::string path = WriteTemp(std::string("decode.") + extension, bytes);
        try {
            return MagickDecode(path);
        } catch (const std::exception& e) {
            throw EFileError(e.what());
        }
    }
};

// The message of the EFileError that reading `path` raises, or "" when it reads.
inline std::string ReadError(const std::string& path) {
    try {
        ReadPictureFile(path);
    } catch (const EFileError& e) {
        return e.what();
    }
    return "";
}

// The largest difference of one channel between two pictures of the same size
// (-1 when the sizes differ), and the mean difference per channel.
struct TPictureDifference {
    int fMax = -1;
    double fMean = 0;
};
inline TPictureDifference Difference(const TBitmap& a, const TBitmap& b) {
    TPictureDifference d;
    if (a.Width() != b.Width() || a.Height() != b.Height()) return d;
    d.fMax = 0;
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            for (int shift = 0; shift < 24; shift += 8) {
                const int diff = std::abs(static_cast<int>((a.Pixel(x, y) >> shift) & 0xFF) -
                                          static_cast<int>((b.Pixel(x, y) >> shift) & 0xFF));
                d.fMax = std::max(d.fMax, diff);
                sum += diff;
            }
    d.fMean = sum / (3.0 * a.Width() * a.Height());
    return d;
}

// ---- bitmap files written by hand, in the encodings that ImageMagick does not write ----

enum class TBmpEncoding {
    Mono1,         // 1 bit, palette of 2
    Palette4,      // 4 bits, palette of 16
    Palette8,      // 8 bits, palette of 256
    Rle4,          // 4 bits, run-length encoded
    Rle8,          // 8 bits, run-length encoded
    Rgb555,        // 16 bits without masks: 5 bits a channel
    Bitfields565,  // 16 bits with masks 5-6-5
    Rgb24,
    Rgb24TopDown,  // rows stored from the top (negative height)
    Rgb32,         // 32 bits without masks; the fourth byte is 0 and means nothing
    Argb32V5,      // 32 bits with an alpha mask in a version 5 header
    Rgb24V4,       // version 4 header
    Os2Rgb24,      // OS/2 1.x header, 16-bit sizes
    Os2Palette8,   // OS/2 1.x header, palette of 3-byte entries
};

inline void PutU16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void PutU32(std::string& s, uint32_t v) {
    PutU16(s, v & 0xFFFF);
    PutU16(s, v >> 16);
}

// The colours of a picture, in order of first appearance.
inline std::vector<TColor> PaletteOf(const TBitmap& b) {
    std::vector<TColor> palette;
    for (TColor c : b.Pixels()) {
        bool known = false;
        for (TColor p : palette) known = known || p == c;
        if (!known) palette.push_back(c);
    }
    return palette;
}

inline int IndexOf(const std::vector<TColor>& palette, TColor c) {
    for (size_t i = 0; i < palette.size(); ++i)
        if (palette[i] == c) return static_cast<int>(i);
    return 0;
}

// The file of `pixels` in `encoding`. Palette encodings need at most as many
// colours as they hold; the 16-bit ones keep only the high bits of each channel
// (use channels of 0 and 255 to compare exactly).
inline std::string EncodeBmp(const TBitmap& pixels, TBmpEncoding encoding) {
    using E = TBmpEncoding;
    const int w = pixels.Width(), h = pixels.Height();
    const bool os2 = encoding == E::Os2Rgb24 || encoding == E::Os2Palette8;
    int bits = 24;
    uint32_t compression = 0;
    switch (encoding) {
        case E::Mono1:
            bits = 1;
            break;
        case E::Palette4:
            bits = 4;
            break;
        case E::Palette8:
        case E::Os2Palette8:
            bits = 8;
            break;
        case E::Rle4:
            bits = 4, compression = 2;
            break;
        case E::Rle8:
            bits = 8, compression = 1;
            break;
        case E::Rgb555:
            bits = 16;
            break;
        case E::Bitfields565:
            bits = 16, compression = 3;
            break;
        case E::Rgb32:
            bits = 32;
            break;
        case E::Argb32V5:
            bits = 32, compression = 3;
            break;
        default:
            break;
    }
    std::vector<TColor> palette;
    if (bits <= 8) {
        palette = PaletteOf(pixels);
        palette.resize(size_t{1} << bits, 0);
    }
    const auto index = [&](int x, int y) { return IndexOf(palette, pixels.Pixel(x, y)); };

    // Pixel data, rows from the bottom unless top-down.
    std::string data;
    if (compression == 1 || compression == 2) {
        for (int row = h - 1; row >= 0; --row) {
            int x = 0;
            if (row == h - 1 && w >= 4) {
                // The first row stored starts in absolute mode: 4 pixels as they are.
                data += '\0';
                data += '\4';
                if (compression == 1) {
                    for (int i = 0; i < 4; ++i) data += static_cast<char>(index(i, row));
                } else {
                    data += static_cast<char>(index(0, row) << 4 | index(1, row));
                    data += static_cast<char>(index(2, row) << 4 | index(3, row));
                }
                // Absolute runs end on a 16-bit boundary.
                if (data.size() % 2) data += '\0';
                x = 4;
            }
            while (x < w) {
                int run = 1;
                while (x + run < w && run < 255 && index(x + run, row) == index(x, row)) ++run;
                if (compression == 2 && run == 1 && x + 1 < w) {
                    // A 4-bit run of two colours in turn: the high nibble, then the low.
                    const int a = index(x, row), b = index(x + 1, row);
                    run = 2;
                    while (x + run < w && run < 255 && index(x + run, row) == (run % 2 ? b : a))
                        ++run;
                    data += static_cast<char>(run);
                    data += static_cast<char>(a << 4 | b);
                    x += run;
                    continue;
                }
                data += static_cast<char>(run);
                data += static_cast<char>(compression == 1 ? index(x, row) : index(x, row) * 17);
                x += run;
            }
            data += '\0';
            data += row == 0 ? '\1' : '\0';  // end of the bitmap, or of the line
        }
    } else {
        const int rowBytes = (w * bits + 31) / 32 * 4;
        for (int i = 0; i < h; ++i) {
            const int y = encoding == E::Rgb24TopDown ? i : h - 1 - i;
            std::string row;
            uint32_t acc = 0;
            int accBits = 0;
            for (int x = 0; x < w; ++x) {
                const TColor c = pixels.Pixel(x, y);
                const uint32_t r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
                if (bits <= 8) {
                    acc = acc << bits | static_cast<uint32_t>(index(x, y));
                    accBits += bits;
                    if (accBits == 8) {
                        row += static_cast<char>(acc);
                        acc = 0, accBits = 0;
                    }
                } else if (bits == 16) {
                    PutU16(row, encoding == E::Rgb555 ? (r >> 3) << 10 | (g >> 3) << 5 | b >> 3
                                                      : (r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
                } else {
                    row += static_cast<char>(b);
                    row += static_cast<char>(g);
                    row += static_cast<char>(r);
                    if (bits == 32)
                        row += encoding == E::Argb32V5 ? (x == 0 && y == 0 ? '\0' : '\xFF') : '\0';
                }
            }
            if (accBits > 0) row += static_cast<char>(acc << (8 - accBits));
            row.resize(static_cast<size_t>(rowBytes), '\0');
            data += row;
        }
    }

    std::string header;
    if (os2) {
        PutU32(header, 12);
        PutU16(header, static_cast<uint32_t>(w));
        PutU16(header, static_cast<uint32_t>(h));
        PutU16(header, 1);
        PutU16(header, static_cast<uint32_t>(bits));
    } else {
        const uint32_t size = encoding == E::Argb32V5 ? 124 : encoding == E::Rgb24V4 ? 108 : 40;
        PutU32(header, size);
        PutU32(header, static_cast<uint32_t>(w));
        PutU32(header, static_cast<uint32_t>(encoding == E::Rgb24TopDown ? -h : h));
        PutU16(header, 1);
        PutU16(header, static_cast<uint32_t>(bits));
        PutU32(header, compression);
        PutU32(header, static_cast<uint32_t>(data.size()));
        PutU32(header, 2835);  // 72 dots per inch
        PutU32(header, 2835);
        PutU32(header, static_cast<uint32_t>(palette.size()));
        PutU32(header, 0);
        if (size > 40) {
            PutU32(header, 0x00FF0000);
            PutU32(header, 0x0000FF00);
            PutU32(header, 0x000000FF);
            PutU32(header, 0xFF000000);
            PutU32(header, 0x73524742);    // "sRGB"
            header.append(36 + 12, '\0');  // end points and gammas
            if (size == 124) {
                PutU32(header, 4);  // picture intent
                PutU32(header, 0);
                PutU32(header, 0);
                PutU32(header, 0);
            }
        } else if (compression == 3) {
            PutU32(header, 0xF800);
            PutU32(header, 0x07E0);
            PutU32(header, 0x001F);
        }
    }
    for (TColor c : palette) {
        header += static_cast<char>(BlueOf(c));
        header += static_cast<char>(GreenOf(c));
        header += static_cast<char>(RedOf(c));
        if (!os2) header += '\0';
    }
    std::string file = "BM";
    PutU32(file, static_cast<uint32_t>(14 + header.size() + data.size()));
    PutU32(file, 0);
    PutU32(file, static_cast<uint32_t>(14 + header.size()));
    return file + header + data;
}

// The same bitmap file with its 40-byte header (and the masks after it, for bit
// fields) made `size` bytes long: cut short, as the 16-byte OS/2 2.x header, or
// padded with zeros, as the 52, 56 and 64-byte ones.
inline std::string WithHeaderSize(const std::string& file, uint32_t size) {
    const size_t old = file[30] == 3 ? 52 : 40;
    std::string header = file.substr(14, old);
    header.resize(size, '\0');
    std::string sizeField;
    PutU32(sizeField, size);
    header.replace(0, 4, sizeField);
    const std::string rest = file.substr(14 + old);
    uint32_t offset = 0;
    for (int i = 3; i >= 0; --i)
        offset = offset << 8 | static_cast<uint8_t>(file[10 + static_cast<size_t>(i)]);
    std::string resized = "BM";
    PutU32(resized, static_cast<uint32_t>(14 + header.size() + rest.size()));
    PutU32(resized, 0);
    PutU32(resized, offset - static_cast<uint32_t>(old) + size);
    return resized + header + rest;
}

// A test picture of 13 x 6 pixels (odd width, so rows are padded) made of runs and
// single pixels of the first `colours` colours of a fixed list whose channels are
// 0 or 255 for the first eight.
inline TBitmap TestPattern(int colours) {
    static const TColor list[] = {clWhite,  clBlack,  clRed,    clLime,   clBlue,   clYellow,
                                  0xFF00FF, 0xFFFF00, 0x808080, 0xC0C0C0, 0x000080, 0x008000,
                                  0x800000, 0x008080, 0x800080, 0x123456};
    TBitmap b(13, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 13; ++x) {
            const int run = x < 5 ? 0 : (x * 7 + y * 3) % 16;  // a run of 5, then mixed pixels
            b.SetPixel(x, y, list[(run + y) % colours]);
        }
    return b;
}

}  // namespace picture_fixtures
