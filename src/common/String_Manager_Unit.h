// Text routines shared by the database, the typed grid and the INI reader: type
// checks of cell texts, a typed comparison, substring and field extraction,
// decimal-separator conversion and the classification of INI lines; and the
// key/data pair list that each INI section holds.
//
// Positions in texts count from 1. Bad arguments are reported through the
// Messenger and the routine still returns a value. Each check owns one pattern
// matcher, compiled and studied on its first call and kept for the process;
// the matchers hold per-match state, so these routines are for the
// user-interface thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/My_Types_Unit.h"

class TStringManager {
  public:
    TStringManager() = delete;

    // ---- type checks: true when the whole text matches (case-sensitive; the
    // empty text never matches). As in PCRE, "$" also accepts one line end
    // at the very end of the text. Patterns take every line end that PCRE's
    // "any" convention knows: CR, LF, CR LF, and the bytes 0x0B, 0x0C and 0x85
    // (the ellipsis of Windows-1252), so a text holding one of those inside it
    // is two lines to "^" and "$"; the INI reader's line patterns likewise skip
    // such a line or stop its value there.
    static bool IsInteger(const std::string& text);  // "^0$|^-?[1-9][0-9]*$", < 19 characters
    static bool IsReal(const std::string& text);     // point or comma as separator
    static bool IsDate(const std::string& text);     // dd/mm/yyyy by shape only
    static bool IsDigits(const std::string& text);
    static bool IsEmail(const std::string& text);
    static bool IsPhone(const std::string& text);
    static bool IsFACode(const std::string& text);   // "^FA[0-9]{5}$"
    static bool IsAVCode(const std::string& text);   // "^AV[0-9]{3}[0-9]?$"
    static bool IsDECode(const std::string& text);   // "^DE[0-9]{4}[0-9]?$"
    static bool IsBoolean(const std::string& text);  // "true" or "false"
    // Seven digits once trimmed (Trim), the last equal to
    // (2 d1 + 3 d2 + 4 d3 + 5 d4 + 6 d5 + 7 d6) mod 11 mod 10.
    static bool IsCheckDigitCode(const std::string& text);

    // ---- text routines ----

    // Characters max(1, min(from, to)) to min(length, max(from, to)), after
    // reporting a position beyond the text, from > to, and a position of 0 or less.
    static std::string MyStrCopy(const std::string& text, int32_t fromPos, int32_t toPos);
    // The value of a real text, read with the current decimal separator (point or
    // comma are both accepted); 0 with an error report when it is not a real.
    static TExtended MyStrToFloat(const std::string& text);
    static std::string DotToComma(const std::string& text);
    static std::string CommaToDot(const std::string& text);
    // Without every leading and trailing `character`.
    static std::string TrimChar(const std::string& text, char character);
    // Without leading and trailing blanks and control characters (bytes up to 32).
    static std::string Trim(const std::string& text);
    // The part of `text` that Trim keeps.
    static std::string_view TrimmedPart(std::string_view text);
    // The text with every control byte (below 32, and 127) written as \xNN, so
    // that a message quoting a line read from a file shows it whole.
    static std::string Printable(const std::string& text);
    // Only the letters A to Z (a to z) change; accented letters stay as they are.
    static std::string LowerCase(const std::string& text);
    static std::string UpperCase(const std::string& text);
    // Field `fieldNumber` (from 1) of the text split at each `separator`; the
    // empty text beyond the last field.
    static std::string GetField(const std::string& text, int32_t fieldNumber, char separator);
    // Separators + 1; 0 for the empty text.
    static int32_t CountFields(const std::string& text, char separator);
    // The first `limit` fields of the text in one pass: GetField(text, k,
    // separator) for k = 1 .. limit, so the empty text beyond the last field.
    static std::vector<std::string> FirstFields(const std::string& text, int32_t limit,
                                                char separator);
    // False when either is empty; otherwise true when one begins with the other.
    static bool SamePrefix(const std::string& a, const std::string& b);
    // 1-based position of the first `needle` in `text`; 0 when absent or empty.
    static int32_t MyPos(const std::string& needle, const std::string& text);
    // Matches `text` against `pattern` on one shared matcher, which is compiled
    // and studied again only when the pattern differs from the previous call's.
    // Raises the matcher's error for an empty or invalid pattern.
    static bool MatchRegex(const std::string& pattern, const std::string& text);
    // Negative, zero or positive: integers by value, then reals, then dates, then
    // the AV, DE and FA code families by their number, otherwise the ordinal
    // byte comparison (its raw difference).
    static int32_t CompareTyped(const std::string& a, const std::string& b);
    // What CompareTyped reads of one text, read once, for sorts that compare each
    // text with many others. The key points to its text, which must outlive it.
    struct TTypedKey {
        const std::string* Text = nullptr;
        bool Integer = false;
        bool Real = false;
        bool Date = false;
        char CodeFamily = 0;  // 'A', 'D' or 'F' for the AV, DE and FA codes
        int64_t IntegerValue = 0;
        TExtended RealValue = 0;
        int64_t DateValue = 0;
        int64_t CodeValue = 0;
    };
    static TTypedKey TypedKey(const std::string& text);
    // The same as CompareTyped of the two keys' texts.
    static int32_t CompareTyped(const TTypedKey& a, const TTypedKey& b);

