#include "tables/My_String_Grid_Unit.h"

#include <algorithm>

#include "base/Real_Format.h"
#include "common/String_Manager_Unit.h"
#include "diagnostics/TraceUnit.h"

// The handlers saved at construction, and the wrapper they serve. The installed
// handlers share this object; the destructor clears Owner, after which they only
// forward, so the control never raises an event into a destroyed wrapper.
struct TMyStringGrid::TTakeOver {
    TMyStringGrid* Owner = nullptr;
    TGridEvents Saved;
};

namespace {

// Calls a saved handler when there is one.
template <class TEvent, class... TArgs>
void Forward(const TEvent& handler, TArgs&&... args) {
    if (handler) handler(std::forward<TArgs>(args)...);
}

// Brings a [column][row] table to cols x rows: entries of new columns from
// newColumn(), then entries of new rows (at or beyond the old row count) from
// newRow(column), which may read the column's kept entries.
template <class T, class TNewColumn, class TNewRow>
void FitTable(std::vector<std::vector<T>>& table, size_t cols, size_t rows,
              const TNewColumn& newColumn, const TNewRow& newRow) {
    const size_t oldCols = table.size();
    const size_t oldRows = oldCols ? table[0].size() : 0;
    table.resize(cols);
    for (size_t c = 0; c < cols; ++c) {
        if (c >= oldCols)
            table[c].assign(rows, newColumn());
        else
            table[c].resize(rows);
    }
    if (rows > oldRows)
        for (size_t c = 0; c < cols; ++c) {
            const T fill = newRow(table[c], oldRows);
            for (size_t r = oldRows; r < rows; ++r) table[c][r] = fill;
        }
}

TColor Scaled(TColor colour, int32_t numerator) {
    const auto part = [numerator](uint8_t v) {
        return static_cast<uint8_t>((static_cast<int32_t>(v) * numerator / 10) & 0xFF);
    };
    return RGBColour(part(RedOf(colour)), part(GreenOf(colour)), part(BlueOf(colour)));
}

}  // namespace

TMyStringGrid::TMyStringGrid(IGridControl* grid, TCellChangeCallback changeCallback,
                             TReferenceLists* lists)
    : CellChangeCallback(std::move(changeCallback)),
      fGrid(grid),
      fLists(lists ? lists : &ProcessReferenceLists()) {
    InstallHandlers();
    InitColors();
    EmptyColorConstraints();
    ResizeCellTables();
}

TMyStringGrid::~TMyStringGrid() {
    fTakeOver->Owner = nullptr;
}

void TMyStringGrid::InstallHandlers() {
    fTakeOver = std::make_shared<TTakeOver>();
    auto& t = *fTakeOver;
    t.Owner = this;
    IGridControl& g = *fGrid;
    t.Saved = static_cast<const TGridEvents&>(g);

    const std::shared_ptr<TTakeOver> s = fTakeOver;
    g.OnClick = [s] { Forward(s->Saved.OnClick); };
    g.OnDblClick = [s] {
        if (!s->Owner || s->Owner->DoubleClickOnDataCell()) Forward(s->Saved.OnDblClick);
    };
    g.OnDrawCell = [s](int32_t col, int32_t row, const TRect& rect, TGridDrawState state) {
        if (s->Owner) s->Owner->DrawCell(col, row, rect, state);
        Forward(s->Saved.OnDrawCell, col, row, rect, state);
    };
    // Entering the control does nothing; once the wrapper is gone the saved
    // handler is called again.
    g.OnEnter = [s] {
        if (!s->Owner) Forward(s->Saved.OnEnter);
    };
    g.OnExit = [s] {
        if (s->Owner) s->Owner->FocusLeft();
        Forward(s->Saved.OnExit);
    };
    g.OnGetEditText = [s](int32_t col, int32_t row, std::string& value) {
        Forward(s->Saved.OnGetEditText, col, row, value);
    };
    g.OnKeyDown = [s](uint16_t& key, TShiftState shift) {
        if (s->Owner) s->Owner->KeyDown(key, shift);
        Forward(s->Saved.OnKeyDown, key, shift);
    };
    g.OnKeyPress = [s](char& key) { Forward(s->Saved.OnKeyPress, key); };
    g.OnKeyUp = [s](uint16_t& key, TShiftState shift) { Forward(s->Saved.OnKeyUp, key, shift); };
    g.OnMouseDown = [s](TMouseButton b, TShiftState shift, int32_t x, int32_t y) {
        Forward(s->Saved.OnMouseDown, b, shift, x, y);
    };
    g.OnMouseMove = [s](TShiftState shift, int32_t x, int32_t y) {
        Forward(s->Saved.OnMouseMove, shift, x, y);
    };
    g.OnMouseUp = [s](TMouseButton b, TShiftState shift, int32_t x, int32_t y) {
        if (s->Owner) s->Owner->HeaderClick(x, y);
        Forward(s->Saved.OnMouseUp, b, shift, x, y);
    };
    g.OnMouseWheelDown = [s](TShiftState shift, TPoint pos, bool& handled) {
        if (s->Owner) s->Owner->Wheel();
        Forward(s->Saved.OnMouseWheelDown, shift, pos, handled);
    };
    g.OnMouseWheelUp = [s](TShiftState shift, TPoint pos, bool& handled) {
        if (s->Owner) s->Owner->Wheel();
        Forward(s->Saved.OnMouseWheelUp, shift, pos, handled);
    };
    g.OnSelectCell = [s](int32_t col, int32_t row, bool& canSelect) {
        if (s->Owner && !s->Owner->SelectEnabled) return;
        if (s->Owner) s->Owner->SelectCell(col, row);
        Forward(s->Saved.OnSelectCell, col, row, canSelect);
    };
    g.OnSetEditText = [s](int32_t col, int32_t row, const std::string& value) {
        Forward(s->Saved.OnSetEditText, col, row, value);
    };
}

