// The typed grid over an in-memory control: tables that follow the counts, row
// numbers, read-only cells, typing, header-click sorting, the selection, drawing
// and the forwarding of the saved handlers.
#include <gtest/gtest.h>

#include "support/Memory_Grid_Control.h"
#include "support/Trace_Capture.h"
#include "tables/My_String_Grid_Unit.h"

namespace {

constexpr uint16_t kKeyA = 65;

// A control of 3 columns and 4 rows (one fixed of each), with handlers already
// installed that count their calls.
class TypedGrid : public ::testing::Test {
  protected:
    explicit TypedGrid(TGridOptions options = goEditing) {
        fControl.SetOptions(options);
        fControl.OnDblClick = [this] { ++fDoubleClicks; };
        fControl.OnEnter = [this] { ++fEnters; };
        fControl.OnKeyDown = [this](uint16_t&, TShiftState) { ++fKeyDowns; };
        fControl.OnDrawCell = [this](int32_t, int32_t, const TRect&, TGridDrawState) { ++fDraws; };
        fControl.OnSelectCell = [this](int32_t col, int32_t row, bool&) {
            fSelected.push_back({col, row});
        };
        fGrid = std::make_unique<TMyStringGrid>(
            &fControl, [this](int32_t col, int32_t row, const std::string& text) {
                fLeft.push_back(std::to_string(col) + "," + std::to_string(row) + ":" + text);
            });
    }
    void Fill(const std::vector<std::vector<std::string>>& rows) {
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                fGrid->PutCell(static_cast<int32_t>(c + 1), static_cast<int32_t>(r + 1),
                               rows[r][c]);
    }
    std::vector<std::string> Column(int32_t col) {
        std::vector<std::string> texts;
        for (int32_t row = 1; row < fControl.RowCount(); ++row)
            texts.push_back(fControl.Cell(col, row));
        return texts;
    }
    void ClickHeader(int32_t col) {
        const TRect r = fControl.CellRect(col, 0);
        fControl.OnMouseUp(TMouseButton::mbLeft, 0, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

    TTraceCapture fCapture;
    TMemoryGridControl fControl{3, 4, 1, 1, 300, 200};
    std::unique_ptr<TMyStringGrid> fGrid;
    int fDoubleClicks = 0, fEnters = 0, fKeyDowns = 0, fDraws = 0;
    std::vector<TGridCoord> fSelected;
    std::vector<std::string> fLeft;
};

class ReadOnlyGrid : public TypedGrid {
  protected:
    ReadOnlyGrid() : TypedGrid(0) {}
};

}  // namespace

TEST_F(TypedGrid, RowCountsRebuildTheTablesAndTheNumbers) {
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3"}));
    fGrid->SetRowCount(1);
    EXPECT_TRUE(
        fCapture.HasLine("TMyStringGrid.SetRowCount : impossible de supprimer la premiere ligne"));
    EXPECT_EQ(fControl.RowCount(), 4);
    fGrid->SetColWidth(1, 999);
    fGrid->SetRowCount(4);  // the same count rebuilds nothing, so the widths stay
    EXPECT_EQ(fGrid->GetColWidth(1), 999);
    fGrid->SetRowCount(6);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(fGrid->CellBackColor(2, 5), clWhite);
    EXPECT_EQ(fGrid->CellFont(2, 5), fGrid->HeaderFont);
    fGrid->SetColCount(5);
    EXPECT_EQ(fGrid->GetColCount(), 5);
    EXPECT_FALSE(fGrid->IsReadOnly(4, 5));
    // The select-cell logic stays quiet while the control changes size.
    EXPECT_TRUE(fLeft.empty());
}

TEST_F(TypedGrid, ColumnWidthsFillTheControl) {
    Fill({{"a much longer text than the others", "b"}, {"c", "d"}});
    // 12 pixels of borders and one per column; all rows are visible.
    fGrid->FitColWidths();
    int32_t total = 0;
    for (int32_t col = 0; col < 3; ++col) total += fGrid->GetColWidth(col);
    EXPECT_EQ(total, 300 - 12 - 3);
    EXPECT_GT(fGrid->GetColWidth(1), fGrid->GetColWidth(2));
    EXPECT_GE(fGrid->GetColWidth(1), 6 * 34);
    // A vertical scroll bar takes 15 pixels more; the shares are rounded, so the
    // sum may pass the room by a pixel.
    fGrid->SetRowCount(20);
    total = 0;
    for (int32_t col = 0; col < 3; ++col) total += fGrid->GetColWidth(col);
    EXPECT_NEAR(total, 300 - 15 - 12 - 3, 1);
}

TEST_F(ReadOnlyGrid, CellsOfANonEditableControlRefuseSetCell) {
    fGrid->SetCell(1, 2, "x");
    EXPECT_TRUE(fCapture.HasLine("TMyStringGrid.SetCell:Trying to write in a read-only cell 1 2"));
    EXPECT_EQ(fGrid->GetCell(1, 2), "");
    fGrid->PutCell(1, 2, "y");
    EXPECT_EQ(fGrid->GetCell(1, 2), "y");
    // Rows added later take the flag of row 0 of their column.
    fControl.SetOptions(goEditing);
    fGrid->SetRowCount(5);
    EXPECT_TRUE(fGrid->IsReadOnly(1, 4));
    fGrid->SetColCount(4);
    EXPECT_FALSE(fGrid->IsReadOnly(3, 4));

    fCapture.Reset();
    EXPECT_EQ(fGrid->GetCell(9, 1), "");
    EXPECT_TRUE(fCapture.HasLine("TMyStringGrid.GetCell: bad col row : 9 1"));
    EXPECT_TRUE(fCapture.Boxes().empty());
    fGrid->SetCell(1, -1, "z");
    fGrid->PutCell(1, 7, "z");
    EXPECT_EQ(fCapture.Boxes().size(), 2u);
}

TEST_F(TypedGrid, TypingALetterReplacesTheCellText) {
    fGrid->SetCell(1, 1, "abcd");
    uint16_t key = kKeyA;
    fControl.OnKeyDown(key, ssCtrl);
    EXPECT_EQ(fGrid->GetCell(1, 1), "abcd");
    EXPECT_FALSE(fControl.EditorMode());
    key = 37;  // an arrow key
    fControl.OnKeyDown(key, 0);
    EXPECT_EQ(fGrid->GetCell(1, 1), "abcd");
    key = kKeyA;
    fControl.OnKeyDown(key, 0);
    EXPECT_EQ(fGrid->GetCell(1, 1), "");
    EXPECT_TRUE(fControl.EditorMode());
    EXPECT_EQ(fKeyDowns, 3);

    // In an open editor the selected characters are dropped before the key lands.
    fGrid->SetCell(1, 1, "abcd");
    fControl.SetEditorSelStart(1);
    fControl.SetEditorSelLength(2);
    key = 48;
    fControl.OnKeyDown(key, ssShift);
    EXPECT_EQ(fGrid->GetCell(1, 1), "ad");
    EXPECT_EQ(fControl.EditorSelLength(), 0);
    EXPECT_EQ(fControl.EditorSelStart(), 1);
}

TEST_F(TypedGrid, HeaderClicksSortAndKeepTheSelectedRow) {
    Fill({{"b", "x"}, {"10", "y"}, {"9", "z"}});
    fGrid->SetRow(1);
    ClickHeader(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"9", "10", "b"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"z", "y", "x"}));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(fGrid->GetRow(), 3);
    EXPECT_TRUE(fGrid->SortAscending);
    ClickHeader(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"b", "10", "9"}));
    EXPECT_EQ(fGrid->GetRow(), 1);
    EXPECT_FALSE(fGrid->SortAscending);
    // Another column starts ascending; a fixed column's header does not sort.
    ClickHeader(2);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(fGrid->SortColumn, 2);
    ClickHeader(0);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(fGrid->SortColumn, 2);
    // The sort told no one of the rows it moved through.
    EXPECT_TRUE(fLeft.empty());
    fGrid->TrierColonne(3, {});
    EXPECT_TRUE(fCapture.HasLine("TMyStringGrid.TrierColonne: bad col : 3"));
    EXPECT_TRUE(fGrid->SelectEnabled);
}

