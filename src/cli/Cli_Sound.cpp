// kavelin-cli capture FILE: one capture pass of the sound page, saved to FILE.
// kavelin-cli plot FILE OUT.png [--width W --height H]: the page's dot plot of
// FILE as its first picture shows it, written as a PNG picture.
#include <memory>

#include "analysis/Sound_Display_Unit.h"
#include "base/Integer_Text.h"
#include "cli/Cli.h"
#include "cli/Picture_Module.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Message_Box.h"
#include "qt/Pulse_Sound_Device.h"

namespace {

// The size of the page's picture.
constexpr int32_t kPlotWidth = 665;
constexpr int32_t kPlotHeight = 265;
// Large enough for any screen, small enough to keep the bitmap modest.
constexpr int32_t kPlotMaxSide = 10000;

int RunCapture(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("capture", "expects one file name");
    InstallPulseSoundServer();
    const TSoundStatus status = RecordSoundPiece(args[0]);
    // The page ignores the commands' results; a script needs to know.
    if (status != TSoundStatus::Ok) ShowMessageBox("capture: " + SoundStatusText(status));
    return 0;
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
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) return UsageError("plot", "expects a sound file and a PNG file");
    TMemoryPicture picture(width, height);
    std::unique_ptr<TBitmap> blank;
    TLineList memo;
    ShowAudioSample(files[0], picture, blank, memo, TPlotPictures::FirstOnly);
    SaveBitmapAsPng(picture.Bitmap(), files[1]);
    for (const std::string& line : memo.ToVector()) Messenger.Send(line);
    return 0;
}

}  // namespace

KAVELIN_SUBCOMMAND("capture", "FILE", "records one 50 ms piece of sound and saves it to FILE",
                   RunCapture);
KAVELIN_SUBCOMMAND("plot", "FILE OUT.png [--width 665 --height 265]",
                   "draws the bytes of FILE as the sound page's dot plot, in OUT.png", RunPlot);
