#include "qt/Pulse_Sound_Device.h"

#include <pulse/pulseaudio.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

constexpr const char* kClientName = "Kavelin";

// The server delivers recorded sound in pieces of about 10 ms.
constexpr uint32_t kRecordPieceBytes = kRecordSampleRate / 100;
// How long a save waits for sound that was recorded but is still on its way.
constexpr auto kSaveWaitLimit = std::chrono::milliseconds(200);
constexpr char kSilence = static_cast<char>(0x80);
// A buffering attribute left to the server.
constexpr uint32_t kServerDefault = static_cast<uint32_t>(-1);

// A record stream on a connection of its own, whose events run on the thread of
// a threaded main loop, so that releasing it never waits for sound to arrive.
// A recording holds the sound of the time it has run, no more: some sources (the
// test sine source among them) deliver seconds ahead at once, and those samples
// have not been recorded yet when a save asks for them.
class TPulseRecording : public ISoundRecording {
  public:
    // nullptr when the server cannot be reached or refuses; `reason` then says why
    // in the server's words, or stays empty.
    static std::unique_ptr<TPulseRecording> Start(std::string& reason) {
        std::unique_ptr<TPulseRecording> recording(new TPulseRecording);
        if (recording->Connect()) return recording;
        reason = recording->fReason;
        return nullptr;
    }

    ~TPulseRecording() override {
        if (fLoop) pa_threaded_mainloop_stop(fLoop);
        if (fStream) pa_stream_unref(fStream);
        if (fContext) {
            pa_context_disconnect(fContext);
            pa_context_unref(fContext);
        }
        if (fLoop) pa_threaded_mainloop_free(fLoop);
    }

    std::string Samples() const override {
        const auto elapsed = std::chrono::steady_clock::now() - fStart;
        const auto recorded = static_cast<size_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() *
            kRecordSampleRate / 1000000);
        std::unique_lock lock(fMutex);
        fArrived.wait_for(lock, kSaveWaitLimit,
                          [&] { return fSamples.size() >= recorded || fEnded; });
        return fSamples.substr(0, recorded);
    }

  private:
    TPulseRecording() = default;

    // Connects and starts the stream; false when the server cannot be reached
    // or refuses.
    bool Connect() {
        fLoop = pa_threaded_mainloop_new();
        if (!fLoop) return false;
        fContext = pa_context_new(pa_threaded_mainloop_get_api(fLoop), kClientName);
        if (!fContext) return false;
        pa_context_set_state_callback(fContext, &TPulseRecording::Signal, this);
        if (pa_context_connect(fContext, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) {
            fReason = pa_strerror(pa_context_errno(fContext));
            return false;
        }
        pa_threaded_mainloop_lock(fLoop);
        const bool ready = pa_threaded_mainloop_start(fLoop) >= 0 && WaitForContext() &&
                           ConnectStream() && WaitForStream();
        if (!ready) fReason = pa_strerror(pa_context_errno(fContext));
        pa_threaded_mainloop_unlock(fLoop);
        fStart = std::chrono::steady_clock::now();
        return ready;
    }

    bool WaitForContext() {
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(fContext);
            if (state == PA_CONTEXT_READY) return true;
            if (!PA_CONTEXT_IS_GOOD(state)) return false;
            pa_threaded_mainloop_wait(fLoop);
        }
    }

    bool ConnectStream() {
        const pa_sample_spec format{PA_SAMPLE_U8, kRecordSampleRate, 1};
        fStream = pa_stream_new(fContext, "Capture", &format, nullptr);
        if (!fStream) return false;
        pa_stream_set_state_callback(fStream, &TPulseRecording::OnStreamState, this);
        pa_stream_set_read_callback(fStream, &TPulseRecording::OnRead, this);
        const pa_buffer_attr attr{.maxlength = kServerDefault,
                                  .tlength = kServerDefault,
                                  .prebuf = kServerDefault,
                                  .minreq = kServerDefault,
                                  .fragsize = kRecordPieceBytes};
        return pa_stream_connect_record(fStream, nullptr, &attr, PA_STREAM_ADJUST_LATENCY) >= 0;
    }

    bool WaitForStream() {
        for (;;) {
            const pa_stream_state_t state = pa_stream_get_state(fStream);
            if (state == PA_STREAM_READY) return true;
            if (!PA_STREAM_IS_GOOD(state)) return false;
            pa_threaded_mainloop_wait(fLoop);
        }
    }

    // The callbacks run on the loop's thread.
    static void Signal(pa_context*, void* self) {
        pa_threaded_mainloop_signal(static_cast<TPulseRecording*>(self)->fLoop, 0);
    }

    static void OnStreamState(pa_stream* stream, void* self) {
        auto& recording = *static_cast<TPulseRecording*>(self);
        if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) {
            std::lock_guard lock(recording.fMutex);
            recording.fEnded = true;
            recording.fArrived.notify_all();
        }
        pa_threaded_mainloop_signal(recording.fLoop, 0);
    }

    static void OnRead(pa_stream* stream, size_t, void* self) {
        auto& recording = *static_cast<TPulseRecording*>(self);
        const void* data = nullptr;
        size_t size = 0;
        while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &data, &size) >= 0 &&
               size > 0) {
            {
                std::lock_guard lock(recording.fMutex);
                // A hole in the sound (no data) is kept as silence.
                if (data)
                    recording.fSamples.append(static_cast<const char*>(data), size);
                else
                    recording.fSamples.append(size, kSilence);
            }
            pa_stream_drop(stream);
        }
        recording.fArrived.notify_all();
    }

    pa_threaded_mainloop* fLoop = nullptr;
    pa_context* fContext = nullptr;
    pa_stream* fStream = nullptr;
    std::chrono::steady_clock::time_point fStart;
    mutable std::mutex fMutex;
    mutable std::condition_variable fArrived;
    std::string fSamples;
    bool fEnded = false;
    std::string fReason;
};