TEST_F(TypedGrid, MovingTheSelectionTellsTheCellLeft) {
    fGrid->SetCell(1, 1, "first");
    fGrid->SetCell(1, 2, "second");
    fGrid->SetRow(1);  // the cell is entered: its text is remembered
    EXPECT_EQ(fGrid->EnteredCellText, "first");
    fControl.SetCell(1, 1, "changed");
    fControl.SetEditorMode(true);
    fGrid->SetRow(2);
    EXPECT_EQ(fLeft, std::vector<std::string>{"1,1:first"});
    EXPECT_EQ(fGrid->EnteredCellText, "second");
    EXPECT_FALSE(fControl.EditorMode());
    EXPECT_EQ(fSelected.back(), (TGridCoord{1, 2}));

    fGrid->SetRow(-3);
    EXPECT_TRUE(fCapture.HasLine("Warning : TMyStringGrid.SetRow : Bad new Row :  -3"));
    EXPECT_EQ(fGrid->GetRow(), 0);
    fGrid->SetRow(12);
    EXPECT_EQ(fGrid->GetRow(), 3);

    // Nothing is told or forwarded while the logic is off.
    const size_t seen = fSelected.size();
    fGrid->SelectEnabled = false;
    fGrid->SetRow(1);
    EXPECT_EQ(fSelected.size(), seen);
}

