// The string grid control on Qt's model/view: cells addressed (column, row) from
// 0, the first FixedCols columns and FixedRows rows being headers, as the classic
// desktop grid has them. The texts live in a table model, a QTableView shows
// them (Qt's own headers stay hidden: the fixed cells are ordinary cells that the
// user cannot select or edit), and the view's delegate draws every cell: the
// control's default drawing (background, then the text at two pixels from the
// top-left corner), then OnDrawCell, so that a wrapper that takes the control
// over (the typed grid) decides how each cell looks.
//
// How a change reaches the screen: SetCell (a new text), or a wrapper's
// CellChanged (a new look), marks the cell; the marked cells are told to the view
// (dataChanged for each) at the screen's pace, at most once per frame, or at once
// by Repaint. The view repaints the cells it is told of, and only those, through
// the delegate. An editor open on a cell shows its new text at once.
//
// The events of the grid interface are raised from Qt's events inside the error
// guard.
#pragma once

#include <QPointer>
#include <QTableView>
#include <optional>
#include <string>
#include <vector>

#include "platform/Grid_Control.h"
#include "qt/Frame_Pacer.h"

class QLineEdit;
class QPainter;
class TGridModel;
class TStringGridControl;

// The drawing surface of the grid: paints at once on the painter of the cell
// being drawn, and measures with the control's font at any time.
class TQtGridCanvas : public IGridCanvas {
  public:
    explicit TQtGridCanvas(TStringGridControl& control) : fControl(control) {}
    void FillRect(const TRect& rect) override;
    int32_t TextWidth(const std::string& text) override;
    int32_t TextHeight(const std::string& text) override;
    void TextRect(const TRect& clip, int32_t x, int32_t y, const std::string& text) override;

    QPainter* fPainter = nullptr;  // set while a cell is drawn

  private:
    // The Qt font and its metrics for Font, made again only when Font's size or
    // style (or the control's font) changed: building fonts per cell would cost
    // more than the drawing.
    const QFontMetrics& CurrentMetrics();
    TStringGridControl& fControl;
    QFont fQtFont;
    std::optional<QFontMetrics> fMetrics;
    int32_t fMetricsSize = -1;
    TFontStyles fMetricsStyle = 0;
    QFont fMetricsBase;
};

class TStringGridControl : public QTableView, public IGridControl {
    Q_OBJECT
  public:
    static constexpr int kDefaultColWidth = 64;
    static constexpr int kDefaultRowHeight = 24;

    TStringGridControl(QWidget* parent, int colCount, int rowCount, int fixedCols = 1,
                       int fixedRows = 1);
    ~TStringGridControl() override;

    int32_t ColCount() const override;
    void SetColCount(int32_t count) override;
    int32_t RowCount() const override;
    void SetRowCount(int32_t count) override;
    int32_t FixedCols() const override { return fFixedCols; }
    int32_t FixedRows() const override { return fFixedRows; }

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
    bool HasInplaceEditor() const override { return EditorMode(); }
    int32_t EditorSelStart() const override;
    void SetEditorSelStart(int32_t start) override;
    int32_t EditorSelLength() const override;
    void SetEditorSelLength(int32_t length) override;
    QLineEdit* InplaceEditor() const;

    std::string Cell(int32_t col, int32_t row) const override;
    void SetCell(int32_t col, int32_t row, const std::string& text) override;
    void CellChanged(int32_t col, int32_t row) override;

    IGridCanvas& Canvas() override { return fCanvas; }
    // Positions are in the pixels of the viewport, where the cells are.
    TGridCoord MouseCoord(int32_t x, int32_t y) const override;
    // Where the mouse was at the control's last mouse event.
    TPoint CursorPos() const override { return TPoint{fLastMouse.x(), fLastMouse.y()}; }
    // Tells the view the changed cells and paints them now.
    void Repaint() override;

    // The colour Qt paints for a grid colour; system colours come from the palette.
    QColor ToQColor(TColor colour) const;
    // The rectangle of a cell in the viewport.
    TRect CellRect(int32_t col, int32_t row) const;
    bool IsFixed(int32_t col, int32_t row) const { return col < fFixedCols || row < fFixedRows; }

    // The delegate's drawing of one cell.
    void DrawCell(QPainter& painter, const QRect& rect, int32_t col, int32_t row);
    void EditorOpened(QLineEdit* editor, int32_t col, int32_t row);
    void RaiseKeyDown(QKeyEvent* event, bool& swallowed);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Paints the cells of the dirty region through the delegate. A report that a
    // drawing raises shows its box after the paint event, never inside it.
    void paintEvent(QPaintEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

  private:
    // Tells the view the marked cells (dataChanged for each), and unmarks them.
    void TellChanges();
    void FocusChanged(QWidget* old, QWidget* now);
    bool Contains(const QWidget* widget) const;

    int fFixedCols;
    int fFixedRows;
    TGridOptions fOptions = 0;
    TGridModel* fModel;
    TQtGridCanvas fCanvas{*this};
    QPointer<QLineEdit> fEditor;
    QPoint fLastMouse;
    // The cells changed since the view was last told, and a mark per cell (row by
    // row) so that each is told once.
    std::vector<std::pair<int32_t, int32_t>> fChanged;
    std::vector<bool> fMarked;
    TFramePacer fFrame{this, [this] { TellChanges(); }};
};
