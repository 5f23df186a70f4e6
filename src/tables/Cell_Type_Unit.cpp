// The cell types of the typed grid: format tests, sign and range tests on
// numbers, look-ups in three reference lists, and combinations of other types.
// Combinations are evaluated left to right and stop as soon as the result is
// known, so a reference list is loaded only when a look-up is reached.
#include <charconv>

#include "common/Real_Format.h"
#include "common/String_Manager_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Paths.h"
#include "tables/Database_Unit.h"
#include "tables/My_String_Grid_Unit.h"

namespace {

using SM = TStringManager;

// The value of a text that IsInteger accepts (at most 18 characters, so it
// always fits in 64 bits).
int64_t IntegerValue(const std::string& t) {
    int64_t value = 0;
    std::from_chars(t.data(), t.data() + t.size(), value);
    return value;
}

}  // namespace

bool TMyStringGrid::InReferenceList(std::unique_ptr<TMyDatabase>& list, const char* fileName,
                                    const char* fieldName, const std::string& text) {
    if (!list) list = std::make_unique<TMyDatabase>(LocalPath(fileName));
    list->Search(fieldName, "^" + SM::UpperCase(text) + "$", skRegEx);
    return list->ResultCount() >= 1;
}

bool TMyStringGrid::CheckType(const std::string& text, TCellType type) {
    const std::string t = SM::TrimChar(text, ' ');
    const auto is = [this, &t](TCellType other) { return CheckType(t, other); };
    const auto integerAtLeast = [&t](int64_t low) {
        return SM::IsInteger(t) && IntegerValue(t) >= low;
    };
    const auto real = [&t] { return SM::IsReal(t); };
    const auto value = [&t] { return SM::MyStrToFloat(t); };
    switch (type) {
        case 0:
            return SM::IsInteger(t);
        case 1:
            return real();
        case 2:
            return SM::IsBoolean(t);
        case 3:
            return true;
        case 4:
            return false;
        case 5:
            return t.empty();
        case 6:
            return !t.empty();
        case 7:
            return true;
        case 8:
            return integerAtLeast(0);
        case 9:
            return integerAtLeast(1);
        case 10:
            return SM::IsInteger(t) && IntegerValue(t) <= 0;
        case 11:
            return SM::IsInteger(t) || t.empty();
        case 12:
            return SM::IsDigits(t);
        case 13:
            return real() && value() >= 0;
        case 14:
            return is(5) || is(13);
        case 15:
            return real() && value() > 0;
        case 16:
            return real() || (!t.empty() && t.back() == DecimalSeparator() &&
                              SM::IsInteger(t.substr(0, t.size() - 1)));
        case 17:
            return is(16) || t.empty();
        case 18:
            return real() && value() >= 1;
        case 19:
            return real() && value() <= 0;
        case 20:
            return real() && value() < 0;
        case 21:
            return SM::IsPhone(t) || t.empty();
        case 22:
            return SM::IsEmail(t) || t.empty();
        case 23:
            return InReferenceList(fCountries, "./Data/ListePays.db", "Nom Pays", t);
        case 24:
            return is(3) && t.size() == 13;
        case 25:
            return SM::IsDigits(t) && t.size() == 4;
        case 26:
            return SM::IsCheckDigitCode(t);
        case 27:
            return SM::IsDate(t);
        case 28:
            return is(26) && !is(30);
        case 29:
            return !is(26) || is(30);
        case 30:
            return InReferenceList(fPsychotropes, "./Data/ListePsychotropes.db", "CIP Psychotrope",
                                   t);
        case 31:
            return InReferenceList(fStupefiants, "./Data/ListeStupefiants.db",
                                   "CIP Stup\xE9"
                                   "fiant",
                                   t);
        case 32:
            return (!is(26) && !is(5)) || is(30);
        case 33:
            return is(26) && t[0] != '3';
        case 34:
            return SM::IsFACode(t);
        case 35:
            return SM::IsDECode(t);
        case 36:
            return SM::IsAVCode(t);
        case 37:
            return !is(1);
        case 38:
            return !is(12);
        case 39:
            return !SM::IsPhone(t);
        case 40:
            return !is(26);
        case 41:
            return !is(25);
        case 42:
            return !is(25) && is(6);
        case 43:
            return !SM::IsPhone(t) && is(6);
        case 44:
            return !is(26) && is(6);
        case 45:
            return !is(18);
        case 46:
            return !is(34) && is(6);
        case 47:
            return !is(35) && is(6);
        case 48:
            return !is(36) && is(6);
        case 49:
            return !SM::IsEmail(t) && is(6);
        case 50:
            return !is(27);
        case 51:
            return !is(0);
        case 52:
            return is(23) || is(5);
        case 53:
            return !is(52);
        default:
            Messenger.Send(
                "TMyStringGrid.CheckType: Analyse de ce type pas encore impl\xE9ment\xE9"
                "e");
            return false;
    }
}
