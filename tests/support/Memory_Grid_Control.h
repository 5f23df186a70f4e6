// An in-memory grid control for the tests and benchmarks of the engines that
// draw into a grid, with a drawing surface over an in-memory bitmap.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Grid_Control.h"

// A drawing surface over an in-memory bitmap: fills paint the bitmap, texts are
// measured as 6 pixels per character and 13 pixels high, and each drawn text is
// kept with its font colour.
class TMemoryGridCanvas : public IGridCanvas {
  public:
    struct TDrawnText {
        std::string Text;
        TPoint At;
        TColor Color;
    };
    explicit TMemoryGridCanvas(TBitmap& bitmap) : fBitmap(bitmap) {}
    void FillRect(const TRect& rect) override;
    int32_t TextWidth(const std::string& text) override {
        return 6 * static_cast<int32_t>(text.size());
    }
    int32_t TextHeight(const std::string&) override { return 13; }
    void TextRect(const TRect& clip, int32_t x, int32_t y, const std::string& text) override;
    std::vector<TDrawnText> fTexts;

  private:
    TBitmap& fBitmap;
};

// A grid control in memory, of a fixed outer size: columns and rows of their
// own widths and heights from the top-left corner, no scrolling of columns.
// DrawCell and the Fire helpers raise the events as a real control would.
class TMemoryGridControl : public IGridControl {
  public:
    static constexpr int32_t kDefaultColWidth = 64;
    static constexpr int32_t kDefaultRowHeight = 24;

    TMemoryGridControl(int32_t colCount, int32_t rowCount, int32_t fixedCols = 1,
                       int32_t fixedRows = 1, int32_t width = 400, int32_t height = 300);

    int32_t ColCount() const override { return static_cast<int32_t>(fCells.size()); }
    void SetColCount(int32_t count) override;
    int32_t RowCount() const override { return fRowCount; }
    void SetRowCount(int32_t count) override;
    int32_t FixedCols() const override { return fFixedCols; }
    int32_t FixedRows() const override { return fFixedRows; }
    int32_t Col() const override { return fCol; }
    int32_t Row() const override { return fRow; }
    void SetRow(int32_t row) override;
    void SetCol(int32_t col);
    int32_t TopRow() const override { return fTopRow; }
    void SetTopRow(int32_t row) override;
    int32_t VisibleRowCount() const override;
    int32_t ColWidth(int32_t col) const override { return fColWidths[static_cast<size_t>(col)]; }
    void SetColWidth(int32_t col, int32_t pixels) override {
        fColWidths[static_cast<size_t>(col)] = pixels;
    }
    int32_t RowHeight(int32_t row) const override { return fRowHeights[static_cast<size_t>(row)]; }
    void SetRowHeight(int32_t row, int32_t pixels) override {
        fRowHeights[static_cast<size_t>(row)] = pixels;
    }
    int32_t GridLineWidth() const override { return 1; }
    int32_t Width() const override { return fBitmap.Width(); }
    int32_t Height() const override { return fBitmap.Height(); }
    TGridOptions Options() const override { return fOptions; }
    void SetOptions(TGridOptions options) override { fOptions = options; }
    bool EditorMode() const override { return fEditorMode; }
    void SetEditorMode(bool on) override { fEditorMode = on; }
    bool HasInplaceEditor() const override { return fEditorMode; }
    int32_t EditorSelStart() const override { return fSelStart; }
    void SetEditorSelStart(int32_t start) override { fSelStart = start; }
    int32_t EditorSelLength() const override { return fSelLength; }
    void SetEditorSelLength(int32_t length) override { fSelLength = length; }
    std::string Cell(int32_t col, int32_t row) const override {
        return fCells[static_cast<size_t>(col)][static_cast<size_t>(row)];
    }
    void SetCell(int32_t col, int32_t row, const std::string& text) override {
        fCells[static_cast<size_t>(col)][static_cast<size_t>(row)] = text;
    }
    void CellChanged(int32_t, int32_t) override { ++fCellsChanged; }
    IGridCanvas& Canvas() override { return fCanvas; }
    TGridCoord MouseCoord(int32_t x, int32_t y) const override;
    TPoint CursorPos() const override { return fCursor; }
    void Repaint() override { ++fRepaints; }

    // The rectangle of a cell in the control's pixels.
    TRect CellRect(int32_t col, int32_t row) const;
    // Raises OnDrawCell for one cell, with the state flags the control gives it.
    void DrawCell(int32_t col, int32_t row);

    TBitmap fBitmap;
    TMemoryGridCanvas fCanvas{fBitmap};
    TPoint fCursor;
    int fRepaints = 0;
    int fCellsChanged = 0;

  private:
    void MoveTo(int32_t col, int32_t row);

    std::vector<std::vector<std::string>> fCells;  // [column][row]
    std::vector<int32_t> fColWidths;
    std::vector<int32_t> fRowHeights;
    int32_t fRowCount;
    int32_t fFixedCols;
    int32_t fFixedRows;
    int32_t fCol;
    int32_t fRow;
    int32_t fTopRow;
    TGridOptions fOptions = 0;
    bool fEditorMode = false;
    int32_t fSelStart = 0;
    int32_t fSelLength = 0;
};