TEST_F(ReadOnlyGrid, SelectingAReadOnlyCellTurnsEditingOff) {
    fControl.SetOptions(goEditing);
    fGrid->SetRow(2);
    EXPECT_EQ(fControl.Options() & goEditing, 0u);
}

TEST_F(TypedGrid, SelectedCellsAreDrawnNavyOrBlended) {
    fGrid->SetCell(1, 1, "txt");
    fControl.DrawCell(1, 1);
    const TRect r = fControl.CellRect(1, 1);
    EXPECT_EQ(fControl.fBitmap.Pixel(r.Left + 2, r.Top + 2), clNavy);
    ASSERT_FALSE(fControl.fCanvas.fTexts.empty());
    EXPECT_EQ(fControl.fCanvas.fTexts.back().Color, clWhite);
    // Centred: (left + right - 18) / 2.
    EXPECT_EQ(fControl.fCanvas.fTexts.back().At.X, (r.Left + r.Right - 18) / 2);
    EXPECT_EQ(fControl.fCanvas.fTexts.back().At.Y, (r.Top + r.Bottom - 13) / 2);

    fGrid->BlendSelection = true;
    fControl.DrawCell(1, 1);
    EXPECT_EQ(fControl.fBitmap.Pixel(r.Left + 2, r.Top + 2), RGBColour(178, 178, 178));
    EXPECT_EQ(fControl.fCanvas.fTexts.back().Color, clBlack);
    // Font components above 212 wrap around.
    fGrid->HeaderFont.Color = RGBColour(250, 100, 0);
    fGrid->SetColCount(4);
    fControl.SetCell(3, 1, "new");
    fControl.SetCol(3);
    fControl.DrawCell(3, 1);
    EXPECT_EQ(fControl.fCanvas.fTexts.back().Color, RGBColour(44, 120, 0));

    fControl.DrawCell(0, 2);
    const TRect fixed = fControl.CellRect(0, 2);
    EXPECT_EQ(fControl.fBitmap.Pixel(fixed.Left + 1, fixed.Top + 1), ResolvePixelColour(clBtnFace));
    EXPECT_EQ(fDraws, 4);  // the saved handler after every drawing
}

TEST_F(TypedGrid, SavedHandlersAreForwardedAsTheWrapperDecides) {
    const TRect fixed = fControl.CellRect(0, 2);
    fControl.fCursor = {fixed.Left + 3, fixed.Top + 3};
    fControl.OnDblClick();
    EXPECT_EQ(fDoubleClicks, 0);
    const TRect data = fControl.CellRect(2, 2);
    fControl.fCursor = {data.Left + 3, data.Top + 3};
    fControl.OnDblClick();
    EXPECT_EQ(fDoubleClicks, 1);
    fControl.OnEnter();
    EXPECT_EQ(fEnters, 0);

    // Once the wrapper is gone its handlers only forward.
    fGrid.reset();
    fControl.fCursor = {fixed.Left + 3, fixed.Top + 3};
    fControl.OnDblClick();
    EXPECT_EQ(fDoubleClicks, 2);
    fControl.OnEnter();
    EXPECT_EQ(fEnters, 1);
    fControl.DrawCell(1, 1);
    EXPECT_EQ(fDraws, 1);
    fControl.SetRow(2);
    EXPECT_EQ(fSelected.back(), (TGridCoord{1, 2}));
}

TEST_F(TypedGrid, TheWheelKeepsTheSelectedRowOnScreen) {
    fGrid->SetRowCount(30);
    fGrid->SetRow(20);
    fGrid->SetTopRow(2);
    bool handled = false;
    fControl.OnMouseWheelDown(0, {}, handled);
    EXPECT_EQ(fGrid->GetRow(), 2 + fControl.VisibleRowCount() - 1);
    fGrid->SetTopRow(25);
    fControl.OnMouseWheelUp(0, {}, handled);
    EXPECT_EQ(fGrid->GetRow(), 25);
    fGrid->SetTopRow(0);  // a fixed row is no top row
    EXPECT_EQ(fGrid->GetTopRow(), 25);
}
