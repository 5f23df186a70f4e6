// kavelin-cli points and analyse as a script runs them: real picture files, the
// trace on standard output, the outlined picture, and the failures.
#include <gtest/gtest.h>

#include <map>

#include "analysis/Transform_Picture_Fixtures.h"
#include "base/Line_List.h"
#include "cli/Cli_Run.h"

using namespace picture_fixtures;

namespace {

const std::string kPhoto = std::string(KAVELIN_TEST_DATA) + "/pictures/photo.jpg";

}  // namespace

TEST(PictureCli, PointsOfBitmapsAndOfAPhotograph) {
    // Bitmaps go through Qt's reader (16-bit white must stay white), JPEG files
    // through libjpeg; the points are those of the pixels an independent decoder
    // sees.
    const auto pointsOf = [](const TBitmap& picture) {
        std::string points;
        for (int x = 0; x < picture.Width(); ++x)
            for (int y = 0; y < picture.Height(); ++y)
                if (picture.Pixel(x, y) != clWhite)
                    points += std::to_string(x) + " " + std::to_string(y) + "\r\n";
        return points;
    };
    const TBitmap pattern = TestPattern(2);
    const std::string destination = TempDir() + "/points.txt";
    for (TBmpEncoding encoding : {TBmpEncoding::Rle4, TBmpEncoding::Rgb555}) {
        const std::string source = WriteTemp("pattern.bmp", EncodeBmp(pattern, encoding));
        EXPECT_EQ(RunCliWords({"points", source, destination}).fStatus, 0);
        EXPECT_EQ(ReadFileBytes(destination), pointsOf(pattern)) << static_cast<int>(encoding);
    }
    // Every other format reaches the tool's picture module.
    const std::string bitmap = WriteTemp("pattern.bmp", EncodeBmp(pattern, TBmpEncoding::Rgb24));
    for (const std::string extension : {"dib", "ico", "gif", "png"}) {
        const std::string source = TempDir() + "/pattern." + extension;
        // ImageMagick's own DIB format has no file header: a .dib file is a bitmap.
        Shell("convert '" + bitmap + "' " + (extension == "dib" ? "BMP3:" : "") + "'" + source +
              "'");
        EXPECT_EQ(RunCliWords({"points", source, destination}).fStatus, 0) << extension;
        EXPECT_EQ(ReadFileBytes(destination), pointsOf(pattern)) << extension;
    }
    ASSERT_EQ(RunCliWords({"points", kPhoto, destination}).fStatus, 0);
    EXPECT_EQ(ReadFileBytes(destination), pointsOf(MagickDecode(kPhoto)));

    // The picture as its own destination is refused, for its name that names no
    // points file, and stays as it was.
    const std::string picture = WriteTemp("self.bmp", EncodeBmp(pattern, TBmpEncoding::Rgb555));
    const TCliRun self = RunCliWords({"points", picture, picture});
    EXPECT_EQ(self.fStatus, 2);
    EXPECT_NE(self.fErr.find("must end in .txt"), std::string::npos) << self.fErr;
    EXPECT_EQ(ReadFileBytes(picture), EncodeBmp(pattern, TBmpEncoding::Rgb555));
}

TEST(PictureCli, AnalysePrintsTheCoverageAndThePartsAndDrawsThem) {
    const std::string uniform = TempDir() + "/uniform.png";
    Shell("convert -size 120x90 xc:'#884422' '" + uniform + "'");
    const std::string out = TempDir() + "/outlined.png";
    const TCliRun run = RunCliWords({"analyse", uniform, "--out", out});
    EXPECT_EQ(run.fStatus, 0);
    EXPECT_EQ(run.fOut, "Covered : 100\n0 0 120 90\n");
    const TBitmap drawn = MagickDecode(out);
    EXPECT_EQ(drawn.Pixel(1, 1), clWhite);
    EXPECT_EQ(drawn.Pixel(119, 45), clWhite);
    EXPECT_EQ(drawn.Pixel(60, 45), RGBColour(0x88, 0x44, 0x22));

    // A real photograph: the run ends above the coverage asked for, or warns.
    const TCliRun photo =
        RunCliWords({"--seed", "5", "analyse", kPhoto, "--min", "16", "--cover", "80"});
    EXPECT_EQ(photo.fStatus, 0);
    const std::vector<std::string> lines = SplitLines(photo.fOut);
    ASSERT_GE(lines.size(), 2u);
    int covered = 0;
    ASSERT_EQ(std::sscanf(lines[0].c_str(), "Covered : %d", &covered), 1);
    EXPECT_TRUE(covered > 80 || photo.fErr.rfind("kavelin-cli: analyse: Warning : ", 0) == 0)
        << photo.fOut << photo.fErr;
    for (size_t i = 1; i < lines.size(); ++i) {
        int l, t, r, b;
        if (std::sscanf(lines[i].c_str(), "%d %d %d %d", &l, &t, &r, &b) != 4) continue;
        EXPECT_TRUE(l >= 0 && t >= 0 && r <= 512 && b <= 600 && r - l > 16 && b - t > 16)
            << lines[i];
    }
    // The same seed gives the same run.
    EXPECT_EQ(RunCliWords({"--seed", "5", "analyse", kPhoto, "--min", "16", "--cover", "80"}).fOut,
              photo.fOut);

    const TCliRun tiny = RunCliWords(
        {"analyse", WriteTemp("tiny.bmp", EncodeBmp(TBitmap(12, 12), TBmpEncoding::Rgb24))});
    EXPECT_EQ(tiny.fStatus, 0);
    EXPECT_EQ(tiny.fOut, "Covered : 0\n");
    EXPECT_EQ(tiny.fErr,
              "kavelin-cli: analyse: Warning : Discriminant_Analysis_Unit : "
              "TDiscriminantAnalysisManager.Analyse : "
              "a seed of 20 x 20 pixels does not fit in the picture, the coverage of 90 % cannot "
              "be reached\n");
}

