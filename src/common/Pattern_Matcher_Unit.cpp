#include "common/Pattern_Matcher_Unit.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <utility>

namespace {

const char* const kNoMatchYet = "REQUIRE: There must be a successful match first";

int CompileOptionsOf(TPatternMatcherOptions options) {
    int word = PCRE_NEWLINE_ANY;
    if (options & pmoCaseLess) word |= PCRE_CASELESS;
    if (options & pmoMultiLine) word |= PCRE_MULTILINE;
    if (options & pmoSingleLine) word |= PCRE_DOTALL;
    if (options & pmoExtended) word |= PCRE_EXTENDED;
    if (options & pmoAnchored) word |= PCRE_ANCHORED;
    if (options & pmoUnGreedy) word |= PCRE_UNGREEDY;
    if (options & pmoNoAutoCapture) word |= PCRE_NO_AUTO_CAPTURE;
    return word;
}

void SetLimits(pcre_extra& extra) {
    extra.flags |= PCRE_EXTRA_MATCH_LIMIT | PCRE_EXTRA_MATCH_LIMIT_RECURSION;
    extra.match_limit = TPatternMatcher::kMatchLimit;
    extra.match_limit_recursion = TPatternMatcher::kMatchLimitRecursion;
}

}  // namespace

TPatternMatcher::TPatternMatcher() : fTables(pcre_maketables()) {}

TPatternMatcher::~TPatternMatcher() {
    Release();
}

void TPatternMatcher::Release() {
    ClearCompiled();
    if (fTables) {
        pcre_free(const_cast<unsigned char*>(fTables));
        fTables = nullptr;
    }
}

TPatternMatcher::TPatternMatcher(TPatternMatcher&& other) noexcept {
    *this = std::move(other);
}

TPatternMatcher& TPatternMatcher::operator=(TPatternMatcher&& other) noexcept {
    if (this == &other) return *this;
    Release();
    fCompiled = std::exchange(other.fCompiled, false);
    fStudied = std::exchange(other.fStudied, false);
    fOptions = other.fOptions;
    fMatchFlags = other.fMatchFlags;
    fRegEx = std::move(other.fRegEx);
    fSubject = std::move(other.fSubject);
    for (int i = 0; i < kOffsetVectorSize; ++i) fOffsets[i] = other.fOffsets[i];
    fMatchCount = std::exchange(other.fMatchCount, 0);
    fCompileOptions = other.fCompileOptions;
    fPattern = std::exchange(other.fPattern, nullptr);
    fStudy = std::exchange(other.fStudy, nullptr);
    fTables = std::exchange(other.fTables, nullptr);
    OnMatch = std::move(other.OnMatch);
    other.fRegEx.clear();
    other.fSubject.clear();
    other.OnMatch = nullptr;
    return *this;
}

void TPatternMatcher::SetRegEx(const std::string& regEx) {
    if (regEx == fRegEx) return;
    fRegEx = regEx;
    ClearCompiled();
}

void TPatternMatcher::SetOptions(TPatternMatcherOptions options) {
    if (options == fOptions) return;
    fOptions = options;
    fCompileOptions = CompileOptionsOf(options);
    ClearCompiled();
}

void TPatternMatcher::SetSubject(const std::string& subject) {
    fSubject = subject;
    fMatchCount = 0;
}

void TPatternMatcher::ClearCompiled() {
    fCompiled = false;
    fStudied = false;
    if (fStudy) {
        pcre_free_study(fStudy);
        fStudy = nullptr;
    }
    if (fPattern) {
        pcre_free(fPattern);
        fPattern = nullptr;
    }
    fMatchCount = 0;
}

void TPatternMatcher::Compile() {
    if (fRegEx.empty())
        throw EPatternMatcherError(
            "TPatternMatcher.Compile() - Please specify a regular expression in RegEx first");
    ClearCompiled();
    const char* error = nullptr;
    int errorOffset = 0;
    fPattern = pcre_compile(fRegEx.c_str(), fCompileOptions, &error, &errorOffset, fTables);
    if (!fPattern) {
        char message[512];
        std::snprintf(message, sizeof message,
                      "TPatternMatcher.Compile() - Error in regex at offset %d: %s", errorOffset,
                      error ? error : "");
        throw EPatternMatcherError(message);
    }
    fCompiled = true;
}

void TPatternMatcher::Study() {
    if (!fCompiled) Compile();
    if (fStudy) {
        pcre_free_study(fStudy);
        fStudy = nullptr;
    }
    // PCRE_STUDY_EXTRA_NEEDED: always hand back study data, even for a pattern
    // that gains nothing from study, so that the match limits have a place.
    const char* error = nullptr;
    fStudy = pcre_study(fPattern, PCRE_STUDY_EXTRA_NEEDED, &error);
    if (error) {
        if (fStudy) pcre_free_study(fStudy);
        fStudy = nullptr;
        throw EPatternMatcherError(
            std::string("TPatternMatcher.Study() - Error studying the regex: ") + error);
    }
    if (fStudy) SetLimits(*fStudy);
    fStudied = true;
}

bool TPatternMatcher::Match() {
    if (!fCompiled) Compile();
    int flags = 0;
    if (fMatchFlags & pmoNotAtLineStart) flags |= PCRE_NOTBOL;
    if (fMatchFlags & pmoNotAtLineEnd) flags |= PCRE_NOTEOL;
    if (fMatchFlags & pmoNoEmptyMatch) flags |= PCRE_NOTEMPTY;
    // An unstudied pattern runs without study data, but never without limits.
    pcre_extra limitsOnly{};
    SetLimits(limitsOnly);
    pcre_extra* extra = fStudy ? fStudy : &limitsOnly;
    if (fSubject.size() > static_cast<size_t>(INT_MAX)) {
        fMatchCount = 0;
        return false;
    }
    fMatchCount = pcre_exec(fPattern, extra, fSubject.data(), static_cast<int>(fSubject.size()), 0,
                            flags, fOffsets, kOffsetVectorSize);
    if (fMatchCount <= 0) {
        // 0 (offset vector too small) and errors, the match limits among them,
        // count as no match.
        fMatchCount = 0;
        return false;
    }
    for (int i = 0; i < 2 * fMatchCount; ++i) fOffsets[i] += 1;
    if (OnMatch) OnMatch(*this);
    return true;
}

void TPatternMatcher::RequireMatch() const {
    if (!HasMatch()) throw EAssertionFailed(kNoMatchYet);
}

int TPatternMatcher::GroupCount() const {
    RequireMatch();
    return fMatchCount - 1;
}

int TPatternMatcher::GroupPosition(int index) const {
    RequireMatch();
    if (index < 0) throw EAssertionFailed("REQUIRE: The group index must not be negative");
    if (index > GroupCount()) return 0;
    return fOffsets[2 * index];
}

int TPatternMatcher::GroupLength(int index) const {
    RequireMatch();
    if (index < 0) throw EAssertionFailed("REQUIRE: The group index must not be negative");
    if (index > GroupCount()) return 0;
    // \K inside a lookahead can set the match's start after its end; Group reads
    // such a group as empty, and so does its length.
    return std::max(0, fOffsets[2 * index + 1] - fOffsets[2 * index]);
}

std::string TPatternMatcher::Group(int index) const {
    const int position = GroupPosition(index);
    const int length = GroupLength(index);
    if (length <= 0 || position <= 0) return std::string();
    return fSubject.substr(static_cast<size_t>(position - 1), static_cast<size_t>(length));
}
