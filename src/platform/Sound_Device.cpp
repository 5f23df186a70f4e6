#include "platform/Sound_Device.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>

#include "base/Ascii.h"
#include "base/Errors.h"
#include "base/File_Io.h"

namespace {

// One device opened by "open": what it recorded before its last stop, and the
// recording in progress if any.
struct TOpenDevice {
    bool fRecorded = false;
    std::string fSamples;
    std::unique_ptr<ISoundRecording> fRecording;

    std::string AllSamples() const {
        return fRecording ? fSamples + fRecording->Samples() : fSamples;
    }
};

ISoundServer* gServer = nullptr;
std::string gServerError;

// The server's reason for a failure, kept for LastSoundServerError.
TSoundStatus ServerFailed() {
    gServerError = gServer ? gServer->LastError() : "";
    return TSoundStatus::ServerUnavailable;
}

// The open devices by alias, in lower case since aliases ignore case.
std::map<std::string, TOpenDevice>& Devices() {
    static std::map<std::string, TOpenDevice> devices;
    return devices;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Splits the first word off `text`, in lower case; `text` keeps the rest.
std::string NextWord(std::string_view& text) {
    text = Trim(text);
    size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    std::string word = AsciiLowerCase(text.substr(0, end));
    text.remove_prefix(end);
    return word;
}

// The file named by the rest of a command.
std::string FileArgument(std::string_view rest) {
    rest = Trim(rest);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
        rest = rest.substr(1, rest.size() - 2);
    return std::string(rest);
}

TSoundStatus Open(std::string_view rest) {
    const std::string a = NextWord(rest), b = NextWord(rest), c = NextWord(rest),
                      d = NextWord(rest), alias = NextWord(rest);
    if (a != "new" || b != "type" || c != "waveaudio" || d != "alias")
        return TSoundStatus::UnknownCommand;
    if (alias.empty()) return TSoundStatus::MissingParameter;
    if (!NextWord(rest).empty() || alias == "all") return TSoundStatus::UnknownCommand;
    if (Devices().contains(alias)) return TSoundStatus::DuplicateAlias;
    Devices().emplace(alias, TOpenDevice{});
    return TSoundStatus::Ok;
}

TSoundStatus Record(TOpenDevice& device) {
    if (device.fRecording) return TSoundStatus::Ok;
    if (!gServer) return ServerFailed();
    device.fRecording = gServer->Record();
    if (!device.fRecording) return ServerFailed();
    device.fRecorded = true;
    return TSoundStatus::Ok;
}

TSoundStatus Save(const TOpenDevice& device, const std::string& fileName) {
    if (fileName.empty()) return TSoundStatus::MissingParameter;
    if (!device.fRecorded) return TSoundStatus::NothingRecorded;
    try {
        WriteFileAtomically(fileName, EncodeRecordedWav(device.AllSamples()));
    } catch (const EFileError&) {
        return TSoundStatus::FileError;
    }
    return TSoundStatus::Ok;
}

void Stop(TOpenDevice& device) {
    if (!device.fRecording) return;
    device.fSamples += device.fRecording->Samples();
    device.fRecording.reset();
}

TSoundStatus Play(std::string_view rest) {
    if (NextWord(rest) != "waveaudio") return TSoundStatus::UnknownCommand;
    const std::string fileName = FileArgument(rest);
    if (fileName.empty()) return TSoundStatus::MissingParameter;
    TSoundClip clip;
    try {
        clip = ReadSoundFile(fileName);
    } catch (const EFileError&) {
        return TSoundStatus::FileError;
    }
    if (!gServer || !gServer->Play(std::move(clip))) return ServerFailed();
    return TSoundStatus::Ok;
}

// A WAV file being written in memory, for libsndfile's virtual input/output.
struct TMemoryFile {
    std::string fBytes;
    sf_count_t fPosition = 0;
};

TMemoryFile& MemoryFile(void* user) {
    return *static_cast<TMemoryFile*>(user);
}

SF_VIRTUAL_IO MemoryFileIo() {
    SF_VIRTUAL_IO io{};
    io.get_filelen = [](void* user) -> sf_count_t {
        return static_cast<sf_count_t>(MemoryFile(user).fBytes.size());
    };
    io.seek = [](sf_count_t offset, int whence, void* user) -> sf_count_t {
        TMemoryFile& file = MemoryFile(user);
        const sf_count_t base = whence == SEEK_CUR   ? file.fPosition
                                : whence == SEEK_END ? static_cast<sf_count_t>(file.fBytes.size())
                                                     : 0;
        if (base + offset < 0) return -1;
        file.fPosition = base + offset;
        return file.fPosition;
    };
    io.read = [](void* ptr, sf_count_t count, void* user) -> sf_count_t {
        TMemoryFile& file = MemoryFile(user);
        const auto size = static_cast<sf_count_t>(file.fBytes.size());
        const sf_count_t got = std::clamp<sf_count_t>(size - file.fPosition, 0, count);
        if (got > 0) std::memcpy(ptr, file.fBytes.data() + file.fPosition, got);
        file.fPosition += got;
        return got;
    };
    io.write = [](const void* ptr, sf_count_t count, void* user) -> sf_count_t {
        TMemoryFile& file = MemoryFile(user);
        const auto end = static_cast<size_t>(file.fPosition + count);
        if (end > file.fBytes.size()) file.fBytes.resize(end);
        std::memcpy(file.fBytes.data() + file.fPosition, ptr, static_cast<size_t>(count));
        file.fPosition += count;
        return count;
    };
    io.tell = [](void* user) -> sf_count_t { return MemoryFile(user).fPosition; };
    return io;
}

}  // namespace

std::string SoundStatusText(TSoundStatus status) {
    switch (status) {
        case TSoundStatus::Ok:
            return "";
        case TSoundStatus::UnknownCommand:
            return "unknown sound command";
        case TSoundStatus::MissingParameter:
            return "the sound command lacks its alias or its file";
        case TSoundStatus::DeviceNotOpen:
            return "the sound device is not open";
        case TSoundStatus::DuplicateAlias:
            return "the sound device is already open";
        case TSoundStatus::ServerUnavailable:
            return "the sound server cannot be reached or refused";
        case TSoundStatus::NothingRecorded:
            return "nothing was recorded";
        case TSoundStatus::FileError:
            return "the sound file cannot be written or read";
    }
    return "";
}

std::string LastSoundServerError() {
    return gServerError;
}

void SetSoundServer(ISoundServer* server) {
    gServer = server;
}

TSoundStatus SendSoundCommand(const std::string& command) {
    std::string_view rest = command;
    const std::string verb = NextWord(rest);
    if (verb == "open") return Open(rest);
    if (verb == "play") return Play(rest);
    if (verb != "record" && verb != "save" && verb != "stop" && verb != "close")
        return TSoundStatus::UnknownCommand;

    const std::string alias = NextWord(rest);
    if (alias.empty()) return TSoundStatus::MissingParameter;
    if (verb == "close" && alias == "all") {
        if (!Trim(rest).empty()) return TSoundStatus::UnknownCommand;
        Devices().clear();
        return TSoundStatus::Ok;
    }
    const auto found = Devices().find(alias);
    if (found == Devices().end()) return TSoundStatus::DeviceNotOpen;
    TOpenDevice& device = found->second;
    if (verb == "save") return Save(device, FileArgument(rest));
    if (!Trim(rest).empty()) return TSoundStatus::UnknownCommand;
    if (verb == "record") return Record(device);
    if (verb == "stop")
        Stop(device);
    else
        Devices().erase(found);
    return TSoundStatus::Ok;
}

std::string EncodeRecordedWav(const std::string& samples) {
    TMemoryFile file;
    SF_VIRTUAL_IO io = MemoryFileIo();
    SF_INFO info{};
    info.samplerate = kRecordSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
    SNDFILE* wav = sf_open_virtual(&io, SFM_WRITE, &info, &file);
    if (!wav) throw EFileError(std::string("Cannot encode WAV sound: ") + sf_strerror(nullptr));
    const auto size = static_cast<sf_count_t>(samples.size());
    const bool written = sf_write_raw(wav, samples.data(), size) == size;
    const std::string reason = written ? "" : sf_strerror(wav);
    sf_close(wav);
    if (!written) throw EFileError("Cannot encode WAV sound: " + reason);
    return std::move(file.fBytes);
}

TSoundClip ReadSoundFile(const std::string& fileName) {
    SF_INFO info{};
    SNDFILE* sound = sf_open(fileName.c_str(), SFM_READ, &info);
    if (!sound)
        throw EFileError("Cannot read sound file \"" + fileName + "\": " + sf_strerror(nullptr));
    TSoundClip clip;
    clip.fSampleRate = info.samplerate;
    clip.fChannels = info.channels;
    clip.fSamples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    const sf_count_t got = sf_readf_short(sound, clip.fSamples.data(), info.frames);
    sf_close(sound);
    clip.fSamples.resize(static_cast<size_t>(got) * static_cast<size_t>(info.channels));
    return clip;
}
