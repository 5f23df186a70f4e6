#include "common/File_Io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/Errors.h"

namespace {

std::string Reason() {
    return std::strerror(errno);
}

}  // namespace

std::string ReadFileBytes(const std::string& fileName) {
    if (fileName.empty()) throw EFileError("Cannot open file \"\": no file name given");
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file) throw EFileError("Cannot open file \"" + fileName + "\": " + Reason());
    std::string bytes;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    const bool failed = std::ferror(file);
    const std::string reason = failed ? Reason() : "";
    std::fclose(file);
    if (failed) throw EFileError("Cannot read file \"" + fileName + "\": " + reason);
    return bytes;
}

void WriteFileAtomically(const std::string& fileName, const std::string& bytes) {
    if (fileName.empty()) throw EFileError("Cannot write file \"\": no file name given");
    std::string temporary = fileName + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) throw EFileError("Cannot write file \"" + fileName + "\": " + Reason());
    const char* data = bytes.data();
    size_t left = bytes.size();
    bool ok = true;
    std::string reason;
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            ok = false;
            reason = Reason();
            break;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        reason = Reason();
    }
    // The replaced file's permissions are kept; a new file gets the usual ones
    // (what the umask leaves of read and write for all) rather than mkstemp's.
    if (ok) {
        struct stat previous;
        if (::stat(fileName.c_str(), &previous) == 0) {
            ::fchmod(fd, previous.st_mode & 07777);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(fd, 0666 & ~mask);
        }
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = Reason();
    }
    if (ok && std::rename(temporary.c_str(), fileName.c_str()) != 0) {
        ok = false;
        reason = Reason();
    }
    if (!ok) {
        std::remove(temporary.c_str());
        throw EFileError("Cannot write file \"" + fileName + "\": " + reason);
    }
}