void TMyStringGrid::SetAllEnabled(bool value) {
    NotifyEnabled = value;
    ColorsEnabled = value;
    ResizeEnabled = value;
    RememberEnabled = value;
    SelectEnabled = value;
}

bool TMyStringGrid::InTables(int32_t col, int32_t row) const {
    return col >= 0 && col < static_cast<int32_t>(fGridBackColor.size()) && row >= 0 &&
           row < static_cast<int32_t>(fGridBackColor[static_cast<size_t>(col)].size());
}

bool TMyStringGrid::InControl(int32_t col, int32_t row) const {
    return col >= 0 && col < GetColCount() && row >= 0 && row < GetRowCount();
}

bool TMyStringGrid::IsDataCell(int32_t col, int32_t row) const {
    return col >= GetFixedCols() && col < GetColCount() && row >= GetFixedRows() &&
           row < GetRowCount();
}

// ---- changing the control ----

void TMyStringGrid::SetColCount(int32_t count) {
    if (count == GetColCount()) return;
    SelectEnabled = false;
    fGrid->SetColCount(count);
    SelectEnabled = true;
    ResizeCellTables();
}

void TMyStringGrid::SetRowCount(int32_t count) {
    if (count <= GetFixedRows()) {
        Messenger.Error("TMyStringGrid.SetRowCount : impossible de supprimer la premiere ligne");
        return;
    }
    if (count == GetRowCount()) return;
    SelectEnabled = false;
    fGrid->SetRowCount(count);
    SelectEnabled = true;
    ResizeCellTables();
}

void TMyStringGrid::SetRow(int32_t row) {
    if (row < 0 || row >= GetRowCount()) {
        Messenger.WarningInt("TMyStringGrid.SetRow : Bad new Row : ", row);
        if (GetRowCount() == 0) return;
        row = std::clamp(row, 0, GetRowCount() - 1);
    }
    const int32_t before = GetRow();
    fGrid->SetRow(row);
    RememberEntered(GetCell(GetCol(), row));
    if (row != before) fGrid->SetEditorMode(false);
}

void TMyStringGrid::SetTopRow(int32_t row) {
    if (row >= GetFixedRows() && row <= GetRowCount() - 1) fGrid->SetTopRow(row);
}

void TMyStringGrid::Refresh() {
    ResizeCellTables();
    fGrid->Repaint();
}

// ---- cells ----

std::string TMyStringGrid::GetCell(int32_t col, int32_t row) const {
    if (!InControl(col, row)) {
        Messenger.SendPair("TMyStringGrid.GetCell: bad col row : ", col, row);
        return {};
    }
    return fGrid->Cell(col, row);
}

bool TMyStringGrid::IsReadOnly(int32_t col, int32_t row) const {
    return InTables(col, row) && fReadOnly[static_cast<size_t>(col)][static_cast<size_t>(row)];
}

