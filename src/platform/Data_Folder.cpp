#include "platform/Data_Folder.h"

#include <filesystem>
#include <system_error>

#include "base/Errors.h"
#include "base/File_Io.h"

namespace fs = std::filesystem;

#ifndef KAVELIN_DATA_FROM_BIN
#error "KAVELIN_DATA_FROM_BIN: the shipped data folder relative to the installed programs' folder"
#endif

std::string ShippedDataFolderOf(const std::string& programPath) {
    const fs::path folder = fs::path(programPath).parent_path();
    if (folder.filename() != "bin") return {};
    std::error_code error;
    const fs::path shipped = (folder / KAVELIN_DATA_FROM_BIN).lexically_normal();
    return fs::is_directory(shipped, error) ? shipped.string() : std::string();
}

void CopyMissingDataFiles(const std::string& shipped, const std::string& target) {
    std::error_code error;
    fs::create_directories(target, error);
    if (error) throw EFileError("Cannot create folder \"" + target + "\": " + error.message());
    fs::recursive_directory_iterator entry(shipped, error);
    if (error) throw EFileError("Cannot open folder \"" + shipped + "\": " + error.message());
    for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const fs::path to = fs::path(target) / entry->path().lexically_relative(shipped);
        const bool folder = entry->is_directory(error);
        if (error) break;
        if (folder) {
            fs::create_directories(to, error);
            if (error)
                throw EFileError("Cannot create folder \"" + to.string() +
                                 "\": " + error.message());
        } else {
            std::error_code absent;
            if (fs::symlink_status(to, absent).type() == fs::file_type::not_found)
                WriteFileAtomically(to.string(), ReadFileBytes(entry->path().string()));
            else if (absent)
                throw EFileError("Cannot read file \"" + to.string() + "\": " + absent.message());
        }
    }
    if (error) throw EFileError("Cannot read folder \"" + shipped + "\": " + error.message());
}

std::string InstalledWorkFolder(const std::string& userFolder, std::string& problem) {
    problem.clear();
    std::error_code error;
    if (fs::is_directory("Data", error)) return {};
    const std::string shipped = ShippedDataFolderOf(fs::read_symlink("/proc/self/exe", error));
    if (shipped.empty()) return {};
    try {
        if (userFolder.empty())
            throw EFileError("The user's data folder is unknown (HOME is not set)");
        CopyMissingDataFiles(shipped, userFolder + "/Data");
        return userFolder;
    } catch (const EFileError& e) {
        const std::string fallback = fs::path(shipped).parent_path().string();
        problem = std::string(e.what()) + "\nThe data is read from " + fallback + " instead.";
        return fallback;
    }
}
