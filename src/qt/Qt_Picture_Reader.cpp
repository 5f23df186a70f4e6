#include "qt/Qt_Picture_Reader.h"

#include <unistd.h>
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <array>
#include <bit>
#include <cstdio>

#include "base/Errors.h"
#include "platform/Picture_Reader.h"

namespace {

QByteArray QtFormatOf(TPictureFormat format) {
    switch (format) {
        case TPictureFormat::Bitmap:
            return "bmp";
        case TPictureFormat::Icon:
            return "ico";
        case TPictureFormat::Png:
            return "png";
        case TPictureFormat::Gif:
            return "gif";
        case TPictureFormat::Jpeg:
            break;
    }
    return "jpeg";
}

// Walks the blocks of a GIF file (extensions and images, each made of sub-blocks)
// and tells whether they reach the trailer byte 3B within the file; bytes after
// the trailer do not matter.
bool GifReachesTrailer(const std::string& b) {
    size_t at = 13;  // signature and logical screen descriptor
    if (b.size() < at) return false;
    const auto colourTable = [](uint8_t flags) {
        return flags & 0x80 ? size_t{3} << ((flags & 7) + 1) : size_t{0};
    };
    at += colourTable(static_cast<uint8_t>(b[10]));
    const auto skipSubBlocks = [&] {
        while (at < b.size() && b[at] != 0) at += 1 + static_cast<uint8_t>(b[at]);
        ++at;  // the empty sub-block that ends them
    };
    while (at < b.size()) {
        const uint8_t introducer = static_cast<uint8_t>(b[at]);
        if (introducer == 0x3B) return true;
        if (introducer == 0x21) {
            at += 2;  // introducer and label
            skipSubBlocks();
        } else if (introducer == 0x2C) {
            if (at + 10 > b.size()) return false;
            at += 10 + colourTable(static_cast<uint8_t>(b[at + 9]));
            ++at;  // the LZW code size
            skipSubBlocks();
        } else {
            return false;
        }
    }
    return false;
}

uint32_t BigEndian32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
    return v;
}

// Tells whether every chunk of a PNG file (length, type, data and CRC) up to its
// IEND chunk lies within the file. libpng sets aside the length that a chunk
// claims before reading it, so a damaged length in a chunk after the image data
// would cost that much memory and seconds of work (a few hundred bytes claiming a
// text chunk of 1.6 GB) for a picture that is then shown as if whole.
bool PngChunksFit(const std::string& b) {
    size_t at = 8;  // the signature
    while (at + 8 <= b.size()) {
        if (b.compare(at + 4, 4, "IEND") == 0) return true;
        const uint64_t length = BigEndian32(b, at);
        if (length + 12 > b.size() - at) return false;
        at += 12 + static_cast<size_t>(length);
    }
    return true;  // what the last bytes lack, libpng tells
}