void TMyStringGrid::SetCell(int32_t col, int32_t row, const std::string& text) {
    if (!InControl(col, row)) {
        Messenger.ErrorPair("TMyStringGrid.SetCell: bad col row : ", col, row);
        return;
    }
    if (IsReadOnly(col, row)) {
        Messenger.Error("TMyStringGrid.SetCell:Trying to write in a read-only cell " +
                        IntToStr(col) + " " + IntToStr(row));
        return;
    }
    fGrid->SetCell(col, row, text);
    Recolour(col, row);
}

void TMyStringGrid::PutCell(int32_t col, int32_t row, const std::string& text) {
    if (!InControl(col, row)) {
        Messenger.ErrorPair("TMyStringGrid.PutCell: bad col row : ", col, row);
        return;
    }
    RememberEnabled = false;
    fGrid->SetCell(col, row, text);
    Recolour(col, row);
    RememberEnabled = true;
}

void TMyStringGrid::CellLeft(int32_t col, int32_t row, const std::string& text) {
    if (!NotifyEnabled) return;
    if (CellChangeCallback) CellChangeCallback(col, row, text);
    Recolour(col, row);
}

void TMyStringGrid::RememberEntered(const std::string& text) {
    if (RememberEnabled) EnteredCellText = text;
}

// ---- colours and tables ----

void TMyStringGrid::InitColors(int32_t col, int32_t row) {
    if (!ColorsEnabled) return;
    if (!InTables(col, row)) {
        Messenger.ErrorPair("TMyStringGrid.InitColors: Bad Params ", col, row);
        return;
    }
    SetBackColor(col, row, DefaultBackColor);
}

void TMyStringGrid::InitColors(int32_t col) {
    if (!ColorsEnabled || col < 0 || col >= static_cast<int32_t>(fGridBackColor.size())) return;
    const auto rows = static_cast<int32_t>(fGridBackColor[static_cast<size_t>(col)].size());
    for (int32_t row = 0; row < rows; ++row) SetBackColor(col, row, DefaultBackColor);
}

void TMyStringGrid::InitColors() {
    if (!ColorsEnabled) return;
    for (int32_t col = 0; col < static_cast<int32_t>(fGridBackColor.size()); ++col) InitColors(col);
}

TColor TMyStringGrid::CellBackColor(int32_t col, int32_t row) const {
    return InTables(col, row) ? fGridBackColor[static_cast<size_t>(col)][static_cast<size_t>(row)]
                              : DefaultBackColor;
}

const TFont& TMyStringGrid::CellFont(int32_t col, int32_t row) const {
    return InTables(col, row) ? fCellFonts[static_cast<size_t>(col)][static_cast<size_t>(row)]
                              : HeaderFont;
}

const std::vector<TColorConstraint>& TMyStringGrid::CellColorConstraints(int32_t col,
                                                                         int32_t row) const {
    static const std::vector<TColorConstraint> none;
    if (col < 0 || col >= static_cast<int32_t>(fColorConstraints.size())) return none;
    const auto& column = fColorConstraints[static_cast<size_t>(col)];
    if (row < 0 || row >= static_cast<int32_t>(column.size())) return none;
    return column[static_cast<size_t>(row)];
}

void TMyStringGrid::ResizeCellTables() {
    if (!ResizeEnabled) return;
    const size_t cols = static_cast<size_t>(std::max(GetColCount(), 0));
    const size_t rows = static_cast<size_t>(std::max(GetRowCount(), 0));
    const size_t fixedRows = static_cast<size_t>(std::max(GetFixedRows(), 0));
    const bool editable = (fGrid->Options() & goEditing) != 0;
    // A column without a first data row (or without any row) gives new rows the
    // values a new column has.
    FitTable(
        fGridBackColor, cols, rows, [this] { return DefaultBackColor; },
        [&](const std::vector<TColor>& column, size_t oldRows) {
            return fixedRows < oldRows ? column[fixedRows] : DefaultBackColor;
        });
    FitTable(
        fCellFonts, cols, rows, [this] { return HeaderFont; },
        [this](const std::vector<TFont>&, size_t) { return HeaderFont; });
    FitTable(
        fReadOnly, cols, rows, [editable] { return !editable; },
        [editable](const std::vector<bool>& column, size_t oldRows) -> bool {
            return oldRows > 0 ? column[0] : !editable;
        });
    FitTable(
        fColorConstraints, cols, rows, [] { return std::vector<TColorConstraint>(); },
        [](const std::vector<std::vector<TColorConstraint>>& column, size_t oldRows) {
            return oldRows > 0 ? column[0] : std::vector<TColorConstraint>();
        });
    NumberRows();
    RecolourAll();
    FitColWidths();
}

