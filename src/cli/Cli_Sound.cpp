// kavelin-cli capture FILE.wav: one capture pass of the sound page, saved to FILE.
// kavelin-cli plot FILE OUT.png [--width W --height H]: the page's dot plot of
// FILE as its first picture shows it, written as a PNG picture.
#include <memory>

#include "analysis/Sound_Display_Unit.h"
#include "base/Integer_Text.h"
#include "cli/Cli.h"
#include "cli/Picture_Module.h"
#include "diagnostics/TraceUnit.h"
#include "qt/Pulse_Sound_Device.h"

namespace {

// The size of the page's picture.
constexpr int32_t kPlotWidth = 665;
constexpr int32_t kPlotHeight = 265;
// Large enough for any screen, small enough to keep the bitmap modest.
constexpr int32_t kPlotMaxSide = 10000;

int RunCapture(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("capture", "expects one file name, FILE.wav");
    if (!RequireExtension("capture", "FILE", args[0], ".wav")) return kExitUsage;
    InstallPulseSoundServer();
    const TSoundStatus status = RecordSoundPiece(args[0]);
    // The page ignores the commands' results; a script needs to know.
    if (status == TSoundStatus::Ok) return kExitDone;
    std::string message = SoundStatusText(status);
    const std::string reason =
        status == TSoundStatus::ServerUnavailable ? LastSoundServerError() : "";
    if (!reason.empty()) message += " (" + reason + ")";
    return Failure("capture", AnsiToUtf8(message));
}

bool ParseSide(const std::string& text, int32_t& side) {
    const std::optional<int32_t> value = ParseInt32(text, TIntegerForm::CLike);
    if (!value || *value < 2 || *value > kPlotMaxSide) return false;
    side = *value;
    return true;
}

int RunPlot(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    int32_t width = kPlotWidth;
    int32_t height = kPlotHeight;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--width" || args[i] == "--height") {
            int32_t& side = args[i] == "--width" ? width : height;
            if (i + 1 >= args.size() || !ParseSide(args[i + 1], side))
                return UsageError("plot", args[i] + " needs a whole number from 2 to " +
                                              std::to_string(kPlotMaxSide));
            ++i;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return UsageError("plot", "unknown option '" + args[i] + "'");
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) return UsageError("plot", "expects a sound file and OUT.png");
    if (!RequireExtension("plot", "OUT", files[1], ".png")) return kExitUsage;
    if (!RequireFile("plot", files[0], "sound file")) return kExitFailed;
    TMemoryPicture picture(width, height);
    std::unique_ptr<TBitmap> blank;
    TLineList memo;
    ShowAudioSample(files[0], picture, blank, memo, TPlotPictures::FirstOnly);
    SaveBitmapAsPng(picture.Bitmap(), files[1]);
    for (const std::string& line : memo.ToVector()) Messenger.Send(line);
    return kExitDone;
}

}  // namespace

KAVELIN_SUBCOMMAND(
    "capture", "FILE.wav", "records 50 ms of sound into a WAV file", RunCapture,
    "Opens the sound server's recording source (PulseAudio), records one 50 ms piece as the "
    "sound page's capture pass does, and saves it as an 8-bit mono WAV file at 11025 Hz. FILE "
    "must end in .wav. When no sound server answers, the error says why and an earlier FILE "
    "stays as it was (exit 1).\n\nThe page itself records into record.wav in the user's data "
    "folder, or into the file KAVELIN_RECORD_FILE names.");
KAVELIN_SUBCOMMAND(
    "plot", "FILE OUT.png [--width 665] [--height 265]",
    "draws the bytes of FILE as the sound page's dot plot", RunPlot,
    "Prints \"Taille Stream : \" and the size of FILE, then draws one dot per byte b of FILE, "
    "header included, at column 1, 2, ... and at b pixels above the bottom, on a white picture "
    "of W x H pixels, as the sound page's first picture shows it, and writes it to OUT, which "
    "must end in .png.\n\n"
    "  --width W    the picture's width, 2 to 10000 (665)\n"
    "  --height H   the picture's height, 2 to 10000 (265)");
