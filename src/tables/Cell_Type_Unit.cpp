#include "tables/Cell_Type_Unit.h"

#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "common/String_Manager_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Paths.h"
#include "tables/Database_Unit.h"

namespace {

using SM = TStringManager;

bool InList(std::unique_ptr<TMyDatabase>& list, const char* fileName, const char* fieldName,
            const std::string& text) {
    if (!list) list = std::make_unique<TMyDatabase>(LocalPath(fileName));
    list->Search(fieldName, "^" + SM::UpperCase(text) + "$", skRegEx);
    return list->ResultCount() >= 1;
}

}  // namespace

TReferenceLists::TReferenceLists() = default;
TReferenceLists::~TReferenceLists() = default;

TReferenceLists& ProcessReferenceLists() {
    static TReferenceLists lists;
    return lists;
}

bool TReferenceLists::InCountries(const std::string& text) {
    return InList(fCountries, "./Data/ListePays.db", "Nom Pays", text);
}

bool TReferenceLists::InPsychotropes(const std::string& text) {
    return InList(fPsychotropes, "./Data/ListePsychotropes.db", "CIP Psychotrope", text);
}

bool TReferenceLists::InStupefiants(const std::string& text) {
    return InList(fStupefiants, "./Data/ListeStupefiants.db",
                  "CIP Stup\xE9"
                  "fiant",
                  text);
}

bool CheckType(const std::string& text, TCellType type, TReferenceLists& lists) {
    const std::string t = SM::TrimChar(text, ' ');
    const auto is = [&lists, &t](TCellType other) { return CheckType(t, other, lists); };
    const std::optional<int64_t> integer = ParseInt64(t, TIntegerForm::Pattern);
    const auto real = [&t] { return SM::IsReal(t); };
    const auto value = [&t] { return SM::MyStrToFloat(t); };
    switch (type) {
        case ctInteger:
            return SM::IsInteger(t);
        case ctReal:
            return real();
        case ctBoolean:
            return SM::IsBoolean(t);
        case ctAnyText:
            return true;
        case ctNoText:
            return false;
        case ctEmpty:
            return t.empty();
        case ctNotEmpty:
            return !t.empty();
        case ctAnything:
            return true;
        case ctIntegerNotNegative:
            return integer && *integer >= 0;
        case ctIntegerPositive:
            return integer && *integer >= 1;
        case ctIntegerNotPositive:
            return integer && *integer <= 0;
        case ctIntegerOrEmpty:
            return SM::IsInteger(t) || t.empty();
        case ctDigits:
            return SM::IsDigits(t);
        case ctRealNotNegative:
            return real() && value() >= 0;
        case ctEmptyOrRealNotNegative:
            return is(ctEmpty) || is(ctRealNotNegative);
        case ctRealPositive:
            return real() && value() > 0;
        case ctRealBeingTyped:
            return real() || (!t.empty() && t.back() == DecimalSeparator() &&
                              SM::IsInteger(t.substr(0, t.size() - 1)));
        case ctRealBeingTypedOrEmpty:
            return is(ctRealBeingTyped) || t.empty();
        case ctRealAtLeastOne:
            return real() && value() >= 1;
        case ctRealNotPositive:
            return real() && value() <= 0;
        case ctRealNegative:
            return real() && value() < 0;
        case ctPhoneOrEmpty:
            return SM::IsPhone(t) || t.empty();
        case ctEmailOrEmpty:
            return SM::IsEmail(t) || t.empty();
        case ctCountry:
            return lists.InCountries(t);
        case ctThirteenCharacters:
            return is(ctAnyText) && t.size() == 13;
        case ctFourDigits:
            return SM::IsDigits(t) && t.size() == 4;
        case ctCipCode:
            return SM::IsCheckDigitCode(t);
        case ctDate:
            return SM::IsDate(t);
        case ctCipNotPsychotrope:
            return is(ctCipCode) && !is(ctPsychotrope);
        case ctNotCipOrPsychotrope:
            return !is(ctCipCode) || is(ctPsychotrope);
        case ctPsychotrope:
            return lists.InPsychotropes(t);
        case ctStupefiant:
            return lists.InStupefiants(t);
        case ctNeitherCipNorEmptyOrPsychotrope:
            return (!is(ctCipCode) && !is(ctEmpty)) || is(ctPsychotrope);
        case ctCipNotStartingWith3:
            return is(ctCipCode) && t[0] != '3';
        case ctFACode:
            return SM::IsFACode(t);
        case ctDECode:
            return SM::IsDECode(t);
        case ctAVCode:
            return SM::IsAVCode(t);
        case ctNotReal:
            return !is(ctReal);
        case ctNotDigits:
            return !is(ctDigits);
        case ctNotPhone:
            return !SM::IsPhone(t);
        case ctNotCip:
            return !is(ctCipCode);
        case ctNotFourDigits:
            return !is(ctFourDigits);
        case ctNotEmptyNotFourDigits:
            return !is(ctFourDigits) && is(ctNotEmpty);
        case ctNotEmptyNotPhone:
            return !SM::IsPhone(t) && is(ctNotEmpty);
        case ctNotEmptyNotCip:
            return !is(ctCipCode) && is(ctNotEmpty);
        case ctNotRealAtLeastOne:
            return !is(ctRealAtLeastOne);
        case ctNotEmptyNotFACode:
            return !is(ctFACode) && is(ctNotEmpty);
        case ctNotEmptyNotDECode:
            return !is(ctDECode) && is(ctNotEmpty);
        case ctNotEmptyNotAVCode:
            return !is(ctAVCode) && is(ctNotEmpty);
        case ctNotEmptyNotEmail:
            return !SM::IsEmail(t) && is(ctNotEmpty);
        case ctNotDate:
            return !is(ctDate);
        case ctNotInteger:
            return !is(ctInteger);
        case ctCountryOrEmpty:
            return is(ctCountry) || is(ctEmpty);
        case ctNeitherCountryNorEmpty:
            return !is(ctCountryOrEmpty);
        default:
            Messenger.Send(
                "TMyStringGrid.CheckType: Analyse de ce type pas encore impl\xE9ment\xE9"
                "e");
            return false;
    }
}
