#include "platform/Text_Display.h"

void TMemoryTextDisplay::Add(const std::string& text) {
    std::vector<std::string> lines = SplitLines(text);
    if (text.empty() || text.back() == '\r' || text.back() == '\n') lines.emplace_back();
    for (const auto& line : lines) fLines.Add(line);
}

void ITextDisplay::ReplaceLast(const std::string& text) {
    Delete(Count() - 1);
    Add(text);
}

void ITextDisplay::DeleteFirst(int count) {
    for (int i = 0; i < count && Count() > 0; ++i) Delete(0);
}
