// The cell types: which of the 54 types awkward texts belong to, the reference
// lists and their look-ups, and the types that combine others.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/Real_Format.h"
#include "support/Trace_Capture.h"
#include "tables/Cell_Type_Unit.h"

namespace {

class CellTypes : public ::testing::Test {
  protected:
    void SetUp() override { fSeparator = DecimalSeparator(); }
    void TearDown() override { SetDecimalSeparator(fSeparator); }

    // The types from 0 to 53 that the text has.
    std::set<int> TypesOf(const std::string& text) {
        std::set<int> types;
        for (int type = 0; type <= 53; ++type)
            if (CheckType(text, static_cast<TCellType>(type), fLists)) types.insert(type);
        return types;
    }
    bool Is(const std::string& text, int type) {
        return CheckType(text, static_cast<TCellType>(type), fLists);
    }

    TTraceCapture fCapture;
    TReferenceLists fLists;
    char fSeparator = '.';
};

// Runs the test body with the working directory in a folder without Data.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path& folder)
        : fBefore(std::filesystem::current_path()) {
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    ~WorkingDirectory() { std::filesystem::current_path(fBefore); }

  private:
    std::filesystem::path fBefore;
};

}  // namespace

TEST_F(CellTypes, NumbersAndTheirSigns) {
    SetDecimalSeparator(',');
    for (int type : {0, 1, 8, 9, 12, 13, 15, 18}) EXPECT_TRUE(Is(" 12 ", type)) << type;
    for (int type : {10, 19, 20, 37, 51}) EXPECT_FALSE(Is(" 12 ", type)) << type;
    for (int type : {0, 8, 9, 10, 11}) EXPECT_FALSE(Is("-0", type)) << type;
    for (int type : {0, 8, 10, 11}) EXPECT_TRUE(Is("0", type)) << type;
    EXPECT_FALSE(Is("0", 9));
    EXPECT_TRUE(Is("-7", 10));
    EXPECT_TRUE(Is("-7", 20));
    // An integer too large for 32 bits keeps its sign.
    EXPECT_TRUE(Is("999999999999999999", 9));
    EXPECT_FALSE(Is("-99999999999999999", 8));
    EXPECT_TRUE(Is("-99999999999999999", 10));

    const std::set<int> half = TypesOf("0,5");
    for (int type : {1, 13, 14, 15, 17}) EXPECT_TRUE(half.count(type)) << type;
    EXPECT_FALSE(half.count(18));
    EXPECT_TRUE(half.count(16));
    // A real being typed.
    EXPECT_TRUE(Is("3,", 16));
    EXPECT_TRUE(Is("3,", 17));
    EXPECT_FALSE(Is("3,", 1));
    EXPECT_FALSE(Is("3,", 13));
    EXPECT_FALSE(Is(",", 16));
    SetDecimalSeparator('.');
    EXPECT_FALSE(Is("3,", 16));
    EXPECT_TRUE(Is("3.", 16));
    EXPECT_TRUE(Is("0,5", 15));  // a comma is read whatever the separator
    EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(CellTypes, TheEmptyTextAndSpaces) {
    const std::set<int> expected{3,  5,  7,  11, 14, 17, 21, 22, 29,
                                 37, 38, 39, 40, 41, 45, 50, 51, 52};
    EXPECT_EQ(TypesOf(""), expected);
    EXPECT_EQ(TypesOf("   "), expected);
    EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(CellTypes, FormatsAndCodes) {
    EXPECT_TRUE(Is("true", 2));
    EXPECT_FALSE(Is("True", 2));
    EXPECT_TRUE(Is("01/02/2024", 27));
    EXPECT_FALSE(Is("1/02/2024", 27));
    EXPECT_TRUE(Is("1/02/2024", 50));
    EXPECT_TRUE(Is("+33 1.23.45", 21));
    EXPECT_TRUE(Is("+33 1.23.45", 6));
    EXPECT_FALSE(Is("+33 1.23.45", 39));
    EXPECT_FALSE(Is("+33 1.23.45", 43));
    EXPECT_TRUE(Is("a@b.c", 22));
    EXPECT_FALSE(Is("a@b.c", 49));
    EXPECT_TRUE(Is("ab", 49));
    EXPECT_TRUE(Is("0123", 25));
    EXPECT_FALSE(Is("0123", 42));
    EXPECT_TRUE(Is("01234", 42));
    EXPECT_TRUE(Is("1234567890123", 24));
    EXPECT_FALSE(Is("123456789012", 24));

    EXPECT_TRUE(Is("AV1234", 36));
    EXPECT_TRUE(Is("AV123", 36));
    EXPECT_FALSE(Is("AV12", 36));
    EXPECT_TRUE(Is("AV12", 48));
    EXPECT_FALSE(Is("", 48));
    EXPECT_TRUE(Is("DE12345", 35));
    EXPECT_FALSE(Is("DE123", 35));
    EXPECT_TRUE(Is("DE123", 47));
    EXPECT_TRUE(Is("FA12345", 34));
    EXPECT_FALSE(Is("FA1234", 34));
    EXPECT_TRUE(Is("FA1234", 46));
    EXPECT_FALSE(Is("FA12345", 46));
}

TEST_F(CellTypes, CheckDigitCodesAndTheirLists) {
    // 2*3 + 3*4 + 4*0 + 5*0 + 6*9 + 7*3 = 93, and 93 mod 11 = 5.
    EXPECT_TRUE(Is("3400935", 26));
    EXPECT_FALSE(Is("3400935", 33));
    EXPECT_TRUE(Is("3400935", 28));  // not in the sample list
    EXPECT_FALSE(Is("3400935", 29));
    EXPECT_FALSE(Is("3400935", 32));
    EXPECT_TRUE(Is("3400936", 40));
    EXPECT_TRUE(Is("3400936", 44));
    EXPECT_FALSE(Is("3400936", 26));
    EXPECT_TRUE(Is("3400936", 32));
    EXPECT_TRUE(Is("1000002", 33));  // 2*1 = 2
    // The samples of the two lists.
    EXPECT_TRUE(Is("3400332", 30));
    EXPECT_FALSE(Is("3400332", 28));
    EXPECT_TRUE(Is("3400332", 29));
    EXPECT_TRUE(Is("3400332", 32));
    EXPECT_FALSE(Is("3400332", 31));
    EXPECT_TRUE(Is("3500750", 31));
    EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(CellTypes, CountriesAreLookedUpInCapitals) {
    EXPECT_TRUE(Is("france", 23));
    EXPECT_TRUE(Is(" France ", 23));
    EXPECT_TRUE(Is("ALG\xC9RIE", 23));
    // Only a to z are raised: a lower-case accented letter stays and misses.
    EXPECT_FALSE(Is("alg\xE9rie", 23));
    EXPECT_TRUE(Is("alg\xE9rie", 53));
    EXPECT_TRUE(Is("", 52));
    EXPECT_FALSE(Is("Atlantide", 52));
    // The text acts as a pattern.
    EXPECT_TRUE(Is("FRAN.E", 23));
    EXPECT_THROW(Is("(", 23), std::exception);
    EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(CellTypes, OrAndAndStopAsSoonAsTheResultIsKnown) {
    // Type 52 is "in the list or empty": the list is searched even for the empty
    // text, since the look-up comes first; type 14 never reaches 13 for it.
    fCapture.Reset();
    {
        WorkingDirectory nowhere(std::filesystem::temp_directory_path() / "kavelin-no-data");
        TReferenceLists lists;
        EXPECT_TRUE(CheckType("", TCellType(14), lists));
        EXPECT_TRUE(fCapture.Lines().empty());
        // Types 28 and 44 do not look the code up when it is no code.
        EXPECT_FALSE(CheckType("12", TCellType(28), lists));
        EXPECT_TRUE(fCapture.Lines().empty());
        EXPECT_TRUE(CheckType("", TCellType(29), lists));
        EXPECT_TRUE(fCapture.Lines().empty());
        // A missing list: each look-up reports the missing field and finds nothing.
        EXPECT_FALSE(CheckType("france", TCellType(23), lists));
        EXPECT_TRUE(
            fCapture.HasLine("TMyDatabase.GetFieldPos:impossible de trouver le champ Nom Pays"));
        fCapture.Reset();
        EXPECT_TRUE(CheckType("france", TCellType(53), lists));
        EXPECT_EQ(fCapture.Boxes().size(), 1u);
        EXPECT_TRUE(CheckType("", TCellType(52), lists));
        EXPECT_EQ(fCapture.Boxes().size(), 2u);
        EXPECT_FALSE(CheckType("3400332", TCellType(30), lists));
        EXPECT_TRUE(fCapture.HasLine(
            "TMyDatabase.GetFieldPos:impossible de trouver le champ CIP Psychotrope"));
        EXPECT_FALSE(CheckType("3500750", TCellType(31), lists));
        EXPECT_TRUE(
            fCapture.HasLine("TMyDatabase.GetFieldPos:impossible de trouver le champ CIP Stup\xE9"
                             "fiant"));
    }
}

TEST_F(CellTypes, TypesBeyondTheTableAreReported) {
    EXPECT_FALSE(Is("x", 54));
    EXPECT_FALSE(Is("x", 255));
    EXPECT_EQ(fCapture.Lines(),
              (std::vector<std::string>(
                  2,
                  "TMyStringGrid.CheckType: Analyse de ce type pas encore impl\xE9ment\xE9"
                  "e")));
    EXPECT_TRUE(fCapture.Boxes().empty());
}
