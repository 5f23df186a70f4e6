// The sound server behind the sound commands on this desktop: PulseAudio (or a
// server that speaks its protocol), reached through its simple API. Recording
// takes the default source, playing goes to the default sink; the desktop's sound
// settings choose both.
#pragma once

#include <thread>

#include "platform/Sound_Device.h"

class TPulseSoundServer : public ISoundServer {
  public:
    std::unique_ptr<ISoundRecording> Record() override;
    // One clip plays at a time: a new one stops the one before it.
    bool Play(TSoundClip clip) override;

  private:
    std::jthread fPlayer;
};

// Installs one process-wide PulseAudio server for the sound commands.
void InstallPulseSoundServer();
