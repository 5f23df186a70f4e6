// The colour rules of the typed grid: first matching rule wins, fixed cells are
// left alone, the colour function overrides, and the rules follow the tables.
#include <gtest/gtest.h>

#include "support/Memory_Grid_Control.h"
#include "support/Trace_Capture.h"
#include "tables/My_String_Grid_Unit.h"

namespace {

class ColourRules : public ::testing::Test {
  protected:
    TTraceCapture fCapture;
    TMemoryGridControl fControl{3, 4};
    TMyStringGrid fGrid{&fControl, nullptr};
};

}  // namespace

TEST_F(ColourRules, TheFirstMatchingRuleGivesTheBackground) {
    fGrid.AddColColorConstraint(1, TCellType(1), clRed);
    fGrid.AddColColorConstraint(1, TCellType(6), clBlue);
    fGrid.PutCell(1, 1, "2,5");
    fGrid.PutCell(1, 2, "abc");
    fGrid.PutCell(1, 3, "");
    EXPECT_EQ(fGrid.CellBackColor(1, 1), clRed);
    EXPECT_EQ(fGrid.CellBackColor(1, 2), clBlue);
    EXPECT_EQ(fGrid.CellBackColor(1, 3), clWhite);
    // Rewriting a cell recomputes it from the default.
    fGrid.PutCell(1, 1, "");
    EXPECT_EQ(fGrid.CellBackColor(1, 1), clWhite);
    EXPECT_EQ(fGrid.CellBackColor(2, 2), clWhite);
    EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(ColourRules, FixedCellsAreNeverColoured) {
    fGrid.AddColColorConstraint(0, TCellType(3), clRed);
    fGrid.AddColColorConstraint(1, TCellType(3), clGreen);
    for (int32_t row = 0; row < 4; ++row) EXPECT_EQ(fGrid.CellBackColor(0, row), clWhite) << row;
    EXPECT_EQ(fGrid.CellBackColor(1, 0), clWhite);
    EXPECT_EQ(fGrid.CellBackColor(1, 1), clGreen);
    EXPECT_EQ(fGrid.CellColorConstraints(0, 2).size(), 1u);
}

TEST_F(ColourRules, ClearingDropsEveryRule) {
    fGrid.AddColColorConstraint(1, TCellType(3), clRed);
    fGrid.AddColColorConstraint(2, TCellType(3), clRed);
    fGrid.ClearColorConstraints();
    for (int32_t col = 0; col < 3; ++col)
        for (int32_t row = 0; row < 4; ++row) EXPECT_EQ(fGrid.CellBackColor(col, row), clWhite);
    fGrid.PutCell(1, 2, "x");
    EXPECT_EQ(fGrid.CellBackColor(1, 2), clWhite);
    EXPECT_TRUE(fGrid.CellColorConstraints(1, 2).empty());

    fGrid.AddColColorConstraint(1, TCellType(3), clRed);
    fGrid.EmptyColorConstraints();
    EXPECT_TRUE(fGrid.CellColorConstraints(1, 2).empty());
    fGrid.PutCell(1, 2, "y");
    EXPECT_EQ(fGrid.CellBackColor(1, 2), clWhite);
}

TEST_F(ColourRules, BadColumnsAndRowsAreReported) {
    fGrid.AddColColorConstraint(3, TCellType(3), clRed);
    EXPECT_TRUE(fCapture.HasLine("TMyStringGrid.AddColColorConstraint : Bad Col Param : 3"));
    fGrid.AddColColorConstraint(-1, TCellType(3), clRed);
    EXPECT_TRUE(fCapture.HasLine("TMyStringGrid.AddColColorConstraint : Bad Col Param : -1"));
    for (int32_t col = 0; col < 3; ++col) EXPECT_TRUE(fGrid.CellColorConstraints(col, 1).empty());
    fGrid.ExecuteColorconstraints(7);
    EXPECT_TRUE(fCapture.HasLine("TMyStringGrid.ExecuteColorconstraints: Bad Params col 7"));
    fGrid.ExecuteColorconstraints(5, 1);
    EXPECT_TRUE(fCapture.HasLine("TMyStringGrid.ExecuteColorconstraints: Bad Params Col 5"));
    fGrid.ExecuteColorconstraints(1, 9);
    EXPECT_TRUE(fCapture.HasLine("TMyStringGrid.ExecuteColorconstraints: Bad Params Row 9"));
    fGrid.InitColors(1, 4);
    EXPECT_TRUE(fCapture.HasLine("TMyStringGrid.InitColors: Bad Params 1 4"));
    // With the colours off the cell form does nothing, and says nothing.
    fCapture.Reset();
    fGrid.ColorsEnabled = false;
    fGrid.ExecuteColorconstraints(5, 1);
    EXPECT_TRUE(fCapture.Lines().empty());
}

TEST_F(ColourRules, AColourFunctionOverridesTheOtherRules) {
    const auto byPosition = [](int32_t col, int32_t row) {
        return RGBColour(10 * col, 10 * row, 1);
    };
    fGrid.AddColColorConstraint(1, TCellType(3), clRed);
    fGrid.AddColColorFunction(1, byPosition);
    fGrid.AddColColorFunction(2, byPosition);
    fGrid.AddColColorConstraint(2, TCellType(3), clRed);
    EXPECT_EQ(fGrid.CellBackColor(1, 2), RGBColour(10, 20, 1));
    EXPECT_EQ(fGrid.CellBackColor(2, 3), RGBColour(20, 30, 1));

    int calls = 0;
    fGrid.ClearColorConstraints();
    fGrid.SetColorFunction([&calls](int32_t col, int32_t row) {
        ++calls;
        return col == 2 && row == 1 ? clYellow : clLime;
    });
    EXPECT_EQ(fGrid.CellBackColor(2, 1), clYellow);
    EXPECT_EQ(fGrid.CellBackColor(1, 1), clLime);
    EXPECT_EQ(fGrid.CellBackColor(0, 1), clWhite);
    // Each column that receives the rule has its data cells recoloured once.
    EXPECT_EQ(calls, 2 * 3);
}

TEST_F(ColourRules, NewRowsCarryTheRulesOfTheirColumn) {
    fGrid.AddColColorConstraint(1, TCellType(5), clRed);
    fGrid.SetRowCount(6);
    EXPECT_EQ(fGrid.CellColorConstraints(1, 5).size(), 1u);
    EXPECT_EQ(fGrid.CellBackColor(1, 5), clRed);
    fGrid.PutCell(1, 5, "x");
    EXPECT_EQ(fGrid.CellBackColor(1, 5), clWhite);

    // With the colours off, new cells take the first data row's background.
    fGrid.PutCell(2, 1, "x");
    fGrid.AddColColorConstraint(2, TCellType(6), clBlue);
    ASSERT_EQ(fGrid.CellBackColor(2, 1), clBlue);
    fGrid.ColorsEnabled = false;
    fGrid.SetRowCount(8);
    EXPECT_EQ(fGrid.CellBackColor(2, 7), clBlue);
    EXPECT_EQ(fGrid.CellBackColor(1, 7), clRed);
    EXPECT_EQ(fGrid.CellBackColor(1, 5), clWhite);
}
