#include <iconv.h>
#include <cerrno>

#include "cli/Cli.h"

namespace {

// Converts with iconv, replacing what the target cannot hold (or the source
// does not encode validly) by "?"; `clean`, when given, tells whether none was.
std::string Convert(const std::string& text, const char* to, const char* from,
                    bool* clean = nullptr) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return text;
    std::string out;
    std::string in = text;
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: skip one source character and write "?" for it.
            if (clean) *clean = false;
            out += '?';
            size_t skip = 1;
            if (std::string(from) == "UTF-8") {
                const unsigned char lead = static_cast<unsigned char>(*inPtr);
                skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
                if (skip > inLeft) skip = inLeft;
                for (size_t i = 1; i < skip; ++i)
                    if ((static_cast<unsigned char>(inPtr[i]) & 0xC0) != 0x80) {
                        skip = i;
                        break;
                    }
            }
            inPtr += skip;
            inLeft -= skip;
        }
    }
    iconv_close(cd);
    return out;
}

// Well-formed UTF-8, as iconv reads it: converting it to UTF-32 meets no
// sequence it refuses.
bool IsUtf8(const std::string& text) {
    bool clean = true;
    Convert(text, "UTF-32LE", "UTF-8", &clean);
    return clean;
}

}  // namespace

std::string Utf8ToAnsi(const std::string& text) {
    return IsUtf8(text) ? Convert(text, "WINDOWS-1252", "UTF-8") : text;
}

std::string AnsiToUtf8(const std::string& text) {
    return Convert(text, "UTF-8", "WINDOWS-1252");
}
