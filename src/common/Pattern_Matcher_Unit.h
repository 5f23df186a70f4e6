// TPatternMatcher: the one object through which the program uses regular
// expressions, on the classic 8-bit PCRE API. It holds one pattern, compiles it on
// first need, optionally studies it, matches it against one subject at a time and
// hands out the groups of the last match. Unlike the rest of the engines it raises
// exceptions: EPatternMatcherError for a missing or malformed pattern or a study
// failure, EAssertionFailed for a group asked without a successful match.
//
// Subjects and patterns are bytes (Windows-1252 text). Character classes and case
// folding come from pcre_maketables in the process's locale at construction; in
// the C locale only ASCII letters are letters.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include <pcre.h>

class EPatternMatcherError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A broken precondition of the caller, raised as a catchable exception.
class EAssertionFailed : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

enum TPatternMatcherOption : uint32_t {
    pmoCaseLess = 1u << 0,
    pmoMultiLine = 1u << 1,
    pmoSingleLine = 1u << 2,
    pmoExtended = 1u << 3,
    pmoAnchored = 1u << 4,
    pmoUnGreedy = 1u << 5,
    pmoNoAutoCapture = 1u << 6,
};
using TPatternMatcherOptions = uint32_t;  // a set of TPatternMatcherOption

enum TPatternMatcherMatchFlag : uint32_t {
    pmoNotAtLineStart = 1u << 0,
    pmoNotAtLineEnd = 1u << 1,
    pmoNoEmptyMatch = 1u << 2,
};
using TPatternMatcherMatchFlags = uint32_t;

class TPatternMatcher {
  public:
    // Bounds on the work of one match. A pattern taken from user data can
    // backtrack for minutes ("^(a+)+$" on a long run of a's and one b); with these
    // bounds such a match stops within a tenth of a second and counts as a failed
    // match, like any other PCRE error. The work bound still lets a greedy group
    // backtrack over a few million characters (an INI line of 4 MB reads whole).
    // The recursion bound keeps PCRE's recursion (about 500 bytes of stack per
    // level, one level per repetition of a group) far from the end of the stack.
    static constexpr unsigned long kMatchLimit = 5000000;
    static constexpr unsigned long kMatchLimitRecursion = 5000;
    static constexpr int kOffsetVectorSize = 300;

    TPatternMatcher();
    ~TPatternMatcher();
    TPatternMatcher(const TPatternMatcher&) = delete;
    TPatternMatcher& operator=(const TPatternMatcher&) = delete;
    // The moved-from matcher holds nothing compiled and no character tables; it
    // can still be given a pattern (PCRE's built-in tables then serve).
    TPatternMatcher(TPatternMatcher&& other) noexcept;
    TPatternMatcher& operator=(TPatternMatcher&& other) noexcept;

    const std::string& RegEx() const { return fRegEx; }
    // A different text forgets the compiled pattern; the same text keeps it.
    void SetRegEx(const std::string& regEx);
    TPatternMatcherOptions Options() const { return fOptions; }
    void SetOptions(TPatternMatcherOptions options);
    const std::string& Subject() const { return fSubject; }
    // Forgets the last match.
    void SetSubject(const std::string& subject);
    TPatternMatcherMatchFlags MatchFlags() const { return fMatchFlags; }

    // Called after each successful match, when set.
    std::function<void(TPatternMatcher& sender)> OnMatch;

    void Compile();
    void Study();
    bool Match();
    bool HasMatch() const { return fMatchCount > 0; }
    bool Compiled() const { return fCompiled; }
    bool Studied() const { return fStudied; }
    // The number of captured groups the last match reported. Requires HasMatch.
    int GroupCount() const;
    // Group `index` of the last match (0: the whole match); the empty text above
    // GroupCount or for a group that took no part. Requires HasMatch and
    // index >= 0 (EAssertionFailed otherwise).
    std::string Group(int index) const;
    // 1-based position and length of group `index`, as Group reads them; 0, 0
    // for a group beyond GroupCount or that took no part. Requires HasMatch.
    int GroupPosition(int index) const;
    int GroupLength(int index) const;

    void ClearCompiled();

  private:
    void RequireMatch() const;
    void Release();

    bool fCompiled = false;
    bool fStudied = false;
    TPatternMatcherOptions fOptions = 0;
    TPatternMatcherMatchFlags fMatchFlags = pmoNoEmptyMatch;
    std::string fRegEx;
    std::string fSubject;
    int fOffsets[kOffsetVectorSize] = {};
    int fMatchCount = 0;
    int fCompileOptions = PCRE_NEWLINE_ANY;
    pcre* fPattern = nullptr;
    pcre_extra* fStudy = nullptr;
    const unsigned char* fTables = nullptr;
};
