#include <iconv.h>
#include <cerrno>
#include <cstdint>

#include "cli/Cli.h"

namespace {

// Converts with iconv, replacing what the target cannot hold (or the source
// does not encode validly) by "?".
std::string Convert(const std::string& text, const char* to, const char* from) {
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

// Well-formed UTF-8: every sequence has its lead byte and continuation bytes,
// none longer than needed, no surrogate and nothing beyond U+10FFFF.
bool IsUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        uint32_t code = 0;
        if (lead < 0x80)
            length = 1, code = lead;
        else if (lead >= 0xC2 && lead <= 0xDF)
            length = 2, code = lead & 0x1F;
        else if (lead >= 0xE0 && lead <= 0xEF)
            length = 3, code = lead & 0x0F;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4, code = lead & 0x07;
        else
            return false;
        if (i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        i += length;
    }
    return true;
}

}  // namespace

std::string Utf8ToAnsi(const std::string& text) {
    return IsUtf8(text) ? Convert(text, "WINDOWS-1252", "UTF-8") : text;
}

std::string AnsiToUtf8(const std::string& text) {
    return Convert(text, "UTF-8", "WINDOWS-1252");
}
