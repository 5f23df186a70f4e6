// Reading picture files without the windows: JPEG photographs through libjpeg
// against ImageMagick's decoding, the refusals of damaged, unsupported and
// mislabelled files, the choice of format by extension, and the check that a
// bitmap holds all its pixel data.
#include <gtest/gtest.h>

#include <string>

#include "analysis/Transform_Picture_Fixtures.h"
#include "base/Errors.h"
#include "base/File_Io.h"
#include "platform/Picture_Reader.h"
#include "support/Global_Guards.h"

using namespace picture_fixtures;

namespace {

const std::string kPhoto = std::string(KAVELIN_TEST_DATA) + "/pictures/photo.jpg";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Replaces the first occurrence of `from` in the bytes.
std::string Patched(std::string bytes, const std::string& from, const std::string& to) {
    const size_t at = bytes.find(from);
    if (at != std::string::npos) bytes.replace(at, from.size(), to);
    return bytes;
}

}  // namespace

TEST(PictureReader, JpegPhotographsMatchAnIndependentDecoder) {
    struct TCase {
        const char* fName;
        const char* fOptions;
    };
    const TCase cases[] = {
        {"baseline.jpg", ""},
        {"progressive.jpg", "-interlace Plane"},
        {"grey.jpg", "-colorspace Gray"},
        {"cmyk.jpg", "-colorspace CMYK"},
        {"full_chroma.jpg", "-sampling-factor 1x1 -quality 95"},
    };
    for (const TCase& c : cases) {
        const std::string path = TempDir() + "/" + c.fName;
        Shell("convert '" + kPhoto + "' " + c.fOptions + " '" + path + "'");
        const TBitmap ours = ReadPictureFile(path);
        EXPECT_EQ(ours.Width(), 512) << c.fName;
        EXPECT_EQ(ours.Height(), 600) << c.fName;
        const TPictureDifference d = Difference(ours, MagickDecode(path));
        // Both use libjpeg's exact integer transform; a colour conversion may round
        // one unit apart, while a wrong layout or colour space is far off.
        EXPECT_LE(d.fMax, 1) << c.fName;
        EXPECT_LT(d.fMean, 0.05) << c.fName;
    }
    const TBitmap grey = ReadPictureFile(TempDir() + "/grey.jpg");
    const TColor p = grey.Pixel(100, 100);
    EXPECT_TRUE(RedOf(p) == GreenOf(p) && GreenOf(p) == BlueOf(p));
}

TEST(PictureReader, DamagedAndUnsupportedJpegFilesAreRefused) {
    const std::string bytes = ReadFileBytes(kPhoto);

    const std::string truncated = WriteTemp("truncated.jpg", bytes.substr(0, bytes.size() / 2));
    std::string message = ReadError(truncated);
    EXPECT_TRUE(Contains(message, "\"" + truncated + "\"")) << message;
    EXPECT_TRUE(Contains(message, "truncated or corrupt")) << message;

    const std::string headerOnly = WriteTemp("header_only.jpg", bytes.substr(0, 300));
    EXPECT_FALSE(ReadError(headerOnly).empty());

    // The frame header: marker FFC0, length 17, precision 8.
    const std::string sof0("\xFF\xC0\x00\x11\x08", 5);
    ASSERT_NE(bytes.find(sof0), std::string::npos);
    message = ReadError(
        WriteTemp("twelve_bits.jpg", Patched(bytes, sof0, std::string("\xFF\xC1\x00\x11\x0C", 5))));
    EXPECT_TRUE(Contains(message, "12-bit samples are not supported")) << message;
    message = ReadError(
        WriteTemp("arithmetic.jpg", Patched(bytes, sof0, std::string("\xFF\xC9\x00\x11\x08", 5))));
    EXPECT_TRUE(Contains(message, "arithmetic-coded JPEG pictures are not supported")) << message;

    // A bitmap named as a JPEG is read as a JPEG, and is not one.
    message = ReadError(WriteTemp("bitmap.jpg", EncodeBmp(TestPattern(4), TBmpEncoding::Rgb24)));
    EXPECT_TRUE(Contains(message, "Not a JPEG file")) << message;
    EXPECT_FALSE(ReadError(WriteTemp("empty.jpeg", "")).empty());

    // A header that claims more pixels than is sensible is refused before decoding.
    const std::string huge("\xFF\xC0\x00\x11\x08\xF0\x00\xF0\x00", 9);
    message =
        ReadError(WriteTemp("huge.jpg", Patched(bytes, bytes.substr(bytes.find(sof0), 9), huge)));
    EXPECT_TRUE(Contains(message, "too large")) << message;
}

