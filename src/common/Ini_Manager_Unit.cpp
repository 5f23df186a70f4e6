#include "common/Ini_Manager_Unit.h"

#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>

#include "diagnostics/TraceUnit.h"

namespace {

const std::vector<std::unique_ptr<TIniSection>> kNoSections;

bool FileExists(const std::string& fileName) {
    std::error_code error;
    const std::filesystem::path path(fileName);
    return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
}

}  // namespace

TIniSection::TIniSection(std::string name)
    : fName(std::move(name)), fMatchName(TIniManager::MatchName(fName)) {}

std::string TIniManager::MatchName(const std::string& name) {
    return TStringManager::LowerCase(TStringManager::Trim(name));
}

TIniManager::TIniManager(const std::string& fileName) {
    LoadFromFile(fileName);
}

TIniManager::TIniManager(const TLines& lines) {
    LoadFromStrings(lines);
}

void TIniManager::LoadFromFile(const std::string& fileName) {
    if (!FileExists(fileName)) {
        Messenger.Error("Ini_Manager_Unit:LoadFromFile:Bad filename : " + fileName);
        return;
    }
    TLineList lines;
    lines.LoadFromFile(fileName);
    if (lines.Count() == 0) {
        Messenger.Error("Ini_Manager_Unit:LoadFromFile:Fichier ini vide");
        return;
    }
    ReadLines(lines.Lines());
}

void TIniManager::LoadFromStrings(const TLines& lines) {
    std::vector<std::string> copy = lines.ToVector();
    if (copy.empty()) {
        Messenger.Error("Ini_Manager_Unit:LoadFromStrings:Strings vide");
        return;
    }
    ReadLines(copy);
}

void TIniManager::ReadLines(const std::vector<std::string>& lines) {
    fSections.emplace();
    std::unique_ptr<TIniSection> current;
    const auto keepCurrent = [&] {
        if (current && !current->Name().empty()) AddSection(std::move(current));
        current.reset();
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& text = lines[i];
        // A UTF-8 byte-order mark before the first line is no part of it.
        const bool bom = i == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
        const TStringManager::TIniLine line =
            TStringManager::ParseIniLine(bom ? text.substr(3) : text);
        switch (line.Kind) {
            case TStringManager::TIniLineKind::Section:
                keepCurrent();
                current = std::make_unique<TIniSection>(line.Name);
                break;
            case TStringManager::TIniLineKind::KeyValue:
                if (current && !line.Name.empty() && !line.Value.empty())
                    current->Pairs().add(line.Name, line.Value);
                break;
            case TStringManager::TIniLineKind::Comment:
            case TStringManager::TIniLineKind::Error:
                break;
        }
    }
    keepCurrent();
}

void TIniManager::AddSection(std::unique_ptr<TIniSection> section) {
    auto& sections = *fSections;
    const int32_t p =
        FindSectionPos(section->MatchName(), 0, static_cast<int32_t>(sections.size()) - 1);
    sections.insert(sections.begin() + p, std::move(section));
}

int32_t TIniManager::FindSectionPos(const std::string& matchName, int32_t low, int32_t high) const {
    return BisectSortedPos(matchName, low, high, [this](int32_t i) -> const std::string& {
        return (*fSections)[static_cast<size_t>(i)]->MatchName();
    });
}

const TIniSection* TIniManager::FindSection(const std::string& section) const {
    const std::string name = MatchName(section);
    const int32_t count = static_cast<int32_t>(fSections->size());
    const int32_t p = FindSectionPos(name, 0, count - 1);
    if (p < count && (*fSections)[static_cast<size_t>(p)]->MatchName() == name)
        return (*fSections)[static_cast<size_t>(p)].get();
    return nullptr;
}

std::string TIniManager::Get(const std::string& section, const std::string& key) const {
    if (!fSections) {
        Messenger.Error("Ini_Manager_Unit:TIniManager.Get:Pas de sections");
        return std::string();
    }
    std::string result;
    if (const TIniSection* found = FindSection(section)) result = found->Pairs().getData(key);
    if (result.empty())
        Messenger.Error("TIniManager.Get : [" + section + "]/" + key + " n'existe pas");
    return result;
}

int32_t TIniManager::GetInt(const std::string& section, const std::string& key) const {
    const std::string text = Get(section, key);
    if (TStringManager::IsInteger(text)) {
        int64_t value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        if (value >= std::numeric_limits<int32_t>::min() &&
            value <= std::numeric_limits<int32_t>::max())
            return static_cast<int32_t>(value);
    }
    Messenger.Error("Ini_Manager_Unit:TIniManager:GetInt:Can't Find " + section + " " + key);
    return 0;
}

int32_t TIniManager::GetIntStrict(const std::string& section, const std::string& key) const {
    if (KeyExists(section, key)) return GetInt(section, key);
    Messenger.Error("TIniManager.GetIntStrict : [section][key] inexistant : " + section + " - " +
                    key);
    return -1;
}

bool TIniManager::KeyExists(const std::string& section, const std::string& key) const {
    if (!fSections) return false;
    const std::string name = MatchName(section);
    for (const auto& s : *fSections)
        if (s->MatchName() == name) return s->Pairs().HasKey(key);
    return false;
}

int32_t TIniManager::SectionCount() const {
    return fSections ? static_cast<int32_t>(fSections->size()) : 0;
}

const std::vector<std::unique_ptr<TIniSection>>& TIniManager::Sections() const {
    return fSections ? *fSections : kNoSections;
}
