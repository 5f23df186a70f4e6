#include "common/String_Manager_Unit.h"

#include <algorithm>
#include <charconv>

#include "base/Ascii.h"
#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "common/Pattern_Matcher_Unit.h"
#include "diagnostics/TraceUnit.h"

namespace {

TPatternMatcher StudiedMatcher(const char* pattern) {
    TPatternMatcher matcher;
    matcher.SetRegEx(pattern);
    matcher.Study();
    return matcher;
}

bool Matches(TPatternMatcher& matcher, const std::string& text) {
    matcher.SetSubject(text);
    return matcher.Match();
}

// One matcher per check, made on its first call.
#define KAVELIN_CHECK_MATCHER(name, pattern)                      \
    TPatternMatcher& name() {                                     \
        static TPatternMatcher matcher = StudiedMatcher(pattern); \
        return matcher;                                           \
    }

KAVELIN_CHECK_MATCHER(IntegerMatcher, "^0$|^-?[1-9][0-9]*$")
KAVELIN_CHECK_MATCHER(RealMatcher, "^-?0[\\.\\,][0-9]+$|^0$|^-?[1-9][0-9]*([\\.\\,][0-9]+)?$")
KAVELIN_CHECK_MATCHER(DateMatcher, "^[0-9]{2}/[0-9]{2}/[0-9]{4}$")
KAVELIN_CHECK_MATCHER(DigitsMatcher, "^[0-9]+$")
KAVELIN_CHECK_MATCHER(EmailMatcher, "^.+@.+\\..+$")
KAVELIN_CHECK_MATCHER(PhoneMatcher, "^\\+?[ \\.0-9]{6}[ \\.0-9]*$")
KAVELIN_CHECK_MATCHER(FACodeMatcher, "^FA[0-9]{5}$")
KAVELIN_CHECK_MATCHER(AVCodeMatcher, "^AV[0-9]{3}[0-9]?$")
KAVELIN_CHECK_MATCHER(DECodeMatcher, "^DE[0-9]{4}[0-9]?$")
KAVELIN_CHECK_MATCHER(BooleanMatcher, "^true$|^false$")
KAVELIN_CHECK_MATCHER(IniSectionMatcher, "^[ \\t]*\\[(.+)\\][ \\t]*$")
KAVELIN_CHECK_MATCHER(IniCommentMatcher, "^\\;.*$")
KAVELIN_CHECK_MATCHER(IniKeyValueMatcher, "^[ \\t]*(.+)[ \\t]*=[ \\t]*(.+)[ \\t]*$")

#undef KAVELIN_CHECK_MATCHER

// TrimChar(matcher.Group(index), character), made as one string: the reader of
// INI text calls it for every line.
std::string GroupTrimmed(const TPatternMatcher& matcher, int index, char character) {
    const int position = matcher.GroupPosition(index);
    const int length = matcher.GroupLength(index);
    if (length <= 0 || position <= 0) return std::string();
    const std::string_view group =
        std::string_view(matcher.Subject())
            .substr(static_cast<size_t>(position - 1), static_cast<size_t>(length));
    const size_t first = group.find_first_not_of(character);
    if (first == std::string_view::npos) return std::string();
    return std::string(group.substr(first, group.find_last_not_of(character) - first + 1));
}

TPatternMatcher& FreeMatcher() {
    static TPatternMatcher matcher;
    return matcher;
}

// The digits of a code that passed its check (a line end that "$" let through
// is not read).
int64_t CodeNumber(const std::string& text) {
    int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int32_t Sign(int64_t a, int64_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// A text that passed IsDate, as the number yyyymmdd. Valid dates compare by it
// exactly as calendar dates do. Texts of the date shape that name no calendar day
// (month 13, 31 February) are not refused: they compare by the same number, so
// they sit where their year, month and day put them and the comparison stays a
// consistent order.
int64_t DateKey(const std::string& text) {
    const auto number = [&](size_t from, size_t count) {
        int64_t n = 0;
        for (size_t i = from; i < from + count; ++i) n = n * 10 + (text[i] - '0');
        return n;
    };
    return number(6, 4) * 10000 + number(3, 2) * 100 + number(0, 2);
}

std::string Replaced(std::string text, char from, char to) {
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

}  // namespace

// ---- type checks ----

bool TStringManager::IsInteger(const std::string& text) {
    return text.size() < 19 && Matches(IntegerMatcher(), text);
}
bool TStringManager::IsReal(const std::string& text) {
    return Matches(RealMatcher(), text);
}
bool TStringManager::IsDate(const std::string& text) {
    return Matches(DateMatcher(), text);
}
bool TStringManager::IsDigits(const std::string& text) {
    return Matches(DigitsMatcher(), text);
}
bool TStringManager::IsEmail(const std::string& text) {
    return Matches(EmailMatcher(), text);
}
bool TStringManager::IsPhone(const std::string& text) {
    return Matches(PhoneMatcher(), text);
}
bool TStringManager::IsFACode(const std::string& text) {
    return Matches(FACodeMatcher(), text);
}
bool TStringManager::IsAVCode(const std::string& text) {
    return Matches(AVCodeMatcher(), text);
}
bool TStringManager::IsDECode(const std::string& text) {
    return Matches(DECodeMatcher(), text);
}
bool TStringManager::IsBoolean(const std::string& text) {
    return Matches(BooleanMatcher(), text);
}

bool TStringManager::IsCheckDigitCode(const std::string& text) {
    const std::string code = Trim(text);
    if (code.size() != 7 || !IsDigits(code)) return false;
    int sum = 0;
    for (int i = 0; i < 6; ++i) sum += (i + 2) * (code[static_cast<size_t>(i)] - '0');
    return code[6] - '0' == sum % 11 % 10;
}

// ---- text routines ----

std::string TStringManager::MyStrCopy(const std::string& text, int32_t fromPos, int32_t toPos) {
    const int64_t length = static_cast<int64_t>(text.size());
    const std::string prefix = "String_Manager_Unit:TStringManager.MyStrCopy:";
    if (fromPos > length)
        Messenger.Error(prefix + "Bad FromPos : " + IntToStr(fromPos) + " in " + text);
    if (fromPos > toPos)
        Messenger.Error(prefix + "FromPos " + IntToStr(fromPos) + " > ToPos : " + IntToStr(toPos) +
                        " in " + text);
    if (toPos > length) Messenger.Error(prefix + "Bad ToPos : " + IntToStr(toPos) + " in " + text);
    if (fromPos <= 0 || toPos <= 0) Messenger.Error(prefix + "null or negative param in " + text);
    const int64_t first = std::max<int64_t>(1, std::min(fromPos, toPos));
    const int64_t last = std::min<int64_t>(length, std::max(fromPos, toPos));
    if (last < first) return std::string();
    return text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
}

TExtended TStringManager::MyStrToFloat(const std::string& text) {
    std::string converted = text;
    if (DecimalSeparator() == ',') converted = DotToComma(text);
    if (DecimalSeparator() == '.') converted = CommaToDot(text);
    if (!IsReal(converted)) {
        Messenger.Error("TStringManager.MyStrToFloat : " + converted + " is not a real");
        return 0;
    }
    // Read in the C notation whatever the process's locale says.
    const std::string c = CommaToDot(converted);
    TExtended value = 0;
    std::from_chars(c.data(), c.data() + c.size(), value);
    return value;
}

std::string TStringManager::DotToComma(const std::string& text) {
    return Replaced(text, '.', ',');
}
std::string TStringManager::CommaToDot(const std::string& text) {
    return Replaced(text, ',', '.');
}

std::string TStringManager::TrimChar(const std::string& text, char character) {
    const size_t first = text.find_first_not_of(character);
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(character);
    return text.substr(first, last - first + 1);
}

std::string TStringManager::Trim(const std::string& text) {
    return std::string(TrimmedPart(text));
}

std::string_view TStringManager::TrimmedPart(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0, last = text.size();
    while (first < last && blank(text[first])) ++first;
    while (last > first && blank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string TStringManager::LowerCase(const std::string& text) {
    return AsciiLowerCase(text);
}

std::string TStringManager::UpperCase(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string TStringManager::GetField(const std::string& text, int32_t fieldNumber, char separator) {
    int32_t field = 1;
    std::string result;
    for (char c : text) {
        if (c == separator) {
            if (++field > fieldNumber) break;
        } else if (field == fieldNumber) {
            result += c;
        }
    }
    return result;
}

std::string TStringManager::Printable(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) {
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 15];
        } else {
            shown += c;
        }
    }
    return shown;
}

std::vector<std::string> TStringManager::FirstFields(const std::string& text, int32_t limit,
                                                     char separator) {
    std::vector<std::string> fields(static_cast<size_t>(std::max(limit, 0)));
    size_t field = 0;
    size_t start = 0;
    while (field < fields.size()) {
        const size_t end = text.find(separator, start);
        fields[field++] = text.substr(start, end == std::string::npos ? end : end - start);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return fields;
}

int32_t TStringManager::CountFields(const std::string& text, char separator) {
    if (text.empty()) return 0;
    return static_cast<int32_t>(std::count(text.begin(), text.end(), separator)) + 1;
}

bool TStringManager::SamePrefix(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    const size_t n = std::min(a.size(), b.size());
    return a.compare(0, n, b, 0, n) == 0;
}

int32_t TStringManager::MyPos(const std::string& needle, const std::string& text) {
    if (needle.empty()) return 0;
    const size_t p = text.find(needle);
    return p == std::string::npos ? 0 : static_cast<int32_t>(p) + 1;
}

bool TStringManager::MatchRegex(const std::string& pattern, const std::string& text) {
    TPatternMatcher& matcher = FreeMatcher();
    if (pattern != matcher.RegEx()) {
        matcher.SetRegEx(pattern);
        matcher.Study();
    }
    return Matches(matcher, text);
}

int32_t TStringManager::CompareTyped(const std::string& a, const std::string& b) {
    if (a == b) return 0;
    return CompareTyped(TypedKey(a), TypedKey(b));
}

// The checks have no effect beyond their answer, so reading all of them for each
// text answers as the comparison's own short-circuit order does.
TStringManager::TTypedKey TStringManager::TypedKey(const std::string& text) {
    TTypedKey key;
    key.Text = &text;
    const std::optional<int64_t> integer = ParseInt64(text, TIntegerForm::Pattern);
    key.Integer = integer.has_value();
    if (key.Integer) key.IntegerValue = *integer;
    key.Real = IsReal(text);
    if (key.Real) key.RealValue = MyStrToFloat(text);
    key.Date = IsDate(text);
    if (key.Date) key.DateValue = DateKey(text);
    key.CodeFamily = IsAVCode(text) ? 'A' : IsDECode(text) ? 'D' : IsFACode(text) ? 'F' : 0;
    if (key.CodeFamily)
        key.CodeValue = CodeNumber(MyStrCopy(text, 3, static_cast<int32_t>(text.size())));
    return key;
}

int32_t TStringManager::CompareTyped(const TTypedKey& ka, const TTypedKey& kb) {
    const std::string& a = *ka.Text;
    const std::string& b = *kb.Text;
    if (a == b) return 0;
    if (ka.Integer && kb.Integer) return Sign(ka.IntegerValue, kb.IntegerValue);
    if (ka.Real && kb.Real) {
        return ka.RealValue < kb.RealValue ? -1 : ka.RealValue > kb.RealValue ? 1 : 0;
    }
    if (ka.Date && kb.Date) return Sign(ka.DateValue, kb.DateValue);
    if (ka.CodeFamily && ka.CodeFamily == kb.CodeFamily) return Sign(ka.CodeValue, kb.CodeValue);
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return static_cast<int32_t>(static_cast<unsigned char>(a[i])) -
                   static_cast<int32_t>(static_cast<unsigned char>(b[i]));
    return static_cast<int32_t>(a.size()) - static_cast<int32_t>(b.size());
}

// ---- INI lines ----

std::string TStringManager::ClassifyLine(const std::string& line) {
    switch (ParseIniLine(line).Kind) {
        case TIniLineKind::Section:
            return "section";
        case TIniLineKind::Comment:
            return "comment";
        case TIniLineKind::KeyValue:
            return "keyvalue";
        case TIniLineKind::Error:
            break;
    }
    return "error";
}

std::string TStringManager::SectionName(const std::string& line) {
    TPatternMatcher& m = IniSectionMatcher();
    return Matches(m, line) ? GroupTrimmed(m, 1, ' ') : std::string();
}

std::string TStringManager::KeyOf(const std::string& line) {
    TPatternMatcher& m = IniKeyValueMatcher();
    return Matches(m, line) ? GroupTrimmed(m, 1, ' ') : std::string();
}

std::string TStringManager::ValueOf(const std::string& line) {
    TPatternMatcher& m = IniKeyValueMatcher();
    return Matches(m, line) ? GroupTrimmed(m, 2, ' ') : std::string();
}

// The three patterns in their order; the first that matches gives the kind.
TStringManager::TIniLine TStringManager::ParseIniLine(const std::string& line) {
    TIniLine result;
    if (TPatternMatcher& m = IniSectionMatcher(); Matches(m, line)) {
        result.Kind = TIniLineKind::Section;
        result.Name = GroupTrimmed(m, 1, ' ');
    } else if (Matches(IniCommentMatcher(), line)) {
        result.Kind = TIniLineKind::Comment;
    } else if (TPatternMatcher& kv = IniKeyValueMatcher(); Matches(kv, line)) {
        result.Kind = TIniLineKind::KeyValue;
        result.Name = GroupTrimmed(kv, 1, ' ');
        result.Value = GroupTrimmed(kv, 2, ' ');
    }
    return result;
}

// ---- TListOfPairOfStrings ----

int32_t TListOfPairOfStrings::FindPos(const std::string& key, int32_t low, int32_t high) const {
    return BisectSortedPos(key, low, high,
                           [this](int32_t i) -> const std::string& { return KeyAt(i); });
}

void TListOfPairOfStrings::add(const std::string& key, const std::string& data) {
    if (key.empty()) {
        Messenger.Error("String_Manager_Unit:TListOfPairOfStrings.add: cl\xE9 vide");
        return;
    }
    if (data.empty()) Messenger.Warning("String_Manager_Unit:TListOfPairOfStrings.add: data vide");
    const int32_t p = FindPos(key, 0, Count() - 1);
    if (HoldsAt(p, key)) {
        ReportRepeatedKey(key);
        fPairs[static_cast<size_t>(p)].second = data;
        return;
    }
    fPairs.insert(fPairs.begin() + p, {key, data});
}

void TListOfPairOfStrings::ReportRepeatedKey(const std::string& key) {
    Messenger.Error("String_Manager_Unit:TListOfPairOfStrings.add:cl\xE9 deja existante : " + key);
}

std::string TListOfPairOfStrings::getData(const std::string& key) const {
    const int32_t p = FindPos(key, 0, Count() - 1);
    if (HoldsAt(p, key)) return DataAt(p);
    Messenger.Warning("TListOfPairOfStrings.getData: parametre n'existe pas : " + key);
    return std::string();
}

bool TListOfPairOfStrings::HasKey(const std::string& key) const {
    return HoldsAt(FindPos(key, 0, Count() - 1), key);
}
