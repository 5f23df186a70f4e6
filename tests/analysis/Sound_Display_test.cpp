// The sound commands on a stand-in server, the capture loop, and the dot plot of
// recorded files on an in-memory picture of the page's size.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "analysis/Sound_Display_Unit.h"
#include "base/Errors.h"
#include "base/File_Io.h"
#include "platform/Message_Box.h"
#include "support/Sound_Server_Fixture.h"
#include "support/Trace_Capture.h"

namespace fs = std::filesystem;

namespace {

// A recording shows whatever sound the server holds at the moment it is asked.
class TFakeRecording : public ISoundRecording {
  public:
    explicit TFakeRecording(const std::string& sound) : fSound(sound) {}
    std::string Samples() const override { return fSound; }

  private:
    const std::string& fSound;
};

class TFakeServer : public ISoundServer {
  public:
    std::unique_ptr<ISoundRecording> Record() override {
        if (fRefuse) return nullptr;
        ++fRecordings;
        return std::make_unique<TFakeRecording>(fSound);
    }
    bool Play(TSoundClip clip) override {
        if (fRefuse) return false;
        fPlayed.push_back(std::move(clip));
        return true;
    }
    std::string LastError() const override { return fRefuse ? fReason : ""; }

    std::string fSound;
    bool fRefuse = false;
    std::string fReason;
    int fRecordings = 0;
    std::vector<TSoundClip> fPlayed;
};

class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetSoundServer(&fServer);
        SendSoundCommand("close all");
        fDir = fs::temp_directory_path() /
               ("kavelin_sound_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(fDir);
    }
    void TearDown() override {
        SendSoundCommand("close all");
        SetSoundServer(nullptr);
        fs::remove_all(fDir);
    }
    std::string PathOf(const std::string& name) const { return (fDir / name).string(); }

    TFakeServer fServer;
    fs::path fDir;
};

TEST_F(SoundTest, ACapturePassSavesWhatIsRecordedWhileRecordingAsAn8BitMonoWav) {
    for (int b = 0; b < 256; ++b) fServer.fSound += static_cast<char>(b);
    const std::string file = PathOf("record.wav");
    EXPECT_EQ(RecordSoundPiece(file), TSoundStatus::Ok);
    const TRecordedWav wav = ReadRecordedWav(file);
    ASSERT_TRUE(wav.fOpened);
    EXPECT_EQ(wav.fInfo.format, SF_FORMAT_WAV | SF_FORMAT_PCM_U8);
    EXPECT_EQ(wav.fInfo.channels, 1);
    EXPECT_EQ(wav.fInfo.samplerate, 11025);
    EXPECT_EQ(wav.fSamples, fServer.fSound);
    EXPECT_EQ(fs::file_size(file), 44u + 256u);  // the plain header, no extra chunks

    // A save takes the sound up to now and recording goes on; stop keeps what
    // was recorded, and a second record adds to it.
    EXPECT_EQ(SendSoundCommand("open new type waveaudio alias recsound"), TSoundStatus::Ok);
    fServer.fSound = "ab";
    EXPECT_EQ(SendSoundCommand("record recsound"), TSoundStatus::Ok);
    EXPECT_EQ(SendSoundCommand("save recsound " + PathOf("first.wav")), TSoundStatus::Ok);
    fServer.fSound = "abcd";
    EXPECT_EQ(SendSoundCommand("stop recsound"), TSoundStatus::Ok);
    fServer.fSound = "xy";
    EXPECT_EQ(SendSoundCommand("save recsound " + PathOf("second.wav")), TSoundStatus::Ok);
    EXPECT_EQ(SendSoundCommand("record recsound"), TSoundStatus::Ok);
    EXPECT_EQ(SendSoundCommand("save recsound \"" + PathOf("third one.wav") + "\" "),
              TSoundStatus::Ok);
    EXPECT_EQ(ReadRecordedWav(PathOf("first.wav")).fSamples, "ab");
    EXPECT_EQ(ReadRecordedWav(PathOf("second.wav")).fSamples, "abcd");
    EXPECT_EQ(ReadRecordedWav(PathOf("third one.wav")).fSamples, "abcdxy");
}