// One channel of a pixel of opacity `alpha` blended over white.
uint8_t OverWhite(int channel, int alpha) {
    return static_cast<uint8_t>((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

uint32_t LittleEndian32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
    return v;
}

// Qt reads bitmap headers of 12, 40, 64, 108 and 124 bytes; the 16-byte OS/2
// 2.x header and the 52 and 56-byte headers that some writers use carry no field
// that the 40-byte one lacks (the colour masks of a 52 or 56-byte header are those
// that follow a 40-byte one). Gives the file with such a header rewritten as a
// 40-byte one, the masks after it, and the pixel data's offset moved to match;
// any other file as it is.
std::string WithStandardHeader(const std::string& bytes) {
    if (bytes.size() < 18) return bytes;
    const uint32_t size = LittleEndian32(bytes, 14);
    if ((size != 16 && size != 52 && size != 56) || bytes.size() < 14 + size) return bytes;
    std::string header = bytes.substr(14, size);
    header.resize(std::max<size_t>(size, 56), '\0');
    const uint32_t compression = LittleEndian32(header, 16);
    std::string standard = header.substr(0, 40);
    standard[0] = 40;
    if (size > 40 && compression == 3) standard += header.substr(40, 12);
    const int64_t delta = static_cast<int64_t>(standard.size()) - size;
    std::string file = bytes.substr(0, 14) + standard + bytes.substr(14 + size);
    const auto put32 = [&](size_t at, int64_t v) {
        for (size_t i = 0; i < 4; ++i) file[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(2, static_cast<int64_t>(file.size()));
    put32(10, LittleEndian32(bytes, 10) + delta);
    return file;
}

// The number of bits of each channel (red, green, blue, alpha) of a bitmap file
// whose pixels are bit fields: 16-bit and 32-bit pixels, with masks or with the
// default 5-5-5 of 16-bit pixels. 8 for every other bitmap.
std::array<int, 4> BitmapChannelBits(const std::string& bytes) {
    std::array<int, 4> bits{8, 8, 8, 8};
    if (bytes.size() < 54 || LittleEndian32(bytes, 14) < 40) return bits;
    const uint32_t headerSize = LittleEndian32(bytes, 14);
    const uint32_t depth = LittleEndian32(bytes, 28) & 0xFFFF;
    const uint32_t compression = LittleEndian32(bytes, 30);
    if (depth == 16 && compression == 0) return {5, 5, 5, 8};
    if ((depth != 16 && depth != 32) || (compression != 3 && compression != 6)) return bits;
    // The masks follow a 40-byte header, or are its continuation in later ones:
    // either way they start at byte 54; the alpha mask is there from 56 bytes of
    // header on, or with the alpha bit-field encoding.
    const bool alpha = headerSize >= 56 || compression == 6;
    if (bytes.size() < (alpha ? 70u : 66u)) return bits;
    for (size_t i = 0; i < (alpha ? 4u : 3u); ++i) {
        const int n = std::popcount(LittleEndian32(bytes, 54 + 4 * i));
        if (n > 0) bits[i] = n;
    }
    return bits;
}

// Qt gives a bit-field channel of n < 8 bits as the value shifted to the top of
// the byte (31 of 5 bits reads as 248, so white is not white); the table for n
// bits restores the full range, v x 255 / (2^n - 1).
std::array<uint8_t, 256> ExpansionTable(int n) {
    std::array<uint8_t, 256> table{};
    for (int q = 0; q < 256; ++q) {
        if (n >= 8) {
            table[static_cast<size_t>(q)] = static_cast<uint8_t>(q);
        } else {
            const int v = q >> (8 - n), top = (1 << n) - 1;
            table[static_cast<size_t>(q)] = static_cast<uint8_t>((v * 255 + top / 2) / top);
        }
    }
    return table;
}

TBitmap ToBitmap(const QImage& source, const std::array<int, 4>& channelBits) {
    const bool opaque = !source.hasAlphaChannel();
    const QImage image =
        source.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    const auto red = ExpansionTable(channelBits[0]), green = ExpansionTable(channelBits[1]),
               blue = ExpansionTable(channelBits[2]), alpha = ExpansionTable(channelBits[3]);
    TBitmap bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        TColor* target = bitmap.ScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            const int a = opaque ? 255 : alpha[static_cast<size_t>(qAlpha(p))];
            target[x] = RGBColour(OverWhite(red[static_cast<size_t>(qRed(p))], a),
                                  OverWhite(green[static_cast<size_t>(qGreen(p))], a),
                                  OverWhite(blue[static_cast<size_t>(qBlue(p))], a));
        }
    }
    return bitmap;
}

// libpng writes what it found wrong to standard error itself ("libpng error:
// ..."; its warnings reach it through Qt). While one exists, an object of this
// class sends standard error to a temporary file instead, so that those lines
// can end the program's message; anything else written meanwhile is passed on.
class TLibpngLines {
  public:
    TLibpngLines() {
        std::fflush(stderr);
        fFile = std::tmpfile();
        fSaved = fFile ? ::dup(STDERR_FILENO) : -1;
        if (fSaved >= 0 && ::dup2(::fileno(fFile), STDERR_FILENO) < 0) {
            ::close(fSaved);
            fSaved = -1;
        }
    }
    ~TLibpngLines() { Finish(); }
    TLibpngLines(const TLibpngLines&) = delete;
    TLibpngLines& operator=(const TLibpngLines&) = delete;

    // Gives standard error back, and the libpng lines written since, joined in
    // parentheses after a blank (nothing when there are none).
    std::string Finish() {
        std::string kept;
        if (fSaved >= 0) {
            std::fflush(stderr);
            ::dup2(fSaved, STDERR_FILENO);
            ::close(fSaved);
            fSaved = -1;
            std::rewind(fFile);
            char buffer[1024];
            while (std::fgets(buffer, sizeof buffer, fFile)) {
                std::string line(buffer);
                if (!line.empty() && line.back() == '\n') line.pop_back();
                if (line.rfind("libpng ", 0) == 0)
                    kept += (kept.empty() ? " (" : "; ") + line;
                else
                    std::fprintf(stderr, "%s\n", line.c_str());
            }
            if (!kept.empty()) kept += ")";
        }
        if (fFile) std::fclose(fFile);
        fFile = nullptr;
        return kept;
    }

  private:
    std::FILE* fFile = nullptr;
    int fSaved = -1;
};

class TQtPictureReader : public IPictureReader {
  public:
    // A refused PNG file's message ends with what libpng said about it.
    TBitmap Decode(const std::string& bytes, TPictureFormat format) override {
        if (format != TPictureFormat::Png) return Read(bytes, format);
        TLibpngLines libpng;
        try {
            TBitmap bitmap = Read(bytes, format);
            libpng.Finish();
            return bitmap;
        } catch (const EFileError& e) {
            throw EFileError(e.what() + libpng.Finish());
        }
    }

  private:
    static TBitmap Read(const std::string& bytes, TPictureFormat format) {
        const std::string file =
            format == TPictureFormat::Bitmap ? WithStandardHeader(bytes) : bytes;
        QByteArray data = QByteArray::fromRawData(file.data(), static_cast<qsizetype>(file.size()));
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        // Only the reader of the named format is asked: a file is what its
        // extension says or it is refused.
        QImageReader reader(&buffer, QtFormatOf(format));
        reader.setAutoDetectImageFormat(false);
        reader.setDecideFormatFromContent(false);
        const std::string name = PictureFormatName(format);
        if (!reader.canRead()) throw EFileError("not a valid " + name + " file");
        // Qt shows a cut GIF file as far as it goes; a whole one reaches its
        // trailer byte 3B.
        if (format == TPictureFormat::Gif && !GifReachesTrailer(bytes))
            throw EFileError("the GIF file is truncated (its blocks do not reach the GIF trailer)");
        if (format == TPictureFormat::Png && !PngChunksFit(bytes))
            throw EFileError(
                "the PNG file is truncated or corrupt (a chunk runs past the end of the file)");
        const QSize size = reader.size();
        if (size.isValid() && int64_t{size.width()} * size.height() > kMaxPicturePixels)
            throw EFileError("the picture is too large (" + std::to_string(size.width()) + " x " +
                             std::to_string(size.height()) + " pixels)");
        const std::array<int, 4> bits = format == TPictureFormat::Bitmap
                                            ? BitmapChannelBits(file)
                                            : std::array<int, 4>{8, 8, 8, 8};
        for (int n : bits)
            if (n > 8)
                throw EFileError("bitmaps with channels of more than 8 bits are not supported");
        const QImage image = reader.read();
        if (image.isNull()) {
            if (reader.error() == QImageReader::InvalidDataError)
                throw EFileError("the " + name + " file is truncated or corrupt");
            throw EFileError("the " + name + " file cannot be decoded (" +
                             reader.errorString().toStdString() + ")");
        }
        return ToBitmap(image, bits);
    }
};

}  // namespace

IPictureReader& QtPictureReader() {
    static TQtPictureReader reader;
    return reader;
}

void InstallQtPictureReader() {
    SetPictureReader(&QtPictureReader());
}
