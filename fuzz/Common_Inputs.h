// Fuzz entries of the common services: the INI reader on a file's text, the
// string routines' type checks and typed comparison on two texts, and the
// pattern matcher on a pattern and a subject. Each entry runs the reader the way
// the program does and checks what must hold of any result.
#pragma once

#include <algorithm>
#include <string>

#include "Fuzz_Support.h"
#include "base/Real_Format.h"
#include "common/Ini_Manager_Unit.h"
#include "common/Pattern_Matcher_Unit.h"
#include "common/String_Manager_Unit.h"

// Reads the text as an INI file and looks up every key it holds. Returns the
// number of sections read.
inline int32_t FuzzIniText(const std::string& bytes) {
    const TIniManager ini(FuzzLines(bytes));
    if (!ini.HasSectionList()) {
        FuzzRequire(ini.SectionCount() == 0, "a failed load holds no section");
        return 0;
    }
    const auto& sections = ini.Sections();
    FuzzRequire(static_cast<int32_t>(sections.size()) == ini.SectionCount(), "section count");
    for (size_t s = 0; s < sections.size(); ++s) {
        const TIniSection& section = sections[s];
        FuzzRequire(!section.Name().empty(), "a section without a name is dropped");
        FuzzRequire(section.MatchName() == TIniManager::MatchName(section.Name()), "match name");
        if (s > 0)
            FuzzRequire(sections[s - 1].MatchName() <= section.MatchName(), "sections sorted");
        const TListOfPairOfStrings& pairs = section.Pairs();
        for (int32_t p = 0; p < pairs.Count(); ++p) {
            FuzzRequire(!pairs.KeyAt(p).empty(), "keys are never empty");
            if (p > 0) FuzzRequire(pairs.KeyAt(p - 1) < pairs.KeyAt(p), "keys sorted and unique");
            FuzzRequire(pairs.HasKey(pairs.KeyAt(p)), "every key is found");
            FuzzRequire(pairs.getData(pairs.KeyAt(p)) == pairs.DataAt(p), "data of a key");
            // Through the manager, the first section of this name answers.
            if (ini.KeyExists(section.Name(), pairs.KeyAt(p))) {
                ini.Get(section.Name(), pairs.KeyAt(p));
                ini.GetInt(section.Name(), pairs.KeyAt(p));
                ini.GetIntStrict(section.Name(), pairs.KeyAt(p));
            }
        }
    }
    ini.Get("General Datas", "Clause Number");
    ini.GetIntStrict("Neurons", "Number");
    return ini.SectionCount();
}

namespace fuzz_detail {

inline int Sign(int32_t v) {
    return (v > 0) - (v < 0);
}

inline void CheckTexts(const std::string& a) {
    TStringManager::IsInteger(a);
    TStringManager::IsReal(a);
    TStringManager::IsDate(a);
    TStringManager::IsDigits(a);
    TStringManager::IsEmail(a);
    TStringManager::IsPhone(a);
    TStringManager::IsFACode(a);
    TStringManager::IsAVCode(a);
    TStringManager::IsDECode(a);
    TStringManager::IsBoolean(a);
    TStringManager::IsCheckDigitCode(a);
    if (TStringManager::IsReal(a)) TStringManager::MyStrToFloat(a);
    TStringManager::ParseIniLine(a);
}

}  // namespace fuzz_detail

// The type checks of both texts and their typed comparison, with the point and
// then the comma as decimal separator. Returns the sign of CompareTyped(a, b)
// under the point.
inline int FuzzCompareTyped(const std::string& bytes) {
    const auto [a, b] = SplitAtNul(bytes);
    const char separatorBefore = DecimalSeparator();
    int result = 0;
    for (const char separator : {'.', ','}) {
        SetDecimalSeparator(separator);
        fuzz_detail::CheckTexts(a);
        fuzz_detail::CheckTexts(b);
        const int32_t ab = TStringManager::CompareTyped(a, b);
        const int32_t ba = TStringManager::CompareTyped(b, a);
        FuzzRequire(fuzz_detail::Sign(ab) == -fuzz_detail::Sign(ba), "CompareTyped antisymmetric");
        FuzzRequire(TStringManager::CompareTyped(a, a) == 0, "CompareTyped reflexive");
        if (separator == '.') result = fuzz_detail::Sign(ab);
    }
    SetDecimalSeparator(separatorBefore);
    return result;
}

// The first byte chooses the compile options; the rest is the pattern, a NUL,
// and the subject. Returns the number of groups of the match, or -1 when the
// pattern does not compile and 0 when it does not match.
inline int FuzzPattern(const std::string& bytes) {
    if (bytes.empty()) return -1;
    const auto [pattern, subject] = SplitAtNul(bytes.substr(1));
    TPatternMatcher matcher;
    matcher.SetOptions(static_cast<uint8_t>(bytes[0]) & 0x7F);
    matcher.SetRegEx(pattern);
    try {
        matcher.Study();
    } catch (const EPatternMatcherError&) {
        FuzzRequire(!matcher.Compiled() && !matcher.Studied(),
                    "a refused pattern stays uncompiled");
        return -1;
    }
    matcher.SetSubject(subject);
    if (!matcher.Match()) {
        FuzzRequire(!matcher.HasMatch(), "no match leaves no match");
        return 0;
    }
    const int groups = matcher.GroupCount();
    FuzzRequire(groups >= 0 && groups < TPatternMatcher::kOffsetVectorSize / 3, "group count");
    for (int i = 0; i <= groups + 1; ++i) {
        const int position = matcher.GroupPosition(i), length = matcher.GroupLength(i);
        const std::string group = matcher.Group(i);
        FuzzRequire(static_cast<int>(group.size()) == length, "group length");
        if (length > 0)
            FuzzRequire(position >= 1 &&
                            position - 1 + length <= static_cast<int>(subject.size()) &&
                            subject.compare(static_cast<size_t>(position - 1),
                                            static_cast<size_t>(length), group) == 0,
                        "group inside the subject");
    }
    // Empty matches are refused, but \K in a lookahead can end a match before its
    // start.
    FuzzRequire(matcher.GroupLength(0) > 0 || pattern.find("\\K") != std::string::npos,
                "empty matches are refused");
    matcher.SetSubject(subject);
    FuzzRequire(!matcher.HasMatch(), "a new subject forgets the match");
    return groups;
}