TEST_F(SoundTest, UnknownCommandsAndDevicesThatAreNotOpenDoNothing) {
    const std::string file = PathOf("never.wav");
    EXPECT_EQ(SendSoundCommand(""), TSoundStatus::UnknownCommand);
    EXPECT_EQ(SendSoundCommand("fly recsound"), TSoundStatus::UnknownCommand);
    EXPECT_EQ(SendSoundCommand("open recsound"), TSoundStatus::UnknownCommand);
    EXPECT_EQ(SendSoundCommand("open new type waveaudio alias"), TSoundStatus::MissingParameter);
    EXPECT_EQ(SendSoundCommand("record"), TSoundStatus::MissingParameter);
    EXPECT_EQ(SendSoundCommand("record recsound"), TSoundStatus::DeviceNotOpen);
    EXPECT_EQ(SendSoundCommand("save recsound " + file), TSoundStatus::DeviceNotOpen);
    EXPECT_EQ(SendSoundCommand("stop recsound"), TSoundStatus::DeviceNotOpen);
    EXPECT_EQ(SendSoundCommand("close recsound "), TSoundStatus::DeviceNotOpen);
    EXPECT_EQ(fServer.fRecordings, 0);

    EXPECT_EQ(SendSoundCommand("open new type waveaudio alias recsound"), TSoundStatus::Ok);
    EXPECT_EQ(SendSoundCommand("OPEN new type WaveAudio alias RecSound"),
              TSoundStatus::DuplicateAlias);
    EXPECT_EQ(SendSoundCommand("save recsound"), TSoundStatus::MissingParameter);
    EXPECT_EQ(SendSoundCommand("save recsound " + file), TSoundStatus::NothingRecorded);
    EXPECT_EQ(SendSoundCommand("Record RECSOUND"), TSoundStatus::Ok);
    EXPECT_EQ(SendSoundCommand("close all"), TSoundStatus::Ok);
    EXPECT_EQ(SendSoundCommand("save recsound " + file), TSoundStatus::DeviceNotOpen);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(fServer.fRecordings, 1);
}

TEST_F(SoundTest, AFailedCaptureLeavesThePreviousFileInPlace) {
    const std::string file = PathOf("record.wav");
    WriteFileAtomically(file, "previous");
    fServer.fRefuse = true;
    EXPECT_EQ(RecordSoundPiece(file), TSoundStatus::ServerUnavailable);
    SetSoundServer(nullptr);
    EXPECT_EQ(RecordSoundPiece(file), TSoundStatus::ServerUnavailable);
    EXPECT_EQ(ReadFileBytes(file), "previous");

    SetSoundServer(&fServer);
    fServer.fRefuse = false;
    EXPECT_EQ(RecordSoundPiece(PathOf("missing/record.wav")), TSoundStatus::FileError);
    EXPECT_EQ(RecordSoundPiece(file), TSoundStatus::Ok);
    EXPECT_EQ(fs::file_size(file), 44u);  // an empty recording is still a whole file
}

TEST_F(SoundTest, PlayHandsTheFileToTheServerAsSixteenBitFrames) {
    const std::string file = PathOf("to play.wav");
    WriteFileAtomically(file, EncodeRecordedWav(std::string("\x80\xff\x00", 3)));
    EXPECT_EQ(SendSoundCommand("Play waveaudio " + file), TSoundStatus::Ok);
    ASSERT_EQ(fServer.fPlayed.size(), 1u);
    EXPECT_EQ(fServer.fPlayed[0].fSampleRate, 11025);
    EXPECT_EQ(fServer.fPlayed[0].fChannels, 1);
    EXPECT_EQ(fServer.fPlayed[0].fSamples, (std::vector<int16_t>{0, 32512, -32768}));

    EXPECT_EQ(SendSoundCommand("Play waveaudio " + PathOf("none.wav")), TSoundStatus::FileError);
    WriteFileAtomically(PathOf("text.wav"), "not a sound");
    EXPECT_EQ(SendSoundCommand("Play waveaudio " + PathOf("text.wav")), TSoundStatus::FileError);
    EXPECT_EQ(SendSoundCommand("Play recsound"), TSoundStatus::UnknownCommand);
    fServer.fRefuse = true;
    EXPECT_EQ(SendSoundCommand("Play waveaudio " + file), TSoundStatus::ServerUnavailable);
    EXPECT_EQ(fServer.fPlayed.size(), 1u);
}

