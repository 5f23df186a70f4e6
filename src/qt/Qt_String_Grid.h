// The string grid control on QTableWidget: cells addressed (column, row) from 0,
// the first FixedCols columns and FixedRows rows being headers, as the classic
// desktop grid has them. Qt's own headers stay hidden: the fixed cells are
// ordinary cells of the table, which the user cannot select or edit.
//
// Every cell is painted by the control's default drawing (background, then the
// text at two pixels from the top-left corner) followed by OnDrawCell, so that a
// wrapper that takes over the control draws over it. The events of the grid
// interface are raised from Qt's events inside the error guard.
#pragma once

#include <map>
#include <optional>

#include <QPointer>
#include <QTableWidget>
#include <string>
#include <utility>
#include <vector>

#include "platform/Grid_Control.h"

class QLineEdit;
class QPainter;
class TStringGridControl;

// One call that the drawing of a cell made on the canvas: a filled rectangle, or
// a text clipped to a rectangle.
struct TCanvasCall {
    bool IsText = false;
    TRect Rect;
    TColor Colour = clBlack;  // the brush's, or the text's
    TFont Font;
    int32_t X = 0;
    int32_t Y = 0;
    std::string Text;
    friend bool operator==(const TCanvasCall&, const TCanvasCall&) = default;
};

// What the drawing of a cell made: its rectangle in the viewport and its calls
// on the canvas, in order. Two equal drawings paint the same pixels.
struct TCellDrawing {
    QRect Rect;
    std::vector<TCanvasCall> Calls;
    friend bool operator==(const TCellDrawing&, const TCellDrawing&) = default;
};

// The drawing surface of the grid: records the calls of a cell's drawing, paints
// recorded calls, and measures with the control's font at any time.
class TQtGridCanvas : public IGridCanvas {
  public:
    explicit TQtGridCanvas(TStringGridControl& control) : fControl(control) {}
    void FillRect(const TRect& rect) override;
    int32_t TextWidth(const std::string& text) override;
    int32_t TextHeight(const std::string& text) override;
    void TextRect(const TRect& clip, int32_t x, int32_t y, const std::string& text) override;
    // Paints the calls of a drawing; Font stays as it was.
    void Paint(QPainter& painter, const std::vector<TCanvasCall>& calls);

    std::vector<TCanvasCall>* fCalls = nullptr;  // set while a cell is drawn

  private:
    // The Qt font and its metrics for Font, made again only when Font's size or
    // style (or the control's font) changed: a repaint draws every cell and
    // building fonts per cell would cost more than the drawing.
    const QFontMetrics& CurrentMetrics();
    TStringGridControl& fControl;
    QFont fQtFont;
    std::optional<QFontMetrics> fMetrics;
    int32_t fMetricsSize = -1;
    TFontStyles fMetricsStyle = 0;
    QFont fMetricsBase;
};

class TStringGridControl : public QTableWidget, public IGridControl {
    Q_OBJECT
  public:
    static constexpr int kDefaultColWidth = 64;
    static constexpr int kDefaultRowHeight = 24;

    TStringGridControl(QWidget* parent, int colCount, int rowCount, int fixedCols = 1,
                       int fixedRows = 1);
    ~TStringGridControl() override;

    int32_t ColCount() const override { return columnCount(); }
    void SetColCount(int32_t count) override;
    int32_t RowCount() const override { return rowCount(); }
    void SetRowCount(int32_t count) override;
    int32_t FixedCols() const override { return fFixedCols; }
    int32_t FixedRows() const override { return fFixedRows; }
    void SetFixedCols(int count);
    void SetFixedRows(int count);

    int32_t Col() const override;
    int32_t Row() const override;
    void SetRow(int32_t row) override;
    // Selects a cell, through OnSelectCell as a click would.
    void SetSelectedCell(int32_t col, int32_t row);
    int32_t TopRow() const override;
    void SetTopRow(int32_t row) override;
    int32_t VisibleRowCount() const override;

    int32_t ColWidth(int32_t col) const override { return columnWidth(col); }
    void SetColWidth(int32_t col, int32_t pixels) override { setColumnWidth(col, pixels); }
    int32_t RowHeight(int32_t row) const override { return rowHeight(row); }
    void SetRowHeight(int32_t row, int32_t pixels) override { setRowHeight(row, pixels); }
    int32_t GridLineWidth() const override { return showGrid() ? 1 : 0; }
    int32_t Width() const override { return width(); }
    int32_t Height() const override { return height(); }

    TGridOptions Options() const override { return fOptions; }
    void SetOptions(TGridOptions options) override;
    bool EditorMode() const override;
    void SetEditorMode(bool on) override;
    bool HasInplaceEditor() const override;
    int32_t EditorSelStart() const override;
    void SetEditorSelStart(int32_t start) override;
    int32_t EditorSelLength() const override;
    void SetEditorSelLength(int32_t length) override;
    QLineEdit* InplaceEditor() const;

    std::string Cell(int32_t col, int32_t row) const override;
    void SetCell(int32_t col, int32_t row, const std::string& text) override;

    IGridCanvas& Canvas() override { return fCanvas; }
    // Positions are in the pixels of the viewport, where the cells are.
    TGridCoord MouseCoord(int32_t x, int32_t y) const override;
    // Where the mouse was at the control's last mouse event.
    TPoint CursorPos() const override { return TPoint{fLastMouse.x(), fLastMouse.y()}; }
    // Repaints now the visible cells whose drawing changed since they were last
    // painted; the others keep their pixels, which are the same.
    void Repaint() override;

    // The colour Qt paints for a grid colour; system colours come from the palette.
    QColor ToQColor(TColor colour) const;
    // The rectangle of a cell in the viewport.
    TRect CellRect(int32_t col, int32_t row) const;
    bool IsFixed(int32_t col, int32_t row) const { return col < fFixedCols || row < fFixedRows; }

    void EditorOpened(QLineEdit* editor, int32_t col, int32_t row);
    void RaiseKeyDown(QKeyEvent* event, bool& swallowed);

  protected:
    // Draws the cells of the dirty region through PaintCell, then the grid lines,
    // as the table view does, but without the style's per-cell item panel: every
    // cell paints its whole rectangle, and a grid of a thousand cells repaints
    // at every step of a search.
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

  private:
    // The drawing of one cell: the default drawing, then OnDrawCell.
    TCellDrawing RecordCell(const QRect& rect, int32_t col, int32_t row);
    // Paints one cell with the drawing that Repaint made for it, or a new one; a
    // cell painted whole is remembered as drawn.
    void PaintCell(QPainter& painter, const QRect& rect, int32_t col, int32_t row, bool whole);
    std::optional<TCellDrawing>& Drawn(int32_t col, int32_t row);
    void UpdateFixedFlags();
    void FocusChanged(QWidget* old, QWidget* now);
    bool Contains(const QWidget* widget) const;

    int fFixedCols;
    int fFixedRows;
    TGridOptions fOptions = 0;
    TQtGridCanvas fCanvas{*this};
    QPointer<QLineEdit> fEditor;
    QPoint fLastMouse;
    // The drawing last painted whole in each cell (row by row), and the drawings
    // that Repaint made for the cells it is repainting.
    std::vector<std::optional<TCellDrawing>> fDrawn;
    int fDrawnCols = 0;
    std::map<std::pair<int32_t, int32_t>, TCellDrawing> fRepainting;
};
