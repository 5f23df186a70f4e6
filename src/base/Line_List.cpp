#include "base/Line_List.h"

#include <algorithm>
#include <stdexcept>

#include "base/File_Io.h"

void TLines::Assign(const std::vector<std::string>& lines) {
    Clear();
    for (const auto& line : lines) Add(line);
}

std::vector<std::string> TLines::ToVector() const {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i) lines.push_back(Get(i));
    return lines;
}

void TLines::LoadFromFile(const std::string& fileName) {
    Assign(SplitLines(ReadFileBytes(fileName)));
}

void TLines::SaveToFile(const std::string& fileName) const {
    std::string text;
    for (const std::string& line : ToVector()) {
        text += line;
        text += "\r\n";
    }
    WriteFileAtomically(fileName, text);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;  // a line has begun and not yet ended
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending) lines.push_back(current);
    return lines;
}

void TLineList::DeleteFirst(int count) {
    if (count <= 0) return;
    fLines.erase(fLines.begin(), fLines.begin() + std::min<size_t>(count, fLines.size()));
}

std::string TLineList::Get(int index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range("TLineList.Get: index " + std::to_string(index) + " out of range");
    return fLines[static_cast<size_t>(index)];
}

void TLineList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw std::out_of_range("TLineList.Delete: index " + std::to_string(index) +
                                " out of range");
    fLines.erase(fLines.begin() + index);
}
