// The sound capture page's work, free of the windows: one capture pass through
// the sound commands, the capture loop, and the dot plot of the recorded file.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/Line_List.h"
#include "platform/Picture.h"
#include "platform/Sound_Device.h"

// Passes of one capture run, and how long each pass records before it saves.
constexpr int kCapturePasses = 1000;
constexpr int kCapturePieceMilliseconds = 50;

// Sends the commands of one capture pass: a device is opened, records for
// kCapturePieceMilliseconds, saves what it has to `fileName` while still
// recording, then stops and closes. Returns the first status that is not Ok, or
// Ok; a failed save leaves the previous file in place.
TSoundStatus RecordSoundPiece(const std::string& fileName);

// Runs `passes` capture passes into `fileName`, each followed by `show`, then
// sends "check a down". The loop ends early, after the pass under way and with
// the line "Capture interrupted" instead, when `show` returns false (the user
// dismissed a "Next" box) or `stopAsked`, asked after each pass, returns true.
// The first pass of a run that records nothing sends a warning saying why and
// shows a box saying it in the person's words; the display then shows the
// previous file, and when there is none the loop ends there, without a line
// (there is nothing to show). An error that `show` raises ends the loop there,
// without a line.
void CaptureSound(int passes, const std::string& fileName, const std::function<bool()>& show,
                  const std::function<bool()>& stopAsked = {});

enum class TPlotPictures { All, FirstOnly };

// The dot plot of a file: adds "Taille Stream : " and the file's size to `memo`,
// clears the picture with `captureBitmap` (a white bitmap of the picture's size,
// made here when absent), then draws one black dot per byte b of the file, header
// included, at x = column, y = picture height - b, columns from 1. When the
// column reaches the picture's width the picture is full: it is repainted, the
// "Next" box waits for the user, and drawing goes on from column 1 on a cleared
// picture; a "Next" box that the user dismisses (Escape, its close box) ends the
// drawing there and the call returns false. With FirstOnly, drawing stops at the
// first full picture instead. Raises EFileError when the file cannot be read;
// nothing is drawn or added then.
bool ShowAudioSample(const std::string& fileName, IPicture& picture,
                     std::unique_ptr<TBitmap>& captureBitmap, TLines& memo,
                     TPlotPictures pictures = TPlotPictures::All);
