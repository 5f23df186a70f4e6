// The picture-to-points transform: the points file's lines and their order, the
// background compared exactly, the points kept from one transform to the next,
// and the failures that write nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/TransForm_Picture_To_Points_File_Unit.h"
#include "analysis/Transform_Picture_Fixtures.h"
#include "support/Trace_Capture.h"

using namespace picture_fixtures;

namespace {

const std::string kEmptyNames =
    "Erreur : Transform_Picture_To_Points_File_Unit : TTransPictureToPointsFile.Transform : At "
    "Least one of "
    "the Given FileNames is empty";

std::string PictureFile(const std::string& name, const TBitmap& b) {
    return WriteTemp(name, EncodeBmp(b, TBmpEncoding::Rgb24));
}

std::string PointsOf(const TBitmap& b) {
    const std::string destination = TempDir() + "/points.txt";
    std::filesystem::remove(destination);
    TTransPictureToPointsFile(clWhite).Transform(PictureFile("picture.bmp", b), destination);
    return ReadFileBytes(destination);
}

}  // namespace

TEST(TransformPoints, EveryPixelOtherThanTheBackgroundIsOneLineColumnByColumn) {
    TMagickPictureReader reader;
    TBitmap one(2, 2);
    one.SetPixel(1, 0, clBlack);
    EXPECT_EQ(PointsOf(one), "1 0\r\n");

    TBitmap two(2, 2);
    two.SetPixel(1, 0, clBlack);
    two.SetPixel(0, 1, clBlack);
    EXPECT_EQ(PointsOf(two), "0 1\r\n1 0\r\n");

    // One unit off white in any channel is not the background.
    TBitmap near(4, 1);
    near.SetPixel(1, 0, 0xFEFFFF);
    near.SetPixel(2, 0, 0xFFFEFF);
    near.SetPixel(3, 0, 0xFFFFFE);
    EXPECT_EQ(PointsOf(near), "1 0\r\n2 0\r\n3 0\r\n");

    EXPECT_EQ(PointsOf(TBitmap(3, 3)), "");

    TBitmap full(3, 2);
    full.Fill(clRed);
    EXPECT_EQ(PointsOf(full), "0 0\r\n0 1\r\n1 0\r\n1 1\r\n2 0\r\n2 1\r\n");

    // Any background colour, compared exactly.
    const std::string destination = TempDir() + "/on_red.txt";
    TBitmap onRed(2, 1);
    onRed.Fill(clRed);
    TTransPictureToPointsFile(clRed).Transform(PictureFile("red.bmp", onRed), destination);
    EXPECT_EQ(ReadFileBytes(destination), "");
}

TEST(TransformPoints, ASecondTransformAppendsItsPointsToTheFirst) {
    TMagickPictureReader reader;
    TBitmap first(2, 1), second(1, 2);
    first.SetPixel(0, 0, clBlack);
    second.SetPixel(0, 1, clBlack);
    TTransPictureToPointsFile transformer(clWhite);
    const std::string a = TempDir() + "/first.txt", b = TempDir() + "/second.txt";
    transformer.Transform(PictureFile("first.bmp", first), a);
    transformer.Transform(PictureFile("second.bmp", second), b);
    EXPECT_EQ(ReadFileBytes(a), "0 0\r\n");
    EXPECT_EQ(ReadFileBytes(b), "0 0\r\n0 1\r\n");
}

TEST(TransformPoints, FailuresWriteNothing) {
    TTraceCapture trace;
    TMagickPictureReader reader;
    const std::string source = PictureFile("source.bmp", TBitmap(2, 2));
    const std::string destination = TempDir() + "/never.txt";
    std::filesystem::remove(destination);
    TTransPictureToPointsFile transformer(clWhite);
    transformer.Transform("", destination);
    transformer.Transform(source, "");
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"*******ERROR*******", kEmptyNames,
                                                       "*******************", "*******ERROR*******",
                                                       kEmptyNames, "*******************"}));
    EXPECT_EQ(trace.Boxes(),
              (std::vector<std::string>{"*ERROR*" + kEmptyNames, "*ERROR*" + kEmptyNames}));
    EXPECT_FALSE(std::filesystem::exists(destination));

    EXPECT_THROW(transformer.Transform(TempDir() + "/absent.bmp", destination), EFileError);
    EXPECT_THROW(transformer.Transform(WriteTemp("picture.wmf", "metafile"), destination),
                 EFileError);
    EXPECT_FALSE(std::filesystem::exists(destination));

    // Destinations that cannot be written raise; a folder of that name stays.
    const std::string folder = TempDir() + "/a_folder";
    std::filesystem::create_directories(folder);
    EXPECT_THROW(transformer.Transform(source, folder), EFileError);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_THROW(transformer.Transform(source, TempDir() + "/no/such/folder/points.txt"),
                 EFileError);

    // The picture itself, by its own name, a link or a second name, is never
    // the destination.
    const std::string picture = ReadFileBytes(source);
    const std::string link = TempDir() + "/link.bmp", second = TempDir() + "/second.bmp";
    std::filesystem::remove(link);
    std::filesystem::remove(second);
    std::filesystem::create_symlink(source, link);
    std::filesystem::create_hard_link(source, second);
    for (const std::string& destination : {source, link, second}) {
        try {
            transformer.Transform(source, destination);
            ADD_FAILURE() << destination << " was written";
        } catch (const EFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot write file \"" + destination +
                                                 "\": it is the picture \"" + source + "\" itself");
        }
    }
    EXPECT_EQ(ReadFileBytes(source), picture);
}