TEST_F(SoundTest, TheLoopShowsEachPassAndEndsWithTheCheckLine) {
    TTraceCapture trace;
    const std::string file = PathOf("record.wav");
    std::vector<std::string> shown;
    int pass = 0;
    const auto show = [&] {
        shown.push_back(ReadRecordedWav(file).fSamples);
        fServer.fSound = "pass " + std::to_string(++pass);
        return true;
    };
    fServer.fSound = "pass 0";
    CaptureSound(3, file, show);
    EXPECT_EQ(shown, (std::vector<std::string>{"pass 0", "pass 1", "pass 2"}));
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"check a down"});

    // An error of the display ends the loop at once, without the line.
    trace.Reset();
    int shows = 0;
    EXPECT_THROW(CaptureSound(3, file,
                              [&] {
                                  if (++shows == 2) throw EFileError("gone");
                                  return true;
                              }),
                 EFileError);
    EXPECT_EQ(shows, 2);
    EXPECT_TRUE(trace.Lines().empty());
}

// Records the text of every box shown while it lives.
class TRecordedBoxes : public IMessageBox {
  public:
    TRecordedBoxes() { SetMessageBox(this); }
    ~TRecordedBoxes() override { SetMessageBox(nullptr); }
    void Show(const std::string& text) override { fTexts.push_back(text); }
    std::vector<std::string> fTexts;
};

TEST_F(SoundTest, TheLoopStopsWhenAskedAndWarnsOnceWhenNothingIsRecorded) {
    TTraceCapture trace;
    const std::string file = PathOf("record.wav");
    int shows = 0;
    const auto show = [&] { return ++shows != 2; };  // the second display is dismissed
    CaptureSound(5, file, show);
    EXPECT_EQ(shows, 2);
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Capture interrupted"});

    // Asked after each pass: the pass under way ends first.
    trace.Reset();
    shows = 0;
    int asked = 0;
    CaptureSound(
        5, file, [&] { return ++shows > 0; }, [&] { return ++asked == 3; });
    EXPECT_EQ(shows, 3);
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Capture interrupted"});

    // A server that refuses: one warning in the run, with the server's reason, in
    // the trace and in a box in plain words; the earlier file is shown each pass.
    trace.Reset();
    fServer.fRefuse = true;
    fServer.fReason = "Connection refused";
    TRecordedBoxes boxes;
    shows = 0;
    CaptureSound(3, file, [&] { return ++shows > 0; });
    EXPECT_EQ(trace.Lines(),
              (std::vector<std::string>{
                  "Warning : Sound_Display_Unit:CaptureSound: no sound was recorded, the sound "
                  "server cannot be reached or refused (Connection refused)",
                  "check a down"}));
    EXPECT_EQ(shows, 3);
    ASSERT_EQ(boxes.fTexts.size(), 1u);
    EXPECT_TRUE(boxes.fTexts[0].starts_with(
        "No sound was recorded: no sound server could be reached (Connection refused).\n"))
        << boxes.fTexts[0];
    // With no recording ever made there is nothing to show: the warning alone,
    // and the loop ends without a line.
    std::filesystem::remove(file);
    trace.Reset();
    boxes.fTexts.clear();
    shows = 0;
    CaptureSound(3, file, [&] { return ++shows > 0; });
    EXPECT_EQ(shows, 0);
    EXPECT_EQ(boxes.fTexts.size(), 1u);
    EXPECT_EQ(trace.Lines().size(), 1u);
    EXPECT_FALSE(FileExists(file));
    WriteFileAtomically(file, "earlier");
    // Without a server there is no reason to give.
    trace.Reset();
    SetSoundServer(nullptr);
    CaptureSound(2, file, [] { return true; });
    EXPECT_EQ(trace.Lines().front(),
              "Warning : Sound_Display_Unit:CaptureSound: no sound was recorded, the sound "
              "server cannot be reached or refused");
    EXPECT_EQ(trace.Lines().size(), 2u);
}

// Records every box and the picture as it was when the box showed.
class TSnapshotBox : public IMessageBox {
  public:
    explicit TSnapshotBox(IPicture& picture) : fPicture(picture) { SetMessageBox(this); }
    ~TSnapshotBox() override { SetMessageBox(nullptr); }
    void Show(const std::string& text) override {
        fTexts.push_back(text);
        fShots.push_back(fPicture.Bitmap());
    }
    bool ShowAndAsk(const std::string& text) override {
        Show(text);
        return !fDismiss;
    }
    bool fDismiss = false;
    IPicture& fPicture;
    std::vector<std::string> fTexts;
    std::vector<TBitmap> fShots;
};

