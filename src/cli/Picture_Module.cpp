#include "cli/Picture_Module.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "base/Errors.h"
#include "base/File_Io.h"
#include "platform/Picture_Reader.h"
#include "qt/Qt_Picture_Module.h"

namespace fs = std::filesystem;

#ifndef KAVELIN_MODULE_FROM_BIN
#error "KAVELIN_MODULE_FROM_BIN: the picture module's folder from the programs' folder"
#endif

namespace {

// Loads the module once: from beside the tool (the build tree), otherwise from
// the private library folder of an installed tool. `problem` receives why it
// cannot be loaded; the module stays loaded until the tool ends.
const TPictureModule* Load(std::string& problem) {
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    if (folder.empty()) {
        problem = "the tool's own folder is unknown (/proc/self/exe: " + error.message() + ")";
        return nullptr;
    }
    fs::path file = folder / kPictureModuleFile;
    if (!fs::exists(file, error)) {
        const fs::path installed =
            (folder / KAVELIN_MODULE_FROM_BIN / kPictureModuleFile).lexically_normal();
        if (!fs::exists(installed, error)) {
            problem = "there is no file " + file.string() + " nor " + installed.string();
            return nullptr;
        }
        file = installed;
    }
    void* library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        problem = ::dlerror();
        return nullptr;
    }
    using TEntry = const TPictureModule* (*)();
    const auto entry = reinterpret_cast<TEntry>(::dlsym(library, kPictureModuleEntry));
    if (!entry) {
        problem = file.string() + " lacks the function " + kPictureModuleEntry;
        return nullptr;
    }
    return entry();
}

// The module, or EFileError saying why it cannot be loaded.
const TPictureModule& PictureModule() {
    static std::string problem;
    static const TPictureModule* const module = Load(problem);
    if (!module) throw EFileError("the picture module cannot be loaded (" + problem + ")");
    return *module;
}

class TModulePictureReader : public IPictureReader {
  public:
    TBitmap Decode(const std::string& bytes, TPictureFormat format) override {
        return PictureModule().fReader->Decode(bytes, format);
    }
};

}  // namespace

void InstallModulePictureReader() {
    static TModulePictureReader reader;
    SetPictureReader(&reader);
}

void SaveBitmapAsPng(const TBitmap& bitmap, const std::string& fileName) {
    std::string file;
    try {
        if (!PictureModule().fEncodePng(bitmap, file))
            throw EFileError("the picture cannot be encoded");
    } catch (const EFileError& e) {
        throw EFileError("Cannot write file \"" + fileName + "\": " + e.what());
    }
    WriteFileAtomically(fileName, file);
}