// Writes the clip in pieces of about 20 ms until it is all written or a stop is
// asked for; a clip written whole is played to its end before the stream closes.
void PlayClip(pa_simple* stream, const TSoundClip& clip, const std::stop_token& stop) {
    const size_t piece = std::max<size_t>(1, clip.fSampleRate / 50) * clip.fChannels;
    size_t done = 0;
    while (done < clip.fSamples.size() && !stop.stop_requested()) {
        const size_t count = std::min(piece, clip.fSamples.size() - done);
        if (pa_simple_write(stream, clip.fSamples.data() + done, count * sizeof(int16_t), nullptr) <
            0)
            break;
        done += count;
    }
    if (done == clip.fSamples.size()) pa_simple_drain(stream, nullptr);
    pa_simple_free(stream);
}

}  // namespace

std::unique_ptr<ISoundRecording> TPulseSoundServer::Record() {
    fLastError.clear();
    return TPulseRecording::Start(fLastError);
}

bool TPulseSoundServer::Play(TSoundClip clip) {
    fLastError.clear();
    if (clip.fSampleRate <= 0 || clip.fChannels <= 0) return false;
    const pa_sample_spec format{PA_SAMPLE_S16NE, static_cast<uint32_t>(clip.fSampleRate),
                                static_cast<uint8_t>(std::min(clip.fChannels, 255))};
    if (!pa_sample_spec_valid(&format)) return false;
    // A short buffer (0.1 s) keeps a stop quick: the writer never runs far ahead.
    // A clip too short to fill the prebuffer starts with the drain at its end.
    const pa_buffer_attr attr{.maxlength = kServerDefault,
                              .tlength = static_cast<uint32_t>(pa_usec_to_bytes(100000, &format)),
                              .prebuf = kServerDefault,
                              .minreq = kServerDefault,
                              .fragsize = kServerDefault};
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, kClientName, PA_STREAM_PLAYBACK, nullptr, "Play",
                                      &format, nullptr, &attr, &error);
    if (!stream) {
        fLastError = pa_strerror(error);
        return false;
    }
    // Earlier clips stop writing; those that have ended are released. One that
    // still plays its last buffered piece ends on its own, without holding up
    // this call.
    for (TPlayer& player : fPlayers) player.fThread.request_stop();
    std::erase_if(fPlayers, [](const TPlayer& player) { return player.fEnded->load(); });
    auto ended = std::make_shared<std::atomic<bool>>(false);
    fPlayers.push_back({std::jthread([stream, clip = std::move(clip), ended](std::stop_token stop) {
                            PlayClip(stream, clip, stop);
                            *ended = true;
                        }),
                        ended});
    return true;
}

void InstallPulseSoundServer() {
    static TPulseSoundServer server;
    SetSoundServer(&server);
}