inline void TMemoryGridCanvas::FillRect(const TRect& rect) {
    fBitmap.Canvas().Brush.Color = BrushColor;
    fBitmap.Canvas().FillRect(rect);
}

inline void TMemoryGridCanvas::TextRect(const TRect& clip, int32_t x, int32_t y,
                                        const std::string& text) {
    (void)clip;
    fTexts.push_back({text, {x, y}, Font.Color});
}

inline TMemoryGridControl::TMemoryGridControl(int32_t colCount, int32_t rowCount, int32_t fixedCols,
                                              int32_t fixedRows, int32_t width, int32_t height)
    : fBitmap(width, height),
      fCells(static_cast<size_t>(std::max(colCount, 0)),
             std::vector<std::string>(static_cast<size_t>(std::max(rowCount, 0)))),
      fColWidths(fCells.size(), kDefaultColWidth),
      fRowHeights(static_cast<size_t>(std::max(rowCount, 0)), kDefaultRowHeight),
      fRowCount(std::max(rowCount, 0)),
      fFixedCols(fixedCols),
      fFixedRows(fixedRows),
      fCol(std::min(fixedCols, std::max(colCount - 1, 0))),
      fRow(std::min(fixedRows, std::max(rowCount - 1, 0))),
      fTopRow(fixedRows) {}

inline void TMemoryGridControl::SetColCount(int32_t count) {
    count = std::max(count, 0);
    fCells.resize(static_cast<size_t>(count),
                  std::vector<std::string>(static_cast<size_t>(fRowCount)));
    fColWidths.resize(static_cast<size_t>(count), kDefaultColWidth);
    if (fCol >= count) MoveTo(std::max(count - 1, 0), fRow);
}

inline void TMemoryGridControl::SetRowCount(int32_t count) {
    count = std::max(count, 0);
    fRowCount = count;
    for (auto& column : fCells) column.resize(static_cast<size_t>(count));
    fRowHeights.resize(static_cast<size_t>(count), kDefaultRowHeight);
    if (fRow >= count) MoveTo(fCol, std::max(count - 1, 0));
    if (fTopRow > std::max(count - 1, fFixedRows)) fTopRow = std::max(count - 1, fFixedRows);
}

inline void TMemoryGridControl::MoveTo(int32_t col, int32_t row) {
    if (col == fCol && row == fRow) return;
    if (!CanSelect(col, row)) return;
    fCol = col;
    fRow = row;
    // Keep the selected row on screen, as the control scrolls to it.
    if (fRow >= fFixedRows && fRow < fTopRow) fTopRow = fRow;
    const int32_t visible = std::max(VisibleRowCount(), 1);
    if (fRow >= fTopRow + visible) fTopRow = fRow - visible + 1;
}

inline void TMemoryGridControl::SetRow(int32_t row) {
    MoveTo(fCol, row);
}

inline void TMemoryGridControl::SetCol(int32_t col) {
    MoveTo(col, fRow);
}

inline void TMemoryGridControl::SetTopRow(int32_t row) {
    fTopRow = row;
}

inline int32_t TMemoryGridControl::VisibleRowCount() const {
    int32_t space = Height();
    for (int32_t row = 0; row < std::min(fFixedRows, fRowCount); ++row)
        space -= RowHeight(row) + GridLineWidth();
    int32_t count = 0;
    for (int32_t row = fTopRow; row < fRowCount; ++row) {
        space -= RowHeight(row) + GridLineWidth();
        if (space < 0) break;
        ++count;
    }
    return count;
}

inline TRect TMemoryGridControl::CellRect(int32_t col, int32_t row) const {
    int32_t left = 0;
    for (int32_t c = 0; c < col; ++c) left += ColWidth(c) + GridLineWidth();
    int32_t top = 0;
    for (int32_t r = 0; r < row; ++r) {
        if (r >= fFixedRows && r < fTopRow) continue;
        top += RowHeight(r) + GridLineWidth();
    }
    return Rect(left, top, left + ColWidth(col), top + RowHeight(row));
}

inline TGridCoord TMemoryGridControl::MouseCoord(int32_t x, int32_t y) const {
    TGridCoord coord;
    for (int32_t col = 0; col < ColCount(); ++col) {
        const TRect r = CellRect(col, 0);
        if (x >= r.Left && x <= r.Right) coord.X = col;
    }
    for (int32_t row = 0; row < fRowCount; ++row) {
        if (row >= fFixedRows && row < fTopRow) continue;
        const TRect r = CellRect(0, row);
        if (y >= r.Top && y <= r.Bottom) coord.Y = row;
    }
    if (coord.X < 0 || coord.Y < 0) return TGridCoord{};
    return coord;
}

inline void TMemoryGridControl::DrawCell(int32_t col, int32_t row) {
    TGridDrawState state = 0;
    if (col < fFixedCols || row < fFixedRows)
        state |= gdFixed;
    else if (row == fRow && (col == fCol || (fOptions & goRowSelect)))
        state |= gdSelected;
    if (OnDrawCell) OnDrawCell(col, row, CellRect(col, row), state);
}