// Every column from 1 holds at most one black dot, at height - byte, for the
// bytes of `bytes` in order; everything else is white.
void ExpectDots(const TBitmap& bitmap, const std::string& bytes) {
    int black = 0;
    for (int32_t y = 0; y < bitmap.Height(); ++y)
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixel(x, y) == clBlack) ++black;
    int dots = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int b = static_cast<unsigned char>(bytes[i]);
        if (b == 0) continue;  // falls just below the last row
        ++dots;
        EXPECT_EQ(bitmap.Pixel(static_cast<int32_t>(i) + 1, bitmap.Height() - b), clBlack)
            << "byte " << i;
    }
    EXPECT_EQ(black, dots);
}

TEST(SoundDisplay, AFullPictureShowsNextThenGoesOnFromColumnOneOnAClearedPicture) {
    TMemoryPicture picture(665, 265);
    std::unique_ptr<TBitmap> blank;
    TLineList memo;
    TSnapshotBox box(picture);

    const std::string exact = ReadFileBytes(KAVELIN_TEST_DATA "/sound/piece664.wav");
    ShowAudioSample(KAVELIN_TEST_DATA "/sound/piece664.wav", picture, blank, memo);
    EXPECT_EQ(box.fTexts, std::vector<std::string>{"Next"});
    ExpectDots(box.fShots[0], exact);
    EXPECT_TRUE(picture.Bitmap().SamePixels(*blank));  // cleared after the box
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->Width(), 665);
    EXPECT_EQ(blank->Height(), 265);

    const std::string bytes = ReadFileBytes(KAVELIN_TEST_DATA "/sound/piece1000.wav");
    ShowAudioSample(KAVELIN_TEST_DATA "/sound/piece1000.wav", picture, blank, memo);
    EXPECT_EQ(box.fTexts, (std::vector<std::string>{"Next", "Next"}));
    ExpectDots(box.fShots[1], bytes.substr(0, 664));
    ExpectDots(picture.Bitmap(), bytes.substr(664));
    EXPECT_EQ(memo.ToVector(),
              (std::vector<std::string>{"Taille Stream : 664", "Taille Stream : 1000"}));

    // The first picture only: no box, the picture as the first box would show it.
    TMemoryPicture first(665, 265);
    std::unique_ptr<TBitmap> firstBlank;
    ShowAudioSample(KAVELIN_TEST_DATA "/sound/piece1000.wav", first, firstBlank, memo,
                    TPlotPictures::FirstOnly);
    EXPECT_EQ(box.fTexts.size(), 2u);
    ExpectDots(first.Bitmap(), bytes.substr(0, 664));

    // A dismissed box ends the drawing there: the full picture stays.
    box.fDismiss = true;
    EXPECT_FALSE(ShowAudioSample(KAVELIN_TEST_DATA "/sound/piece1000.wav", picture, blank, memo));
    EXPECT_EQ(box.fTexts.size(), 3u);
    ExpectDots(picture.Bitmap(), bytes.substr(0, 664));
}

TEST(SoundDisplay, EachDisplayClearsThePictureAndAMissingFileChangesNothing) {
    TMemoryPicture picture(665, 265);
    std::unique_ptr<TBitmap> blank;
    TLineList memo;
    TSnapshotBox box(picture);
    picture.Canvas().SetPixel(600, 100, clBlack);

    const fs::path file =
        fs::temp_directory_path() / ("kavelin_dots_" + std::to_string(::getpid()));
    const std::string bytes("\xff\x01\x00\x80", 4);
    WriteFileAtomically(file.string(), bytes);
    ShowAudioSample(file.string(), picture, blank, memo);
    ExpectDots(picture.Bitmap(), bytes);
    EXPECT_EQ(picture.Bitmap().Pixel(1, 10), clBlack);  // 255 lands on y = 10

    fs::remove(file);
    const TBitmap before = picture.Bitmap();
    EXPECT_THROW(ShowAudioSample(file.string(), picture, blank, memo), EFileError);
    EXPECT_TRUE(picture.Bitmap().SamePixels(before));
    EXPECT_EQ(memo.ToVector(), std::vector<std::string>{"Taille Stream : 4"});
    EXPECT_TRUE(box.fTexts.empty());
}

}  // namespace
