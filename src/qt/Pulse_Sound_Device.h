// The sound server behind the sound commands on this desktop: PulseAudio (or a
// server that speaks its protocol), reached through its simple API. Recording
// takes the default source, playing goes to the default sink; the desktop's sound
// settings choose both.
#pragma once

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "platform/Sound_Device.h"

class TPulseSoundServer : public ISoundServer {
  public:
    std::unique_ptr<ISoundRecording> Record() override;
    // A new clip stops the writing of the clips before it.
    bool Play(TSoundClip clip) override;
    std::string LastError() const override { return fLastError; }

  private:
    // A clip being played on a thread of its own; fEnded is set when its
    // stream is closed.
    struct TPlayer {
        std::jthread fThread;
        std::shared_ptr<std::atomic<bool>> fEnded;
    };
    std::vector<TPlayer> fPlayers;
    std::string fLastError;
};

// Installs one process-wide PulseAudio server for the sound commands.
void InstallPulseSoundServer();