    // ---- INI lines ----

    // "section", "comment", "keyvalue" or "error".
    static std::string ClassifyLine(const std::string& line);
    static std::string SectionName(const std::string& line);
    static std::string KeyOf(const std::string& line);
    static std::string ValueOf(const std::string& line);

    enum class TIniLineKind { Section, Comment, KeyValue, Error };
    struct TIniLine {
        TIniLineKind Kind = TIniLineKind::Error;
        std::string Name;   // a section's name, or a key, blanks trimmed
        std::string Value;  // a key's value, blanks trimmed
    };
    // ClassifyLine, SectionName, KeyOf and ValueOf in one pass: each pattern is
    // tried at most once.
    static TIniLine ParseIniLine(const std::string& line);
};

// The bisection that the sorted lists of texts share (the pair list by key, the
// INI reader's sections by name): the position of `key` among keyAt(low) ..
// keyAt(high), sorted ascending by byte value, or the position where it would be
// inserted to keep the order. Keys of any ordered type may stand in for the texts. Each step
// narrows the range by at least one.
template <class TKey, class TKeyAt>
int32_t BisectSortedPos(const TKey& key, int32_t low, int32_t high, const TKeyAt& keyAt) {
    if (high < low) return low;
    if (key == keyAt(low)) return low;
    if (key == keyAt(high)) return high;
    if (key < keyAt(low)) return low;
    if (key > keyAt(high)) return high + 1;
    const int32_t mid = low + (high - low) / 2;  // (low + high) / 2, both >= 0
    if (key < keyAt(mid)) return BisectSortedPos(key, low + 1, mid, keyAt);
    return BisectSortedPos(key, mid, high - 1, keyAt);
}

// A dictionary from key to data, kept as a list sorted by key (ordinal,
// case-sensitive) and searched by bisection. Keys are unique and never empty.
class TListOfPairOfStrings {
  public:
    // Inserts, or overwrites the data of an existing key after reporting it. An
    // empty key is reported and not added; empty data is reported and added.
    void add(const std::string& key, const std::string& data);
    // The data of exactly this key; the empty text with a warning when absent.
    std::string getData(const std::string& key) const;
    // Silent.
    bool HasKey(const std::string& key) const;
    // The position of the key, or where it would be inserted, between low and
    // high (called as FindPos(key, 0, Count() - 1)).
    int32_t FindPos(const std::string& key, int32_t low, int32_t high) const;

    // The error add gives for a key that the list holds already.
    static void ReportRepeatedKey(const std::string& key);
    // Replaces every pair at once with `pairs`, which must be sorted by key with
    // unique, non-empty keys (as add would have left them). Silent.
    void AssignSorted(std::vector<std::pair<std::string, std::string>> pairs) {
        fPairs = std::move(pairs);
    }

    int32_t Count() const { return static_cast<int32_t>(fPairs.size()); }
    const std::string& KeyAt(int32_t i) const { return fPairs[static_cast<size_t>(i)].first; }
    const std::string& DataAt(int32_t i) const { return fPairs[static_cast<size_t>(i)].second; }

  private:
    bool HoldsAt(int32_t p, const std::string& key) const {
        return p >= 0 && p < Count() && KeyAt(p) == key;
    }

    std::vector<std::pair<std::string, std::string>> fPairs;
};
