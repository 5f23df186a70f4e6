// The grid control of text cells as the engines see it: counts, fixed rows and
// columns, the selected cell, scrolling, sizes, the editing options, the in-place
// editor, cell texts, a drawing surface and the events that a wrapper takes over.
// Cells are addressed (column, row), both from 0. The Qt layer implements it on
// Qt's model/view; the tests have an in-memory one (tests/support).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Colour.h"
#include "platform/Picture.h"

// Font styles, as a set of flags.
using TFontStyles = uint32_t;
constexpr TFontStyles fsBold = 1u << 0;
constexpr TFontStyles fsItalic = 1u << 1;
constexpr TFontStyles fsUnderline = 1u << 2;
constexpr TFontStyles fsStrikeOut = 1u << 3;

struct TFont {
    TColor Color = clBlack;
    int32_t Size = 8;  // points
    TFontStyles Style = 0;
    friend bool operator==(const TFont&, const TFont&) = default;
};

// The grid's options that the engines use.
using TGridOptions = uint32_t;
constexpr TGridOptions goEditing = 1u << 0;    // cells may be edited in place
constexpr TGridOptions goRowSelect = 1u << 1;  // the whole row is selected

// The state of a cell being drawn.
using TGridDrawState = uint32_t;
constexpr TGridDrawState gdSelected = 1u << 0;
constexpr TGridDrawState gdFixed = 1u << 1;

struct TGridCoord {
    int32_t X = -1;  // column
    int32_t Y = -1;  // row
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// What a cell is drawn on: a brush, a font, filling, measuring and clipped text.
class IGridCanvas {
  public:
    virtual ~IGridCanvas() = default;
    TColor BrushColor = clWhite;
    TFont Font;
    virtual void FillRect(const TRect& rect) = 0;
    virtual int32_t TextWidth(const std::string& text) = 0;
    virtual int32_t TextHeight(const std::string& text) = 0;
    // Draws `text` with its top-left corner at (x, y), clipped to `clip`.
    virtual void TextRect(const TRect& clip, int32_t x, int32_t y, const std::string& text) = 0;
};

using TDrawCellEvent =
    std::function<void(int32_t col, int32_t row, const TRect& rect, TGridDrawState state)>;
using TSelectCellEvent = std::function<void(int32_t col, int32_t row, bool& canSelect)>;
using TGetEditEvent = std::function<void(int32_t col, int32_t row, std::string& value)>;
using TSetEditEvent = std::function<void(int32_t col, int32_t row, const std::string& value)>;
// Key codes are Windows virtual-key numbers ('A' is 65, the digit keys 48 to 57,
// the space 32). A handler may change the key; 0 swallows it.
using TKeyEvent = std::function<void(uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(char& key)>;
using TMouseWheelUpDownEvent =
    std::function<void(TShiftState shift, TPoint mousePos, bool& handled)>;

// The events of a grid control, raised on the user-interface thread. A wrapper
// that takes over a control saves them and installs its own; an empty one does
// nothing.
struct TGridEvents {
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TDrawCellEvent OnDrawCell;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TGetEditEvent OnGetEditText;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TSelectCellEvent OnSelectCell;
    TSetEditEvent OnSetEditText;
};

class IGridControl : public TGridEvents {
  public:
    virtual ~IGridControl() = default;

    virtual int32_t ColCount() const = 0;
    virtual void SetColCount(int32_t count) = 0;
    virtual int32_t RowCount() const = 0;
    virtual void SetRowCount(int32_t count) = 0;
    virtual int32_t FixedCols() const = 0;
    virtual int32_t FixedRows() const = 0;

    // The selected cell. Moving it raises OnSelectCell first; a refusal keeps it.
    virtual int32_t Col() const = 0;
    virtual int32_t Row() const = 0;
    virtual void SetRow(int32_t row) = 0;
    // The first visible scrollable row, and how many scrollable rows are fully visible.
    virtual int32_t TopRow() const = 0;
    virtual void SetTopRow(int32_t row) = 0;
    virtual int32_t VisibleRowCount() const = 0;

    virtual int32_t ColWidth(int32_t col) const = 0;
    virtual void SetColWidth(int32_t col, int32_t pixels) = 0;
    virtual int32_t RowHeight(int32_t row) const = 0;
    virtual void SetRowHeight(int32_t row, int32_t pixels) = 0;
    virtual int32_t GridLineWidth() const = 0;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;

    virtual TGridOptions Options() const = 0;
    virtual void SetOptions(TGridOptions options) = 0;
    // Whether the in-place editor is shown on the selected cell.
    virtual bool EditorMode() const = 0;
    virtual void SetEditorMode(bool on) = 0;
    // The in-place editor's selection (start from 0), while one is open.
    virtual bool HasInplaceEditor() const = 0;
    virtual int32_t EditorSelStart() const = 0;
    virtual void SetEditorSelStart(int32_t start) = 0;
    virtual int32_t EditorSelLength() const = 0;
    virtual void SetEditorSelLength(int32_t length) = 0;

    // Texts of cells inside the grid; the caller checks the position.
    virtual std::string Cell(int32_t col, int32_t row) const = 0;
    virtual void SetCell(int32_t col, int32_t row, const std::string& text) = 0;
    std::vector<std::string> RowStrings(int32_t row) const;
    // Tells the control that a cell looks different (its text changes tell it
    // themselves): the cell is drawn again at the screen's pace, or at Repaint.
    virtual void CellChanged(int32_t col, int32_t row) = 0;

    virtual IGridCanvas& Canvas() = 0;
    // The cell under a pixel of the control, (-1, -1) outside every cell.
    virtual TGridCoord MouseCoord(int32_t x, int32_t y) const = 0;
    // The mouse cursor in the control's pixels.
    virtual TPoint CursorPos() const = 0;
    // Draws the changed cells now.
    virtual void Repaint() = 0;

    // Asks OnSelectCell whether (col, row) may become the selected cell.
    bool CanSelect(int32_t col, int32_t row) {
        bool allowed = true;
        if (OnSelectCell) OnSelectCell(col, row, allowed);
        return allowed;
    }
};
