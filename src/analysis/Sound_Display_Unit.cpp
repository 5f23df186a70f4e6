#include "analysis/Sound_Display_Unit.h"

#include <chrono>
#include <thread>

#include "base/File_Io.h"
#include "base/Real_Format.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Message_Box.h"

TSoundStatus RecordSoundPiece(const std::string& fileName) {
    TSoundStatus first = TSoundStatus::Ok;
    const auto send = [&first](const std::string& command) {
        const TSoundStatus status = SendSoundCommand(command);
        if (first == TSoundStatus::Ok) first = status;
    };
    send("close all");
    send("open new type waveaudio alias recsound");
    send("record recsound");
    std::this_thread::sleep_for(std::chrono::milliseconds(kCapturePieceMilliseconds));
    send("save recsound " + fileName);
    send("stop recsound");
    send("close recsound ");
    return first;
}

namespace {

// The warning box of a capture that recorded nothing, in the person's words.
std::string NothingRecordedText(TSoundStatus status, const std::string& reason) {
    if (status != TSoundStatus::ServerUnavailable)
        return "No sound was recorded: " + SoundStatusText(status) + ".";
    return "No sound was recorded: no sound server could be reached" +
           (reason.empty() ? std::string() : " (" + reason + ")") +
           ".\nThe capture records through the desktop's sound server (PulseAudio or "
           "PipeWire): start it, then capture again.";
}

}  // namespace

void CaptureSound(int passes, const std::string& fileName, const std::function<bool()>& show,
                  const std::function<bool()>& stopAsked) {
    bool warned = false;
    for (int pass = 0; pass < passes; ++pass) {
        const TSoundStatus status = RecordSoundPiece(fileName);
        if (status != TSoundStatus::Ok && !warned) {
            const std::string reason = LastSoundServerError();
            Messenger.Warning("Sound_Display_Unit:CaptureSound: no sound was recorded, " +
                              SoundStatusText(status) +
                              (status == TSoundStatus::ServerUnavailable && !reason.empty()
                                   ? " (" + reason + ")"
                                   : ""));
            ShowMessageBox(NothingRecordedText(status, reason));
            warned = true;
        }
        // Nothing recorded and no earlier recording: there is nothing to show, and
        // the warning has said why.
        if (status != TSoundStatus::Ok && !FileExists(fileName)) return;
        const bool answered = show();
        if (!answered || (stopAsked && stopAsked())) {
            Messenger.Send("Capture interrupted");
            return;
        }
    }
    Messenger.Send("check a down");
}

bool ShowAudioSample(const std::string& fileName, IPicture& picture,
                     std::unique_ptr<TBitmap>& captureBitmap, TLines& memo,
                     TPlotPictures pictures) {
    const int32_t width = picture.Width();
    const int32_t height = picture.Height();
    if (!captureBitmap) {
        captureBitmap = std::make_unique<TBitmap>(width, height);
        captureBitmap->Canvas().Brush.Color = clWhite;
    }
    const std::string bytes = ReadFileBytes(fileName);
    memo.Add("Taille Stream : " + IntToStr(static_cast<int64_t>(bytes.size())));

    TCanvas& canvas = picture.Canvas();
    canvas.Brush.Color = clWhite;
    const TRect whole = Rect(0, 0, width, height);
    canvas.Draw(0, 0, *captureBitmap);
    int32_t column = 1;
    for (const char byte : bytes) {
        canvas.SetPixel(column, height - static_cast<unsigned char>(byte), clBlack);
        ++column;
        if (column >= width) {
            if (pictures == TPlotPictures::FirstOnly) break;
            picture.Repaint();
            if (!AskMessageBox("Next")) return false;
            canvas.FillRect(whole);
            column = 1;
        }
    }
    return true;
}
