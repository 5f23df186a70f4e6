// TIniManager: reads INI-style text, from a file or a line list, into named
// sections of key/data pairs and answers lookups by section and key. It only
// reads. Problems are reported through the Messenger and answered with a neutral
// value; nothing is thrown, except the platform's EFileError for a file that
// exists but cannot be read.
//
// Lines are recognised, in this order, as a section header
// "^[ \t]*\[(.+)\][ \t]*$", a comment "^\;.*$" (semicolon in the first column)
// or a key/value line "^[ \t]*(.+)[ \t]*=[ \t]*(.+)[ \t]*$"; any other line is
// ignored, as are key/value lines before the first header. Names, keys and values
// lose their blanks (not tabs) at both ends. Section names are matched lower-cased
// (A to Z only) and trimmed; keys exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Line_List.h"
#include "common/String_Manager_Unit.h"

class TIniSection {
  public:
    explicit TIniSection(std::string name);

    const std::string& Name() const { return fName; }
    // The name as sections are matched: lower-cased and trimmed.
    const std::string& MatchName() const { return fMatchName; }
    TListOfPairOfStrings& Pairs() { return fPairs; }
    const TListOfPairOfStrings& Pairs() const { return fPairs; }

  private:
    std::string fName;
    std::string fMatchName;
    TListOfPairOfStrings fPairs;
};

class TIniManager {
  public:
    // LoadFromFile. The name is used as given (a path of this system).
    explicit TIniManager(const std::string& fileName);
    // LoadFromStrings.
    explicit TIniManager(const TLines& lines);
    TIniManager(const TIniManager&) = delete;
    TIniManager& operator=(const TIniManager&) = delete;

    // The value text; the empty text, reported, when the manager has no
    // sections or the section or key is missing.
    std::string Get(const std::string& section, const std::string& key) const;
    // The value of an integer text ("0", or an optional minus sign and digits
    // without a leading zero, under 19 characters). Anything else, and integers
    // outside the 32-bit range (which are reported, not clamped), give 0 with the
    // error "Ini_Manager_Unit:TIniManager:GetInt:Can't Find " + section + " " + key.
    int32_t GetInt(const std::string& section, const std::string& key) const;
    // GetInt when the key exists; -1, reported, otherwise.
    int32_t GetIntStrict(const std::string& section, const std::string& key) const;
    // Silent: the first section of this name holds exactly this key.
    bool KeyExists(const std::string& section, const std::string& key) const;
    int32_t SectionCount() const;
    // The section that Get reads under this name, when it is also the one that
    // KeyExists asks (the first of the name): its pairs then answer both for
    // every key, as Get and KeyExists would, without finding the section anew.
    // nullptr when there is no such section or the two differ. Silent.
    const TIniSection* SectionForKeys(const std::string& section) const;

    // False for a manager whose load failed (no section list at all).
    bool HasSectionList() const { return fSections.has_value(); }
    // The sections in the list's order (sorted by their match names).
    const std::vector<TIniSection>& Sections() const;

    // Lower-cased (A to Z) and trimmed, as section names are compared.
    static std::string MatchName(const std::string& name);

  private:
    void LoadFromFile(const std::string& fileName);
    void LoadFromStrings(const TLines& lines);
    void ReadLines(const std::vector<std::string>& lines);
    void PlaceSections(std::vector<TIniSection> sections);
    int32_t FindSectionPos(const std::string& matchName, int32_t low, int32_t high) const;
    const TIniSection* FindSection(const std::string& section) const;

    // Held by value: a text of a million headers allocates no section apart.
    std::optional<std::vector<TIniSection>> fSections;
};
