#include "base/File_Io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>

#include "base/Errors.h"

namespace {

std::string Reason(int error = errno) {
    return std::strerror(error);
}

[[noreturn]] void CannotWrite(const std::string& fileName, const std::string& reason) {
    throw EFileError("Cannot write file \"" + fileName + "\": " + reason);
}

// The folder part of a path, with its last slash ("" for a bare name).
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file that a save of fileName writes: a symbolic link is followed to its
// target, which may not exist yet; a chain longer than the system would follow is
// a loop, and refused.
std::string FollowLinks(const std::string& fileName) {
    std::string path = fileName;
    for (int hops = 0;; ++hops) {
        struct stat status;
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        if (hops == 40) CannotWrite(fileName, Reason(ELOOP));
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length < 0) CannotWrite(fileName, Reason());
        if (length == static_cast<ssize_t>(sizeof target))
            CannotWrite(fileName, Reason(ENAMETOOLONG));
        const std::string next(target, static_cast<size_t>(length));
        path = !next.empty() && next[0] == '/' ? next : FolderOf(path) + next;
    }
}

bool WriteAll(int fd, const std::string& bytes, off_t offset) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::pwrite(fd, data, left, offset);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
        offset += written;
    }
    return true;
}

// Rewrites the file where it stands, so that its other names (hard links), its
// owner and its place in a folder that cannot be written all stay. The space is
// reserved before the first byte changes; should the writing fail all the same,
// the previous bytes are put back.
void WriteInPlace(const std::string& fileName, const std::string& path, const std::string& bytes) {
    std::optional<std::string> previous;
    try {
        previous = ReadFileBytes(path);
    } catch (const EFileError&) {
        // A file that may be written but not read is rewritten without a copy.
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) CannotWrite(fileName, Reason());
    struct stat status;
    int error = ::fstat(fd, &status) == 0 ? 0 : errno;
    const off_t size = static_cast<off_t>(bytes.size());
    if (error == 0 && size > status.st_size) {
        error = ::posix_fallocate(fd, 0, size);
        if (error != 0 && ::ftruncate(fd, status.st_size) != 0) error = errno;
    }
    if (error == 0 && (!WriteAll(fd, bytes, 0) || ::ftruncate(fd, size) != 0 || ::fsync(fd) != 0)) {
        error = errno;
        if (previous && WriteAll(fd, *previous, 0) &&
            ::ftruncate(fd, static_cast<off_t>(previous->size())) == 0)
            ::fsync(fd);
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) CannotWrite(fileName, Reason(error));
}

// A name for the temporary file that is never longer than the system allows.
std::string TemporaryName() {
    static std::mt19937 generator{std::random_device{}()};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".kavelin-";
    for (int i = 0; i < 8; ++i) name += kLetters[generator() % (sizeof kLetters - 1)];
    return name;
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

bool FileExists(const std::string& fileName) {
    struct stat status;
    return ::stat(fileName.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

bool IsSameFile(const std::string& first, const std::string& second) {
    struct stat a, b;
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void WriteFileAtomically(const std::string& fileName, const std::string& bytes) {
    if (fileName.empty()) throw EFileError("Cannot write file \"\": no file name given");
    const std::string path = FollowLinks(fileName);
    struct stat previous;
    const bool exists = ::stat(path.c_str(), &previous) == 0;
    if (exists) {
        if (!S_ISREG(previous.st_mode))
            CannotWrite(fileName,
                        S_ISDIR(previous.st_mode) ? Reason(EISDIR) : "not a regular file");
        // A file nobody may write is kept as it is, even by the superuser.
        if ((previous.st_mode & 0222) == 0) CannotWrite(fileName, "the file is read-only");
        if (::access(path.c_str(), W_OK) != 0) CannotWrite(fileName, Reason());
        // A file with other names, or that belongs to someone else, is rewritten
        // where it stands: a new file would leave the other names with the old
        // text, or take the file from its owner.
        if (previous.st_nlink > 1 || (previous.st_uid != ::geteuid() && ::geteuid() != 0))
            return WriteInPlace(fileName, path, bytes);
    }
    const std::string folder = FolderOf(path);
    const int folderFd =
        ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) CannotWrite(fileName, Reason());
    const std::string name = path.substr(folder.size());
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName();
        fd = ::openat(folderFd, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        const int error = errno;
        ::close(folderFd);
        // A writable file in a folder that is not: written where it stands.
        if (exists && (error == EACCES || error == EPERM))
            return WriteInPlace(fileName, path, bytes);
        CannotWrite(fileName, Reason(error));
    }
    bool ok = WriteAll(fd, bytes, 0) && ::fsync(fd) == 0;
    std::string reason = ok ? "" : Reason();
    // The replaced file's owner and permissions are kept where the system allows;
    // a new file gets the usual ones (what the umask leaves of read and write for
    // all) rather than the temporary's.
    if (ok) {
        if (exists) {
            [[maybe_unused]] const int ignored = ::fchown(fd, previous.st_uid, previous.st_gid);
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
    if (ok && ::renameat(folderFd, temporary.c_str(), folderFd, name.c_str()) != 0) {
        ok = false;
        reason = Reason();
    }
    if (!ok) ::unlinkat(folderFd, temporary.c_str(), 0);
    ::close(folderFd);
    if (!ok) CannotWrite(fileName, reason);
}