TEST(PictureReader, TheExtensionChoosesTheFormat) {
    EXPECT_EQ(PictureFormatOf("a/b.BMP"), TPictureFormat::Bitmap);
    EXPECT_EQ(PictureFormatOf("x.dib"), TPictureFormat::Bitmap);
    EXPECT_EQ(PictureFormatOf("x.JPG"), TPictureFormat::Jpeg);
    EXPECT_EQ(PictureFormatOf("x.jfif"), TPictureFormat::Jpeg);
    EXPECT_EQ(PictureFormatOf("x.ico"), TPictureFormat::Icon);
    EXPECT_EQ(PictureFormatOf("x.Png"), TPictureFormat::Png);
    EXPECT_EQ(PictureFormatOf("x.gif"), TPictureFormat::Gif);
    EXPECT_EQ(PictureFormatOf("x.wmf"), std::nullopt);
    EXPECT_EQ(PictureFormatOf("folder.jpg/picture"), std::nullopt);

    std::string message = ReadError(WriteTemp("picture.tga", "whatever"));
    EXPECT_TRUE(Contains(message, "the extension \".tga\" names no known picture format"))
        << message;
    message = ReadError(TempDir() + "/no_extension");
    EXPECT_TRUE(Contains(message, "the file name has no extension")) << message;
    message = ReadError(TempDir() + "/missing.bmp");
    EXPECT_TRUE(Contains(message, "missing.bmp")) << message;

    // The formats that Qt decodes need the installed reader.
    SetPictureReader(nullptr);
    message = ReadError(WriteTemp("alone.png", "\x89PNG"));
    EXPECT_TRUE(Contains(message, "no reader of PNG pictures is installed")) << message;

    // The reader receives the bytes and the format that the extension names.
    struct TRecordingReader : IPictureReader {
        TBitmap Decode(const std::string& bytes, TPictureFormat format) override {
            fBytes = bytes;
            fFormat = format;
            return TBitmap(3, 2);
        }
        std::string fBytes;
        TPictureFormat fFormat = TPictureFormat::Jpeg;
    } reader;
    TBitmap got;
    {
        const TPictureReaderGuard installed(&reader);
        got = ReadPictureFile(WriteTemp("icon.ICO", "icon bytes"));
    }
    EXPECT_EQ(got.Width(), 3);
    EXPECT_EQ(reader.fBytes, "icon bytes");
    EXPECT_EQ(reader.fFormat, TPictureFormat::Icon);
}

TEST(PictureReader, ABitmapMustHoldAllItsPixelData) {
    const TBitmap pattern = TestPattern(16);
    for (TBmpEncoding encoding :
         {TBmpEncoding::Rgb24, TBmpEncoding::Rgb24TopDown, TBmpEncoding::Palette4,
          TBmpEncoding::Rle8, TBmpEncoding::Os2Rgb24, TBmpEncoding::Argb32V5}) {
        const std::string file = EncodeBmp(pattern, encoding);
        EXPECT_NO_THROW(CheckBitmapComplete(file));
        EXPECT_THROW(CheckBitmapComplete(file.substr(0, file.size() - 1)), EFileError);
    }
    std::string message;
    try {
        CheckBitmapComplete(EncodeBmp(pattern, TBmpEncoding::Rgb24).substr(0, 100));
    } catch (const EFileError& e) {
        message = e.what();
    }
    EXPECT_TRUE(Contains(message, "truncated")) << message;
    EXPECT_THROW(CheckBitmapComplete("BM"), EFileError);
    EXPECT_THROW(CheckBitmapComplete("\x89PNG\r\n\x1A\n and more bytes than a header"), EFileError);
    // 60000 x 60000 pixels in a header of an otherwise tiny file.
    std::string huge = EncodeBmp(pattern, TBmpEncoding::Rgb24);
    huge.replace(18, 8, std::string("\x60\xEA\x00\x00\x60\xEA\x00\x00", 8));
    message.clear();
    try {
        CheckBitmapComplete(huge);
    } catch (const EFileError& e) {
        message = e.what();
    }
    EXPECT_TRUE(Contains(message, "too large")) << message;
}

TEST(PictureReader, ControlPixelsBeyondThePictureShowTheBackground) {
    TMemoryPicture control(10, 8);
    TBitmap small(4, 3);
    small.Fill(clRed);
    control.Bitmap() = small;
    EXPECT_EQ(ControlPixel(control.Bitmap(), 3, 2), clRed);
    EXPECT_EQ(ControlPixel(control.Bitmap(), 4, 2), kPictureBackground);
    EXPECT_EQ(ControlPixel(control.Bitmap(), 9, 7), kPictureBackground);
    // The background is the button face the windows show.
    EXPECT_EQ(kPictureBackground, ResolvePixelColour(clBtnFace));

    LoadPicture(control, kPhoto);
    EXPECT_EQ(control.Bitmap().Width(), 512);
    EXPECT_EQ(control.Width(), 10);
}