void TMyStringGrid::NumberRows() {
    if (!AutoNumberRows || GetColCount() == 0) return;
    SelectEnabled = false;
    for (int32_t row = 1; row < GetRowCount(); ++row) PutCell(0, row, IntToStr(row));
    SelectEnabled = true;
}

void TMyStringGrid::FitColWidths() {
    if (!AutoColWidths) return;
    const int32_t cols = GetColCount();
    if (cols == 0) return;
    const int32_t scroll = fGrid->VisibleRowCount() + GetFixedRows() < GetRowCount() ? 1 : 0;
    IGridCanvas& canvas = GetCanvas();
    std::vector<int32_t> widths(static_cast<size_t>(cols), 25);
    for (int32_t col = 0; col < cols; ++col)
        for (int32_t row = 0; row < GetRowCount(); ++row)
            widths[static_cast<size_t>(col)] =
                std::max(widths[static_cast<size_t>(col)], canvas.TextWidth(fGrid->Cell(col, row)));
    const auto spare = [&](int64_t& total) {
        total = 0;
        for (const int32_t w : widths) total += w;
        return static_cast<int64_t>(GetWidth()) - total - 15 * scroll - 12 - cols;
    };
    int64_t total = 0;
    int64_t extra = spare(total);
    if (extra > 0) {
        // w / T × Spare in extended precision, so that exact halves stay halves.
        for (int32_t& w : widths)
            w += RoundToInt32(static_cast<TExtended>(w) / static_cast<TExtended>(total) *
                              static_cast<TExtended>(extra));
    }
    extra = spare(total);
    if (extra > 0)
        widths.back() = std::max<int32_t>(25, widths.back() + static_cast<int32_t>(extra));
    for (int32_t col = 0; col < cols; ++col)
        fGrid->SetColWidth(col, widths[static_cast<size_t>(col)]);
}

// ---- the taken-over events ----

void TMyStringGrid::DrawCell(int32_t col, int32_t row, const TRect& rect, TGridDrawState state) {
    const std::string text = GetCell(col, row);
    if (fGridBackColor.empty()) {
        Messenger.Error("TMyStringGrid.OnDrawCell: fGridBackColor not assigned");
        return;
    }
    if (col < 0 || col >= static_cast<int32_t>(fGridBackColor.size())) {
        Messenger.ErrorInt("TMyStringGrid.OnDrawCell: bad Col ", col);
        return;
    }
    if (row < 0 || row >= static_cast<int32_t>(fGridBackColor[static_cast<size_t>(col)].size())) {
        Messenger.ErrorInt("TMyStringGrid.OnDrawCell: bad Row ", row);
        return;
    }
    IGridCanvas& canvas = GetCanvas();
    const bool fixed = (state & gdFixed) != 0;
    const bool selected = (state & gdSelected) != 0;
    const TFont& font = CellFont(col, row);
    TColor brush = fixed ? FixedBackColor : CellBackColor(col, row);
    TColor fontColor = fixed ? HeaderFont.Color : font.Color;
    if (selected) {
        // System colours are blended as the control shows them.
        brush = BlendSelection ? Scaled(ResolvePixelColour(brush), 7) : SelectedBackColor;
        fontColor = BlendSelection ? Scaled(ResolvePixelColour(font.Color), 12) : clWhite;
    }
    canvas.BrushColor = brush;
    canvas.FillRect(rect);
    canvas.Font = font;
    canvas.Font.Color = fontColor;
    const int32_t x = (rect.Left + rect.Right - canvas.TextWidth(text)) / 2;
    const int32_t y = (rect.Top + rect.Bottom - canvas.TextHeight(text)) / 2;
    canvas.TextRect(rect, x, y, text);
}

void TMyStringGrid::SelectCell(int32_t& col, int32_t row) {
    if (fGrid->Options() & goRowSelect) col = GetFixedCols();
    if (col == GetCol() && row == GetRow()) return;
    Recolour(col, row);
    if (InControl(GetCol(), GetRow())) CellLeft(GetCol(), GetRow(), EnteredCellText);
    fGrid->SetEditorMode(false);
    if (IsReadOnly(col, row)) {
        fGrid->SetOptions(fGrid->Options() & ~goEditing);
    } else {
        fGrid->SetOptions(fGrid->Options() | goEditing);
        fGrid->SetEditorMode(false);
    }
    RememberEntered(GetCell(col, row));
}