TEST(PictureCli, FailuresAreReportedWithTheirStatus) {
    const TCliRun missing =
        RunCliWords({"points", TempDir() + "/absent.gif", TempDir() + "/p.txt"}, true);
    EXPECT_EQ(missing.fStatus, 1);
    EXPECT_NE(missing.fOut.find("absent.gif"), std::string::npos);

    const TCliRun empty = RunCliWords({"points", "", TempDir() + "/p.txt"}, true);
    EXPECT_EQ(empty.fStatus, 1);
    EXPECT_NE(empty.fOut.find("At Least one of the Given FileNames is empty"), std::string::npos);

    const TCliRun mislabelled =
        RunCliWords({"analyse", WriteTemp("photo.png", ReadFileBytes(kPhoto))}, true);
    EXPECT_EQ(mislabelled.fStatus, 1);
    EXPECT_NE(mislabelled.fOut.find("not a valid PNG file"), std::string::npos) << mislabelled.fOut;

    // What libpng says of a damaged PNG file ends the message, on its one line.
    const std::string png = TempDir() + "/damaged.png";
    Shell("convert -size 40x30 xc:red '" + png + "'");
    std::string bytes = ReadFileBytes(png);
    bytes[bytes.find("IDAT") + 8] ^= 0x7F;
    WriteFileAtomically(png, bytes);
    const TCliRun damaged = RunCliWords({"analyse", png});
    EXPECT_EQ(damaged.fStatus, 1);
    EXPECT_EQ(damaged.fErr, "kavelin-cli: analyse: Cannot read the picture \"" + png +
                                "\": the PNG file is truncated or corrupt (libpng error: IDAT: "
                                "incorrect data check)\n");

    // Found by fuzzing: a whole 5 x 3 picture, then a text chunk that claims 1.6 GB
    // of the file's last hundred bytes, which libpng would set aside before reading.
    const std::string longChunk =
        WriteTemp("long_chunk.png",
                  ReadFileBytes(std::string(KAVELIN_TEST_DATA) +
                                "/fuzz/Picture/png_text_chunk_beyond_the_file")
                      .substr(1));  // the fuzz input's first byte chose the extension
    const TCliRun overrun = RunCliWords({"analyse", longChunk});
    EXPECT_EQ(overrun.fStatus, 1);
    EXPECT_EQ(overrun.fErr, "kavelin-cli: analyse: Cannot read the picture \"" + longChunk +
                                "\": the PNG file is truncated or corrupt (a chunk runs past the "
                                "end of the file)\n");

    EXPECT_EQ(RunCliWords({"analyse", kPhoto, "--min", "5"}).fStatus, 2);
    EXPECT_EQ(RunCliWords({"analyse", kPhoto, "--out", TempDir() + "/x.jpg"}).fStatus, 2);
    EXPECT_EQ(RunCliWords({"analyse"}).fStatus, 2);
    EXPECT_EQ(RunCliWords({"points", kPhoto}).fStatus, 2);
}

