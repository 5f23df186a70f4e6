// Test support for real sound: a private PulseAudio daemon whose default source
// is a 440 Hz sine at 11,025 samples per second and whose default sink is a null
// sink, started in a runtime folder of its own (XDG_RUNTIME_DIR) and stopped by
// the destructor. Programs started while it lives (kavelin-cli) inherit the
// variable and reach the same daemon.
#pragma once

#include <sndfile.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>

constexpr double kSineFrequency = 440.0;

class TSoundServerFixture {
  public:
    TSoundServerFixture() {
        char dir[] = "/tmp/kavelin-pulse-XXXXXX";
        if (!mkdtemp(dir)) return;
        fDir = dir;
        ::chmod(dir, 0700);
        ::setenv("XDG_RUNTIME_DIR", dir, 1);
        ::unsetenv("PULSE_SERVER");
        fStarted = std::system(
                       "pulseaudio -D --exit-idle-time=-1 -n"
                       " --load='module-native-protocol-unix auth-anonymous=1'"
                       " --load='module-null-sink'"
                       " --load='module-sine-source rate=11025 frequency=440'"
                       " >/dev/null 2>&1") == 0;
    }
    ~TSoundServerFixture() {
        if (fStarted) (void)std::system("pulseaudio -k >/dev/null 2>&1");
        std::error_code ignored;
        if (!fDir.empty()) std::filesystem::remove_all(fDir, ignored);
    }
    TSoundServerFixture(const TSoundServerFixture&) = delete;
    TSoundServerFixture& operator=(const TSoundServerFixture&) = delete;

    bool Started() const { return fStarted; }

  private:
    std::string fDir;
    bool fStarted = false;
};

// An 8-bit WAV file as libsndfile reads it: its header fields and its raw bytes.
struct TRecordedWav {
    bool fOpened = false;
    SF_INFO fInfo{};
    std::string fSamples;
};

inline TRecordedWav ReadRecordedWav(const std::string& fileName) {
    TRecordedWav wav;
    SNDFILE* file = sf_open(fileName.c_str(), SFM_READ, &wav.fInfo);
    if (!file) return wav;
    wav.fOpened = true;
    wav.fSamples.resize(static_cast<size_t>(wav.fInfo.frames * wav.fInfo.channels));
    wav.fSamples.resize(static_cast<size_t>(
        sf_read_raw(file, wav.fSamples.data(), static_cast<sf_count_t>(wav.fSamples.size()))));
    sf_close(file);
    return wav;
}

// How far unsigned 8-bit samples at 11,025 per second are from the best-fitting
// sine of `frequency`, as the root mean square of the difference over the sine's
// amplitude: near 0 for a recorded sine, about 0.7 or more for anything else.
inline double SineMisfit(const std::string& samples, double frequency) {
    const size_t n = samples.size();
    if (n == 0) return 1e9;
    double mean = 0;
    for (const char c : samples) mean += static_cast<unsigned char>(c);
    mean /= static_cast<double>(n);
    double s = 0, c = 0;
    const double step = 2 * std::numbers::pi * frequency / 11025.0;
    for (size_t i = 0; i < n; ++i) {
        const double v = static_cast<unsigned char>(samples[i]) - mean;
        s += v * std::sin(step * static_cast<double>(i));
        c += v * std::cos(step * static_cast<double>(i));
    }
    s *= 2.0 / static_cast<double>(n);
    c *= 2.0 / static_cast<double>(n);
    const double amplitude = std::hypot(s, c);
    if (amplitude < 1) return 1e9;
    double residual = 0;
    for (size_t i = 0; i < n; ++i) {
        const double fitted = mean + s * std::sin(step * static_cast<double>(i)) +
                              c * std::cos(step * static_cast<double>(i));
        const double d = static_cast<unsigned char>(samples[i]) - fitted;
        residual += d * d;
    }
    return std::sqrt(residual / static_cast<double>(n)) / amplitude;
}
