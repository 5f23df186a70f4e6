// Sound through command texts: the capture page records, saves and plays sound by
// sending short commands, and a sound server (installed by the windows or the
// command-line tool) does the recording and the playing. The commands understood,
// keywords in any case, words separated by blanks:
//
//   "open new type waveaudio alias A"  opens a new recording device under alias A
//   "record A"                         starts recording on A
//   "save A FILE"                      writes what A has recorded so far, even while
//                                      it is still recording, as the WAV file FILE
//   "stop A"                           stops recording on A
//   "close A", "close all"             closes A, or every open device
//   "play waveaudio FILE"              starts playing FILE and returns at once
//
// FILE is the rest of the command, without surrounding blanks or double quotes.
// Recording is 8-bit unsigned mono at kRecordSampleRate, one byte per sample.
// An unknown command, or a command on an alias that is not open, does nothing and
// returns an error status.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class TSoundStatus {
    Ok,
    UnknownCommand,     // not one of the commands above
    MissingParameter,   // a command without its alias or its file
    DeviceNotOpen,      // an alias that no open command gave
    DuplicateAlias,     // open with an alias that is already open
    ServerUnavailable,  // no sound server, or it refused to record or play
    NothingRecorded,    // save on a device that never recorded
    FileError,          // the file cannot be written or read as sound
};

// A line for the user saying what went wrong ("" for Ok).
std::string SoundStatusText(TSoundStatus status);

// The sound server's own reason for the last command that it failed
// (ServerUnavailable), "" when it gave none or there is no server.
std::string LastSoundServerError();

constexpr int32_t kRecordSampleRate = 11025;

// A recording in progress; releasing it stops the recording.
class ISoundRecording {
  public:
    virtual ~ISoundRecording() = default;
    // Every sample recorded so far, one unsigned byte each; recording goes on.
    virtual std::string Samples() const = 0;
};

// Sound to play: interleaved 16-bit frames.
struct TSoundClip {
    int32_t fSampleRate = 0;
    int32_t fChannels = 0;
    std::vector<int16_t> fSamples;
};

class ISoundServer {
  public:
    virtual ~ISoundServer() = default;
    // Starts recording 8-bit unsigned mono at kRecordSampleRate from the server's
    // recording source; nullptr when the server cannot be reached or refuses.
    virtual std::unique_ptr<ISoundRecording> Record() = 0;
    // Why the last Record or Play failed, in the server's words ("" when it gave
    // no reason).
    virtual std::string LastError() const { return ""; }
    // Starts playing the clip and returns at once; false when the server cannot
    // be reached or refuses.
    virtual bool Play(TSoundClip clip) = 0;
};

// Installs the server behind the commands; nullptr (the start) means none, so
// every record and play fails. The devices that are open stay open.
void SetSoundServer(ISoundServer* server);

// Carries out one command (see above) on the user-interface thread.
TSoundStatus SendSoundCommand(const std::string& command);

// The bytes of the WAV file that "save" writes for the given 8-bit samples.
std::string EncodeRecordedWav(const std::string& samples);

// The sound of a file in any format that libsndfile reads, as 16-bit frames.
// Raises EFileError naming the file and the reason.
TSoundClip ReadSoundFile(const std::string& fileName);