void TMyStringGrid::KeyDown(uint16_t key, TShiftState shift) {
    const bool typing = key == 32 || (key >= 48 && key <= 57) || (key >= 65 && key <= 90) ||
                        (key >= 97 && key <= 122);
    if (!typing || (shift & (ssAlt | ssCtrl))) return;
    if ((fGrid->Options() & goEditing) && !fGrid->EditorMode()) {
        SetCell(GetCol(), GetRow(), "");
        fGrid->SetEditorMode(true);
    }
    if (fGrid->HasInplaceEditor() && fGrid->EditorSelLength() > 0) {
        const int32_t start = fGrid->EditorSelStart();
        const int32_t length = fGrid->EditorSelLength();
        const std::string text = GetCell(GetCol(), GetRow());
        const size_t p = std::min(static_cast<size_t>(std::max(start, 0)), text.size());
        const size_t q = std::min(p + static_cast<size_t>(length), text.size());
        SetCell(GetCol(), GetRow(), text.substr(0, p) + text.substr(q));
        fGrid->SetEditorSelLength(0);
        fGrid->SetEditorSelStart(start);
    }
}

bool TMyStringGrid::DoubleClickOnDataCell() const {
    const TPoint p = fGrid->CursorPos();
    const TGridCoord cell = fGrid->MouseCoord(p.X, p.Y);
    return IsDataCell(cell.X, cell.Y);
}

void TMyStringGrid::Wheel() {
    SetRow(std::max(GetRow(), GetTopRow()));
    SetRow(std::min(GetRow(), GetTopRow() + fGrid->VisibleRowCount() - 1));
}

void TMyStringGrid::HeaderClick(int32_t x, int32_t y) {
    const TGridCoord cell = fGrid->MouseCoord(x, y);
    if (cell.X < 0 || cell.Y < 0) return;
    if (cell.Y < GetFixedRows() && cell.X >= GetFixedCols()) {
        SortAscending = cell.X == SortColumn ? !SortAscending : true;
        SortColumn = cell.X;
        TrierColonne(cell.X, [](const TPairOfStringInt& a, const TPairOfStringInt& b) {
            return TStringManager::CompareTyped(a.Text, b.Text);
        });
    }
}

void TMyStringGrid::FocusLeft() {
    RecolourAll();
}

// ---- sorting ----

void TMyStringGrid::TrierColonne(int32_t col, const TPairCompare& compare) {
    const int32_t cols = GetColCount();
    const int32_t rows = GetRowCount();
    if (col < 0 || col >= cols) {
        Messenger.ErrorInt("TMyStringGrid.TrierColonne: bad col : ", col);
        fGrid->Repaint();
        return;
    }
    const int32_t fixedCols = GetFixedCols();
    const int32_t fixedRows = GetFixedRows();
    std::vector<std::string> kept;
    if (InControl(0, GetRow()))
        for (int32_t c = fixedCols; c < cols; ++c) kept.push_back(fGrid->Cell(c, GetRow()));
    const int32_t offset = GetRow() - GetTopRow();
    SetAllEnabled(false);

    std::vector<TPairOfStringInt> pairs;
    for (int32_t r = fixedRows; r < rows; ++r) pairs.emplace_back(fGrid->Cell(col, r), r);
    // A merge sort, safe with orders that are not strict weak orders.
    std::stable_sort(pairs.begin(), pairs.end(),
                     [&compare](const auto& a, const auto& b) { return compare(a, b) < 0; });
    std::vector<std::vector<std::string>> scratch(static_cast<size_t>(rows));
    for (size_t k = 0; k < pairs.size(); ++k) {
        const int32_t target = SortAscending ? fixedRows + static_cast<int32_t>(k)
                                             : rows - 1 - static_cast<int32_t>(k);
        scratch[static_cast<size_t>(target)] = fGrid->RowStrings(pairs[k].Index);
    }
    for (int32_t c = fixedCols; c < cols; ++c)
        for (int32_t r = fixedRows; r < rows; ++r)
            PutCell(c, r, scratch[static_cast<size_t>(r)][static_cast<size_t>(c)]);
    if (!kept.empty())
        for (int32_t r = fixedRows; r < rows; ++r) {
            bool same = true;
            for (int32_t c = fixedCols; c < cols && same; ++c)
                same = fGrid->Cell(c, r) == kept[static_cast<size_t>(c - fixedCols)];
            if (same) SetRow(r);
        }
    SetTopRow(std::min(std::max(GetRow() - offset, fixedRows), rows - fGrid->VisibleRowCount()));

    NumberRows();
    SetAllEnabled(true);
    RecolourAll();
    fGrid->Repaint();
}
