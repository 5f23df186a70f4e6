#include "platform/Data_Folder.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "base/Errors.h"
#include "base/File_Io.h"
#include "base/Line_List.h"

namespace fs = std::filesystem;

#ifndef KAVELIN_DATA_FROM_BIN
#error "KAVELIN_DATA_FROM_BIN: the shipped data folder relative to the installed programs' folder"
#endif
#ifndef KAVELIN_DATA_VERSION
#error "KAVELIN_DATA_VERSION: the version of the shipped data, that of the project"
#endif

namespace {

// The record's first line; the relative paths follow, one a line, a folder's
// ending with "/". A few hundred shipped files take some kilobytes: a larger
// file is no record of this program's.
const std::string kRecordHeader = "Kavelin data version ";
constexpr std::uintmax_t kMaxRecordBytes = 1 << 20;

struct TCopyRecord {
    std::string fVersion;
    std::set<std::string> fPaths;
};

// An absent record is an empty one: a folder filled before records were kept,
// or a new folder.
TCopyRecord ReadCopyRecord(const fs::path& file) {
    TCopyRecord record;
    std::error_code error;
    if (fs::symlink_status(file, error).type() == fs::file_type::not_found) return record;
    const std::uintmax_t size = fs::file_size(file, error);
    if (error) throw EFileError("Cannot read file \"" + file.string() + "\": " + error.message());
    if (size > kMaxRecordBytes)
        throw EFileError("The record of the copied data files \"" + file.string() + "\" holds " +
                         std::to_string(size) + " bytes (at most " +
                         std::to_string(kMaxRecordBytes) +
                         "); delete it to have the missing shipped files copied again");
    const std::vector<std::string> lines = SplitLines(ReadFileBytes(file.string()));
    if (lines.empty() || lines[0].rfind(kRecordHeader, 0) != 0)
        throw EFileError("The record of the copied data files \"" + file.string() +
                         "\" does not begin with \"" + kRecordHeader +
                         "\"; delete it to have the missing shipped files copied again");
    record.fVersion = lines[0].substr(kRecordHeader.size());
    for (size_t i = 1; i < lines.size(); ++i)
        if (!lines[i].empty()) record.fPaths.insert(lines[i]);
    return record;
}

void WriteCopyRecord(const fs::path& file, const TCopyRecord& record) {
    std::string text = kRecordHeader + record.fVersion + "\r\n";
    for (const std::string& path : record.fPaths) text += path + "\r\n";
    WriteFileAtomically(file.string(), text);
}

void CreateFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        throw EFileError("Cannot create folder \"" + folder.string() + "\": " + error.message());
}

bool IsFolder(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder, error);
}

}  // namespace

std::string ShippedDataFolderOf(const std::string& programPath) {
    const fs::path folder = fs::path(programPath).parent_path();
    if (folder.filename() != "bin") return {};
    const fs::path shipped = (folder / KAVELIN_DATA_FROM_BIN).lexically_normal();
    return IsFolder(shipped) ? shipped.string() : std::string();
}

void CopyMissingDataFiles(const std::string& shipped, const std::string& target,
                          const std::string& version) {
    CreateFolder(target);
    const fs::path recordFile = fs::path(target) / kCopiedDataRecord;
    TCopyRecord record = ReadCopyRecord(recordFile);
    if (record.fVersion == version) return;
    std::error_code error;
    fs::recursive_directory_iterator entry(shipped, error);
    if (error) throw EFileError("Cannot open folder \"" + shipped + "\": " + error.message());
    for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const fs::path relative = entry->path().lexically_relative(shipped);
        const fs::path to = fs::path(target) / relative;
        const bool folder = entry->is_directory(error);
        if (error) break;
        const std::string key = relative.generic_string() + (folder ? "/" : "");
        if (key == kCopiedDataRecord || record.fPaths.count(key)) continue;
        if (folder) {
            CreateFolder(to);
        } else {
            std::error_code absent;
            if (fs::symlink_status(to, absent).type() == fs::file_type::not_found) {
                // Its folder may be one the user deleted, the file being new.
                CreateFolder(to.parent_path());
                WriteFileAtomically(to.string(), ReadFileBytes(entry->path().string()));
            } else if (absent) {
                throw EFileError("Cannot read file \"" + to.string() + "\": " + absent.message());
            }
        }
        // A name with a line break cannot be recorded: it is looked at each time.
        if (key.find_first_of("\r\n") == std::string::npos) record.fPaths.insert(key);
    }
    if (error) throw EFileError("Cannot read folder \"" + shipped + "\": " + error.message());
    record.fVersion = version;
    WriteCopyRecord(recordFile, record);
}

std::string InstalledWorkFolder(const std::string& userFolder, std::string& problem) {
    problem.clear();
    if (IsFolder("Data")) return {};
    std::error_code error;
    const std::string shipped = ShippedDataFolderOf(fs::read_symlink("/proc/self/exe", error));
    if (shipped.empty())
        return !userFolder.empty() && IsFolder(fs::path(userFolder) / "Data") ? userFolder
                                                                              : std::string();
    try {
        if (userFolder.empty())
            throw EFileError("The user's data folder is unknown (HOME is not set)");
        CopyMissingDataFiles(shipped, userFolder + "/Data", KAVELIN_DATA_VERSION);
        return userFolder;
    } catch (const EFileError& e) {
        const std::string fallback = fs::path(shipped).parent_path().string();
        problem = std::string(e.what()) + "\nThe data is read from " + fallback + " instead.";
        return fallback;
    }
}

std::string MissingDataMessage(const std::string& workFolder, const std::string& userFolder) {
    if (IsFolder(fs::path(workFolder) / "Data") ||
        (!userFolder.empty() && IsFolder(fs::path(userFolder) / "Data")))
        return {};
    const std::string user = userFolder.empty() ? "(unknown: HOME is not set)" : userFolder;
    std::string text = "Kavelin finds no Data folder, neither in the folder it was started in,\n";
    text += "    " + workFolder + "\nnor in your data folder,\n    " + user + "\n\n";
    text +=
        "It reads its files from Data/:\n"
        "    at start-up, Data/NNetWork2/Brain.ini (the brain of the \"Neuronal  Network\" page);\n"
        "    when the pages are used, Data/GeneralPArameters.ini, the tables\n"
        "    Data/ListePays.db, Data/ListePsychotropes.db and Data/ListeStupefiants.db,\n"
        "    and the samples in Data/SATSolver/, Data/SegmentationManager/,\n"
        "    Data/DiscrimAnalysis/, Data/DataRestructurator/ and Data/AnalyseDeDensite/.\n"
        "Without them each page reports its missing file when it is used.\n\n"
        "Start Kavelin in the folder that holds Data/ (in the source tree: bash scripts/run,\n"
        "or build/kavelin from the tree's root), or start the installed program, kavelin,\n"
        "which fills your data folder from the data it ships.";
    return text;
}

TMissingDataStart::TMissingDataStart(const std::string& userFolder) {
    std::error_code error;
    const std::string message = MissingDataMessage(fs::current_path(error).string(), userFolder);
    if (message.empty()) return;
    ShowMessageBox(message);
    fMissing = true;
    fSavedBox = CurrentMessageBox();
    SetMessageBox(nullptr);
}

TMissingDataStart::~TMissingDataStart() {
    if (fMissing) SetMessageBox(fSavedBox);
}
