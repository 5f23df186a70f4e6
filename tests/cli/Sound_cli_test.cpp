// kavelin-cli capture and plot, run as a script would run them, the capture on a
// real PulseAudio daemon with a 440 Hz sine source.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/File_Io.h"
#include "cli/Cli_Run.h"
#include "support/Sound_Server_Fixture.h"

namespace fs = std::filesystem;

namespace {

class SoundCli : public ::testing::Test {
  protected:
    void SetUp() override {
        fDir = fs::temp_directory_path() / ("kavelin_sound_cli_" + std::to_string(::getpid()));
        fs::create_directories(fDir);
    }
    void TearDown() override { fs::remove_all(fDir); }
    std::string PathOf(const std::string& name) const { return (fDir / name).string(); }

    fs::path fDir;
};

TEST_F(SoundCli, CaptureSavesFiftyMillisecondsOfTheSineOrFailsWithoutAServer) {
    TSoundServerFixture server;
    ASSERT_TRUE(server.Started());
    const std::string file = PathOf("piece.wav");
    EXPECT_EQ(RunCliWords({"capture", file}).fStatus, 0);
    const TRecordedWav wav = ReadRecordedWav(file);
    ASSERT_TRUE(wav.fOpened);
    EXPECT_EQ(wav.fInfo.format, SF_FORMAT_WAV | SF_FORMAT_PCM_U8);
    EXPECT_EQ(wav.fInfo.channels, 1);
    EXPECT_EQ(wav.fInfo.samplerate, 11025);
    // The capture lasts 50 ms of wall-clock time, so a busy machine records
    // more; the upper bound only says that the recording stopped.
    EXPECT_GE(wav.fSamples.size(), 500u);
    EXPECT_LE(wav.fSamples.size(), 11025u);
    EXPECT_LT(SineMisfit(wav.fSamples, kSineFrequency), 0.1);

    // No server: the failure is reported and the earlier file stays.
    const TCliRun failed =
        RunCliWords({"capture", file}, false, "PULSE_SERVER=unix:/nonexistent/kavelin");
    EXPECT_EQ(failed.fStatus, 1);
    // One line, with the server's own reason in it.
    EXPECT_EQ(failed.fErr.rfind("kavelin-cli: capture: the sound server cannot be reached or "
                                "refused (",
                                0),
              0u)
        << failed.fErr;
    EXPECT_EQ(std::count(failed.fErr.begin(), failed.fErr.end(), '\n'), 1) << failed.fErr;
    EXPECT_EQ(ReadRecordedWav(file).fSamples, wav.fSamples);
    EXPECT_EQ(RunCliWords({"capture"}).fStatus, 2);
    // A sound file is written under a .wav name only.
    EXPECT_EQ(RunCliWords({"capture", PathOf("piece.txt")}).fStatus, 2);
    EXPECT_FALSE(fs::exists(PathOf("piece.txt")));
}

// The width and height of a PNG file, from its header.
std::pair<int, int> PngSize(const std::string& bytes) {
    const auto at = [&](size_t i) {
        return (static_cast<unsigned char>(bytes[i]) << 24) |
               (static_cast<unsigned char>(bytes[i + 1]) << 16) |
               (static_cast<unsigned char>(bytes[i + 2]) << 8) |
               static_cast<unsigned char>(bytes[i + 3]);
    };
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
    return {at(16), at(20)};
}

TEST_F(SoundCli, PlotWritesThePictureAndTheSizeLine) {
    const std::string picture = PathOf("plot.png");
    const TCliRun run = RunCliWords({"plot", KAVELIN_TEST_DATA "/sound/piece1000.wav", picture});
    EXPECT_EQ(run.fStatus, 0);  // a full picture ends the plot without a box
    EXPECT_EQ(run.fOut, "Taille Stream : 1000\n");
    EXPECT_EQ(PngSize(ReadFileBytes(picture)), std::make_pair(665, 265));

    EXPECT_EQ(RunCliWords({"plot", KAVELIN_TEST_DATA "/sound/piece664.wav", picture, "--width",
                           "100", "--height", "300"})
                  .fStatus,
              0);
    EXPECT_EQ(PngSize(ReadFileBytes(picture)), std::make_pair(100, 300));

    const TCliRun missing = RunCliWords({"plot", PathOf("none.wav"), PathOf("none.png")});
    EXPECT_EQ(missing.fStatus, 1);
    EXPECT_EQ(missing.fOut, "");
    EXPECT_EQ(missing.fErr,
              "kavelin-cli: plot: sound file '" + PathOf("none.wav") + "' does not exist\n");
    EXPECT_FALSE(fs::exists(PathOf("none.png")));
    EXPECT_EQ(RunCliWords({"plot", "a.wav", "b.png", "--width", "1"}).fStatus, 2);
    EXPECT_EQ(RunCliWords({"plot", "a.wav"}).fStatus, 2);
    // PNG data goes under a .png name only.
    const TCliRun jpeg =
        RunCliWords({"plot", KAVELIN_TEST_DATA "/sound/piece664.wav", PathOf("plot.jpg")});
    EXPECT_EQ(jpeg.fStatus, 2);
    EXPECT_NE(jpeg.fErr.find("must end in .png"), std::string::npos) << jpeg.fErr;
    EXPECT_FALSE(fs::exists(PathOf("plot.jpg")));
}

}  // namespace
