#include "platform/Grid_Control.h"

#include <algorithm>

std::vector<std::string> IGridControl::RowStrings(int32_t row) const {
    std::vector<std::string> texts;
    for (int32_t col = 0; col < ColCount(); ++col) texts.push_back(Cell(col, row));
    return texts;
}

void TMemoryGridCanvas::FillRect(const TRect& rect) {
    fBitmap.Canvas().Brush.Color = BrushColor;
    fBitmap.Canvas().FillRect(rect);
}

void TMemoryGridCanvas::TextRect(const TRect& clip, int32_t x, int32_t y, const std::string& text) {
    (void)clip;
    fTexts.push_back({text, {x, y}, Font.Color});
}

TMemoryGridControl::TMemoryGridControl(int32_t colCount, int32_t rowCount, int32_t fixedCols,
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

void TMemoryGridControl::SetColCount(int32_t count) {
    count = std::max(count, 0);
    fCells.resize(static_cast<size_t>(count),
                  std::vector<std::string>(static_cast<size_t>(fRowCount)));
    fColWidths.resize(static_cast<size_t>(count), kDefaultColWidth);
    if (fCol >= count) MoveTo(std::max(count - 1, 0), fRow);
}

void TMemoryGridControl::SetRowCount(int32_t count) {
    count = std::max(count, 0);
    fRowCount = count;
    for (auto& column : fCells) column.resize(static_cast<size_t>(count));
    fRowHeights.resize(static_cast<size_t>(count), kDefaultRowHeight);
    if (fRow >= count) MoveTo(fCol, std::max(count - 1, 0));
    if (fTopRow > std::max(count - 1, fFixedRows)) fTopRow = std::max(count - 1, fFixedRows);
}

void TMemoryGridControl::MoveTo(int32_t col, int32_t row) {
    if (col == fCol && row == fRow) return;
    if (!CanSelect(col, row)) return;
    fCol = col;
    fRow = row;
    // Keep the selected row on screen, as the control scrolls to it.
    if (fRow >= fFixedRows && fRow < fTopRow) fTopRow = fRow;
    const int32_t visible = std::max(VisibleRowCount(), 1);
    if (fRow >= fTopRow + visible) fTopRow = fRow - visible + 1;
}

void TMemoryGridControl::SetRow(int32_t row) {
    MoveTo(fCol, row);
}

void TMemoryGridControl::SetCol(int32_t col) {
    MoveTo(col, fRow);
}

void TMemoryGridControl::SetTopRow(int32_t row) {
    fTopRow = row;
}

int32_t TMemoryGridControl::VisibleRowCount() const {
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

TRect TMemoryGridControl::CellRect(int32_t col, int32_t row) const {
    int32_t left = 0;
    for (int32_t c = 0; c < col; ++c) left += ColWidth(c) + GridLineWidth();
    int32_t top = 0;
    for (int32_t r = 0; r < row; ++r) {
        if (r >= fFixedRows && r < fTopRow) continue;
        top += RowHeight(r) + GridLineWidth();
    }
    return Rect(left, top, left + ColWidth(col), top + RowHeight(row));
}

TGridCoord TMemoryGridControl::MouseCoord(int32_t x, int32_t y) const {
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

void TMemoryGridControl::DrawCell(int32_t col, int32_t row) {
    TGridDrawState state = 0;
    if (col < fFixedCols || row < fFixedRows)
        state |= gdFixed;
    else if (row == fRow && (col == fCol || (fOptions & goRowSelect)))
        state |= gdSelected;
    if (OnDrawCell) OnDrawCell(col, row, CellRect(col, row), state);
}
