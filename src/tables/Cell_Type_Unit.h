// Cell_Type_Unit: the cell types of the typed grid, and CheckType, which says
// whether a text is of a type: format tests, sign and range tests on numbers,
// look-ups in three reference lists, and combinations of other types.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TMyDatabase;

// The cell types, by their numbers (colour rules and files use the numbers).
enum TCellType : uint8_t {
    ctInteger = 0,
    ctReal = 1,
    ctBoolean = 2,
    ctAnyText = 3,
    ctNoText = 4,
    ctEmpty = 5,
    ctNotEmpty = 6,
    ctAnything = 7,
    ctIntegerNotNegative = 8,
    ctIntegerPositive = 9,
    ctIntegerNotPositive = 10,
    ctIntegerOrEmpty = 11,
    ctDigits = 12,
    ctRealNotNegative = 13,
    ctEmptyOrRealNotNegative = 14,
    ctRealPositive = 15,
    ctRealBeingTyped = 16,
    ctRealBeingTypedOrEmpty = 17,
    ctRealAtLeastOne = 18,
    ctRealNotPositive = 19,
    ctRealNegative = 20,
    ctPhoneOrEmpty = 21,
    ctEmailOrEmpty = 22,
    ctCountry = 23,
    ctThirteenCharacters = 24,
    ctFourDigits = 25,
    ctCipCode = 26,
    ctDate = 27,
    ctCipNotPsychotrope = 28,
    ctNotCipOrPsychotrope = 29,
    ctPsychotrope = 30,
    ctStupefiant = 31,
    ctNeitherCipNorEmptyOrPsychotrope = 32,
    ctCipNotStartingWith3 = 33,
    ctFACode = 34,
    ctDECode = 35,
    ctAVCode = 36,
    ctNotReal = 37,
    ctNotDigits = 38,
    ctNotPhone = 39,
    ctNotCip = 40,
    ctNotFourDigits = 41,
    ctNotEmptyNotFourDigits = 42,
    ctNotEmptyNotPhone = 43,
    ctNotEmptyNotCip = 44,
    ctNotRealAtLeastOne = 45,
    ctNotEmptyNotFACode = 46,
    ctNotEmptyNotDECode = 47,
    ctNotEmptyNotAVCode = 48,
    ctNotEmptyNotEmail = 49,
    ctNotDate = 50,
    ctNotInteger = 51,
    ctCountryOrEmpty = 52,
    ctNeitherCountryNorEmpty = 53,
    // Not a check: the colour rule that hands the choice to the colour function.
    ctColorFunction = 54,
};

// The three reference lists of the look-up types, each made from its file on the
// first look-up that needs it and kept (a missing file gives an empty list).
class TReferenceLists {
  public:
    TReferenceLists();
    ~TReferenceLists();
    TReferenceLists(const TReferenceLists&) = delete;
    TReferenceLists& operator=(const TReferenceLists&) = delete;

    // Whether the upper-cased text, used as a whole pattern, matches an entry.
    bool InCountries(const std::string& text);
    bool InPsychotropes(const std::string& text);
    bool InStupefiants(const std::string& text);

  private:
    std::unique_ptr<TMyDatabase> fCountries;
    std::unique_ptr<TMyDatabase> fPsychotropes;
    std::unique_ptr<TMyDatabase> fStupefiants;
};

// The lists of every grid made without lists of its own: made on first use, kept
// for the rest of the process.
TReferenceLists& ProcessReferenceLists();

// Whether the text, without its surrounding spaces, is of the type (0 to 53). Any
// other type sends a line and is false. Combinations are evaluated left to right
// and stop as soon as the result is known, so a list is read only when reached.
bool CheckType(const std::string& text, TCellType type, TReferenceLists& lists);