// What needs QtGui is in the tool's picture module, which the tool loads only to
// read a picture other than JPEG or to write a PNG file.
TEST(PictureCli, TheToolLinksNoGraphicsLibraryAndSaysWhenItsPictureModuleIsMissing) {
    // ldd lists the libraries of the libraries too: EGL and GLX come with QtGui.
    const std::string libraries = Shell("ldd '" KAVELIN_CLI "'");
    EXPECT_NE(libraries.find("libQt6Core"), std::string::npos) << libraries;
    for (const char* name :
         {"libQt6Gui", "libQt6Widgets", "libEGL", "libGLX", "libOpenGL", "libGL."})
        EXPECT_EQ(libraries.find(name), std::string::npos) << name << " in\n" << libraries;

    // A copy of the tool without its module reads JPEG files as the tool does.
    const std::string alone = TempDir() + "/alone";
    std::filesystem::create_directories(alone);
    std::filesystem::copy_file(KAVELIN_CLI, alone + "/kavelin-cli");
    const auto run = [&](const std::vector<std::string>& words) {
        return RunCliWords(words, false, "LC_ALL=C LANG=C", alone + "/kavelin-cli");
    };
    const std::string points = TempDir() + "/alone.txt", expected = TempDir() + "/tool.txt";
    ASSERT_EQ(run({"points", kPhoto, points}).fStatus, 0);
    ASSERT_EQ(RunCliWords({"points", kPhoto, expected}).fStatus, 0);
    EXPECT_EQ(ReadFileBytes(points), ReadFileBytes(expected));
    // Other pictures are refused, and nothing is written, saying what is missing.
    const std::string png = TempDir() + "/alone.png";
    Shell("convert -size 8x8 xc:red '" + png + "'");
    const std::string missing = "the picture module cannot be loaded (there is no file " + alone +
                                "/kavelin-pictures.so nor ";
    const TCliRun read = run({"analyse", png});
    EXPECT_EQ(read.fStatus, 1);
    EXPECT_EQ(read.fErr.rfind(
                  "kavelin-cli: analyse: Cannot read the picture \"" + png + "\": " + missing, 0),
              0u)
        << read.fErr;
    const std::string plot = TempDir() + "/alone_plot.png";
    const TCliRun write =
        run({"plot", std::string(KAVELIN_TEST_DATA) + "/sound/piece664.wav", plot});
    EXPECT_EQ(write.fStatus, 1);
    EXPECT_EQ(
        write.fErr.rfind("kavelin-cli: plot: Cannot write file \"" + plot + "\": " + missing, 0),
        0u)
        << write.fErr;
    EXPECT_FALSE(std::filesystem::exists(plot));
    // A module that is no library: the loader's reason.
    WriteFileAtomically(alone + "/kavelin-pictures.so", "not a library");
    const TCliRun broken = run({"analyse", png});
    EXPECT_EQ(broken.fStatus, 1);
    EXPECT_NE(broken.fErr.find("\": the picture module cannot be loaded (" + alone +
                               "/kavelin-pictures.so: "),
              std::string::npos)
        << broken.fErr;
}

TEST(PictureCli, ProfileListsTheSectionsWithCallsThatAgreeWithTheParts) {
    const std::string photo = TempDir() + "/small_photo.bmp";
    Shell("convert '" + kPhoto + "' -resize 160x120! '" + photo + "'");
    const TCliRun run = RunCliWords({"--profile", "--seed", "5", "analyse", photo});
    EXPECT_EQ(run.fStatus, 0);
    // The trace is the run's, as without --profile.
    EXPECT_EQ(RunCliWords({"--seed", "5", "analyse", photo}).fOut, run.fOut);
    int64_t parts = 0;
    for (const std::string& line : SplitLines(run.fOut)) {
        int l, t, r, b;
        if (std::sscanf(line.c_str(), "%d %d %d %d", &l, &t, &r, &b) == 4) ++parts;
    }
    // A warning comes on standard error before the table.
    std::vector<std::string> table = SplitLines(run.fErr);
    const bool gaveUp =
        !table.empty() && table[0].rfind("kavelin-cli: analyse: Warning : ", 0) == 0;
    if (gaveUp) table.erase(table.begin());
    ASSERT_EQ(table.size(), 8u) << run.fErr;
    EXPECT_EQ(table[0], "section\tcalls\ttotal_ms\tmean_ms\tmax_ms");
    std::vector<std::string> names;
    std::map<std::string, int64_t> calls;
    for (size_t i = 1; i < table.size(); ++i) {
        char name[64] = {};
        long long count = 0;
        double total = 0, mean = 0, greatest = 0;
        ASSERT_EQ(std::sscanf(table[i].c_str(), "%63[^\t]\t%lld\t%lf\t%lf\t%lf", name, &count,
                              &total, &mean, &greatest),
                  5)
            << table[i];
        names.push_back(name);
        calls[name] = count;
        EXPECT_GE(count, 1);
        EXPECT_LE(greatest, total + 1e-9) << table[i];
        EXPECT_LE(mean, greatest + 1e-4) << table[i];
        EXPECT_NEAR(mean * static_cast<double>(count), total, 1e-4 * static_cast<double>(count));
    }
    // In the order of their first start.
    EXPECT_EQ(names, (std::vector<std::string>{"Analyse Image", "SufficientCover",
                                               "Create New Part", "Calculate Homogeneity",
                                               "Extend Part", "Clean", "Display Part List"}));
    EXPECT_EQ(calls["Analyse Image"], 1);
    EXPECT_EQ(calls["Display Part List"], 1);
    EXPECT_EQ(calls["Create New Part"], calls["Extend Part"] + (gaveUp ? 1 : 0));
    EXPECT_EQ(calls["SufficientCover"], calls["Create New Part"] + (gaveUp ? 0 : 1));
    EXPECT_EQ(calls["Clean"], calls["Extend Part"] + parts);
}
