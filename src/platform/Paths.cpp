#include "platform/Paths.h"

#include <algorithm>
#include <cctype>

#include "base/Ascii.h"

namespace {

std::string gDataHome;

std::string UnderDataHome(const std::string& path) {
    if (gDataHome.empty() || (path != "./Data" && path.rfind("./Data/", 0) != 0)) return path;
    return gDataHome + path.substr(1);
}

}  // namespace

void SetDataHome(const std::string& folder) {
    gDataHome = folder;
}

std::string LocalPath(const std::string& windowsPath) {
    std::string path = windowsPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    // A drive letter followed by the program's folder: the program's folder is here.
    static const std::string programFolder = "/Kavelin/";
    if (path.size() > 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        const std::string lower = AsciiLowerCase(path);
        if (lower.compare(2, programFolder.size(), "/kavelin/") == 0)
            return UnderDataHome("./" + path.substr(2 + programFolder.size()));
        return path.substr(2);
    }
    return UnderDataHome(path);
}
