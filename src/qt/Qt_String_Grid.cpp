#include "qt/Qt_String_Grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "qt/Qt_Message_Box.h"
#include "qt/Qt_Mouse_Event.h"
#include "qt/Text_Codec.h"

namespace {

// The shift state of a key or wheel event: the keys held.
TShiftState ModifierShiftOf(Qt::KeyboardModifiers keys) {
    TShiftState shift = 0;
    if (keys & Qt::ShiftModifier) shift |= ssShift;
    if (keys & Qt::AltModifier) shift |= ssAlt;
    if (keys & Qt::ControlModifier) shift |= ssCtrl;
    return shift;
}

// The Windows virtual-key number of a Qt key, 0 for keys without one here.
uint16_t VirtualKeyOf(const QKeyEvent* event) {
    const int key = event->key();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9) return uint16_t(0x60 + key - Qt::Key_0);
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) ||
        key == Qt::Key_Space)
        return uint16_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return uint16_t(0x70 + key - Qt::Key_F1);
    if (keypad) {
        switch (key) {
            case Qt::Key_Asterisk:
                return 0x6A;
            case Qt::Key_Plus:
                return 0x6B;
            case Qt::Key_Minus:
                return 0x6D;
            case Qt::Key_Period:
                return 0x6E;
            case Qt::Key_Slash:
                return 0x6F;
            default:
                break;
        }
    }
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
            return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 0x0D;
        case Qt::Key_Shift:
            return 0x10;
        case Qt::Key_Control:
            return 0x11;
        case Qt::Key_Alt:
            return 0x12;
        case Qt::Key_Escape:
            return 0x1B;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return 0x25;
        case Qt::Key_Up:
            return 0x26;
        case Qt::Key_Right:
            return 0x27;
        case Qt::Key_Down:
            return 0x28;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return 0x2E;
        default:
            return 0;
    }
}

// Moves of the current cell are asked of OnSelectCell first, while the control
// lives.
class TGridSelectionModel : public QItemSelectionModel {
  public:
    TGridSelectionModel(QAbstractItemModel* model, TStringGridControl& control)
        : QItemSelectionModel(model, &control), fControl(&control) {}
    void setCurrentIndex(const QModelIndex& index,
                         QItemSelectionModel::SelectionFlags command) override {
        if (fControl && index.isValid() && index != currentIndex()) {
            bool allowed = true;
            RunGuarded([&] { allowed = fControl->CanSelect(index.column(), index.row()); });
            if (!allowed) return;
        }
        QItemSelectionModel::setCurrentIndex(index, command);
    }
    void Detach() { fControl = nullptr; }

  private:
    TStringGridControl* fControl;
};

// Gives the in-place editor the text that OnGetEditText makes of the cell's,
// keeping the cell in step with what is typed. (The control paints the cells.)
class TGridDelegate : public QStyledItemDelegate {
  public:
    explicit TGridDelegate(TStringGridControl& control)
        : QStyledItemDelegate(&control), fControl(control) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        fControl.EditorOpened(editor, index.column(), index.row());
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        std::string value = fControl.Cell(index.column(), index.row());
        RunGuarded([&] {
            if (fControl.OnGetEditText) fControl.OnGetEditText(index.column(), index.row(), value);
        });
        auto* line = static_cast<QLineEdit*>(editor);
        // An unchanged text keeps the caret where the user left it.
        if (line->text() != ToQt(value)) line->setText(ToQt(value));
    }

  private:
    TStringGridControl& fControl;
};

}  // namespace

// ---- the drawing surface ----

const QFontMetrics& TQtGridCanvas::CurrentMetrics() {
    if (!fMetrics || fMetricsSize != Font.Size || fMetricsStyle != Font.Style ||
        fMetricsBase != fControl.font()) {
        fMetricsBase = fControl.font();
        fMetricsSize = Font.Size;
        fMetricsStyle = Font.Style;
        fQtFont = fMetricsBase;
        if (Font.Size > 0) fQtFont.setPointSize(Font.Size);
        fQtFont.setBold(Font.Style & fsBold);
        fQtFont.setItalic(Font.Style & fsItalic);
        fQtFont.setUnderline(Font.Style & fsUnderline);
        fQtFont.setStrikeOut(Font.Style & fsStrikeOut);
        fMetrics.emplace(fQtFont);
    }
    return *fMetrics;
}

void TQtGridCanvas::FillRect(const TRect& rect) {
    if (!fCalls || rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    fCalls->push_back(TCanvasCall{false, rect, BrushColor, {}, 0, 0, {}});
}

int32_t TQtGridCanvas::TextWidth(const std::string& text) {
    if (text.empty()) return 0;
    return CurrentMetrics().horizontalAdvance(ToQt(text));
}

int32_t TQtGridCanvas::TextHeight(const std::string&) {
    return CurrentMetrics().height();
}

void TQtGridCanvas::TextRect(const TRect& clip, int32_t x, int32_t y, const std::string& text) {
    // An empty text draws nothing; most cells of the SAT grid are empty.
    if (!fCalls || text.empty()) return;
    fCalls->push_back(TCanvasCall{true, clip, Font.Color, Font, x, y, text});
}

void TQtGridCanvas::Paint(QPainter& painter, const std::vector<TCanvasCall>& calls) {
    const TFont font = Font;
    for (const TCanvasCall& call : calls) {
        const QRect rect(call.Rect.Left, call.Rect.Top, call.Rect.Width(), call.Rect.Height());
        if (!call.IsText) {
            painter.fillRect(rect, fControl.ToQColor(call.Colour));
            continue;
        }
        Font = call.Font;
        const int ascent = CurrentMetrics().ascent();
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.setFont(fQtFont);
        painter.setPen(fControl.ToQColor(call.Colour));
        painter.drawText(QPoint(call.X, call.Y + ascent), ToQt(call.Text));
        painter.restore();
    }
    Font = font;
}

// ---- the control ----

TStringGridControl::TStringGridControl(QWidget* parent, int colCount, int rowCount, int fixedCols,
                                       int fixedRows)
    : QTableWidget(rowCount, colCount, parent), fFixedCols(fixedCols), fFixedRows(fixedRows) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(kDefaultColWidth);
    verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
    setSelectionModel(new TGridSelectionModel(model(), *this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new TGridDelegate(*this));
    setMouseTracking(true);
    // Tab leaves the grid, as in the classic grid without tab navigation.
    setTabKeyNavigation(false);
    SetOptions(0);
    UpdateFixedFlags();
    if (fixedCols < colCount && fixedRows < rowCount) setCurrentCell(fixedRows, fixedCols);
    connect(qApp, &QApplication::focusChanged, this, &TStringGridControl::FocusChanged);
}

// The events belong to this object: none may be raised from the widget's own
// destruction (which moves the focus) once they are gone.
TStringGridControl::~TStringGridControl() {
    disconnect(qApp, nullptr, this, nullptr);
    static_cast<TGridSelectionModel*>(selectionModel())->Detach();
    static_cast<TGridEvents&>(*this) = TGridEvents{};
}

void TStringGridControl::SetColCount(int32_t count) {
    setColumnCount(std::max(count, 0));
    UpdateFixedFlags();
}

void TStringGridControl::SetRowCount(int32_t count) {
    setRowCount(std::max(count, 0));
    UpdateFixedFlags();
}

void TStringGridControl::SetFixedCols(int count) {
    fFixedCols = count;
    UpdateFixedFlags();
}

void TStringGridControl::SetFixedRows(int count) {
    fFixedRows = count;
    UpdateFixedFlags();
}

// Flags are set only where they change: each change repaints its cell.
void TStringGridControl::UpdateFixedFlags() {
    for (int row = 0; row < rowCount(); ++row)
        for (int col = 0; col < columnCount(); ++col) {
            QTableWidgetItem* cell = item(row, col);
            if (!IsFixed(col, row)) {
                const Qt::ItemFlags free = Qt::ItemIsSelectable | Qt::ItemIsEditable |
                                           (cell ? cell->flags() : Qt::ItemFlags());
                if (cell && cell->flags() != free) cell->setFlags(free);
                continue;
            }
            if (!cell) {
                cell = new QTableWidgetItem;
                setItem(row, col, cell);
            }
            if (cell->flags() != Qt::ItemIsEnabled) cell->setFlags(Qt::ItemIsEnabled);
        }
}

int32_t TStringGridControl::Col() const {
    return currentIndex().isValid() ? currentColumn() : 0;
}

int32_t TStringGridControl::Row() const {
    return currentIndex().isValid() ? currentRow() : 0;
}

void TStringGridControl::SetRow(int32_t row) {
    SetSelectedCell(Col(), row);
}

void TStringGridControl::SetSelectedCell(int32_t col, int32_t row) {
    if (col < 0 || col >= columnCount() || row < 0 || row >= rowCount()) return;
    setCurrentCell(row, col);
    scrollTo(model()->index(row, col));
    viewport()->update();
}

int32_t TStringGridControl::TopRow() const {
    const int top = rowAt(0);
    return top < fFixedRows ? fFixedRows : top;
}

void TStringGridControl::SetTopRow(int32_t row) {
    if (row < 0 || row >= rowCount()) return;
    // The first scrollable row at the top shows the fixed rows above it.
    if (row <= fFixedRows)
        verticalScrollBar()->setValue(0);
    else
        scrollTo(model()->index(row, 0), QAbstractItemView::PositionAtTop);
}

int32_t TStringGridControl::VisibleRowCount() const {
    const int height = viewport()->height();
    int32_t count = 0;
    for (int row = TopRow(); row < rowCount(); ++row) {
        if (rowViewportPosition(row) + rowHeight(row) > height) break;
        ++count;
    }
    return count;
}

void TStringGridControl::SetOptions(TGridOptions options) {
    fOptions = options;
    setEditTriggers((options & goEditing)
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);
    setSelectionBehavior((options & goRowSelect) ? QAbstractItemView::SelectRows
                                                 : QAbstractItemView::SelectItems);
}

bool TStringGridControl::EditorMode() const {
    return state() == QAbstractItemView::EditingState && fEditor;
}

void TStringGridControl::SetEditorMode(bool on) {
    if (on == EditorMode()) return;
    if (on) {
        if (currentIndex().isValid()) edit(currentIndex());
        return;
    }
    QLineEdit* editor = fEditor;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    fEditor = nullptr;
}

bool TStringGridControl::HasInplaceEditor() const {
    return EditorMode();
}

QLineEdit* TStringGridControl::InplaceEditor() const {
    return EditorMode() ? fEditor.data() : nullptr;
}

int32_t TStringGridControl::EditorSelStart() const {
    QLineEdit* editor = InplaceEditor();
    if (!editor) return 0;
    return editor->hasSelectedText() ? editor->selectionStart() : editor->cursorPosition();
}

void TStringGridControl::SetEditorSelStart(int32_t start) {
    if (QLineEdit* editor = InplaceEditor()) editor->setCursorPosition(start);
}

int32_t TStringGridControl::EditorSelLength() const {
    QLineEdit* editor = InplaceEditor();
    return editor ? int32_t(editor->selectedText().size()) : 0;
}

void TStringGridControl::SetEditorSelLength(int32_t length) {
    QLineEdit* editor = InplaceEditor();
    if (!editor) return;
    const int start = EditorSelStart();
    if (length > 0)
        editor->setSelection(start, length);
    else
        editor->setCursorPosition(start);
}

void TStringGridControl::EditorOpened(QLineEdit* editor, int32_t col, int32_t row) {
    fEditor = editor;
    editor->installEventFilter(this);
    connect(editor, &QLineEdit::textEdited, this, [this, col, row](const QString& text) {
        if (QTableWidgetItem* cell = item(row, col))
            cell->setText(text);
        else
            setItem(row, col, new QTableWidgetItem(text));
        RunGuarded([&] {
            if (OnSetEditText) OnSetEditText(col, row, FromQt(text));
        });
    });
}

std::string TStringGridControl::Cell(int32_t col, int32_t row) const {
    const QTableWidgetItem* cell = item(row, col);
    return cell ? FromQt(cell->text()) : std::string();
}

void TStringGridControl::SetCell(int32_t col, int32_t row, const std::string& text) {
    QTableWidgetItem* cell = item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, col, cell);
        if (IsFixed(col, row)) cell->setFlags(Qt::ItemIsEnabled);
    }
    cell->setText(ToQt(text));
}

TGridCoord TStringGridControl::MouseCoord(int32_t x, int32_t y) const {
    const int col = columnAt(x);
    const int row = rowAt(y);
    if (col < 0 || row < 0) return TGridCoord{};
    return TGridCoord{col, row};
}

QColor TStringGridControl::ToQColor(TColor colour) const {
    switch (colour) {
        case clBtnFace:
            return palette().color(QPalette::Button);
        case clWindow:
            return palette().color(QPalette::Base);
        case clWindowText:
            return palette().color(QPalette::Text);
        case clHighlight:
            return palette().color(QPalette::Highlight);
        case clHighlightText:
            return palette().color(QPalette::HighlightedText);
        default:
            break;
    }
    const TColor plain = ResolvePixelColour(colour);
    return QColor(RedOf(plain), GreenOf(plain), BlueOf(plain));
}

TRect TStringGridControl::CellRect(int32_t col, int32_t row) const {
    const QRect r = visualRect(model()->index(row, col));
    return Rect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}

TCellDrawing TStringGridControl::RecordCell(const QRect& rect, int32_t col, int32_t row) {
    TCellDrawing drawing{rect, {}};
    const TRect r = Rect(rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height());
    const bool fixed = IsFixed(col, row);
    const bool selected = !fixed && currentIndex().isValid() && row == Row() &&
                          (col == Col() || (fOptions & goRowSelect));
    fCanvas.fCalls = &drawing.Calls;
    fCanvas.BrushColor = fixed ? clBtnFace : selected ? clHighlight : clWindow;
    fCanvas.FillRect(r);
    fCanvas.Font = TFont{};
    fCanvas.Font.Color = selected ? clHighlightText : clWindowText;
    fCanvas.TextRect(r, r.Left + 2, r.Top + 2, Cell(col, row));
    const TGridDrawState state = (fixed ? gdFixed : 0) | (selected ? gdSelected : 0);
    RunGuarded([&] {
        if (OnDrawCell) OnDrawCell(col, row, r, state);
    });
    fCanvas.fCalls = nullptr;
    return drawing;
}

std::optional<TCellDrawing>& TStringGridControl::Drawn(int32_t col, int32_t row) {
    const size_t cells = static_cast<size_t>(rowCount()) * static_cast<size_t>(columnCount());
    if (fDrawn.size() != cells || fDrawnCols != columnCount()) {
        fDrawn.assign(cells, std::nullopt);
        fDrawnCols = columnCount();
    }
    return fDrawn[static_cast<size_t>(row) * static_cast<size_t>(columnCount()) +
                  static_cast<size_t>(col)];
}

void TStringGridControl::PaintCell(QPainter& painter, const QRect& rect, int32_t col, int32_t row,
                                   bool whole) {
    const auto made = fRepainting.find({col, row});
    TCellDrawing drawing = made != fRepainting.end() && made->second.Rect == rect
                               ? std::move(made->second)
                               : RecordCell(rect, col, row);
    if (made != fRepainting.end()) fRepainting.erase(made);
    fCanvas.Paint(painter, drawing.Calls);
    // A cell painted in part keeps older pixels elsewhere: it is not known as drawn.
    if (whole)
        Drawn(col, row) = std::move(drawing);
    else
        Drawn(col, row).reset();
}

// Every visible cell is drawn (OnDrawCell runs for each, as in a full repaint),
// and only those whose drawing differs from the one they show are painted.
void TStringGridControl::Repaint() {
    QWidget* area = viewport();
    const int top = rowAt(0);
    const int left = columnAt(0);
    if (!area->isVisible() || !area->updatesEnabled() || top < 0 || left < 0) {
        area->repaint();
        return;
    }
    int bottom = rowAt(area->height() - 1);
    int right = columnAt(area->width() - 1);
    if (bottom < 0) bottom = rowCount() - 1;
    if (right < 0) right = columnCount() - 1;
    const int gridSize = showGrid() ? 1 : 0;
    QRegion changed;
    for (int row = top; row <= bottom; ++row)
        for (int col = left; col <= right; ++col) {
            const QRect rect(columnViewportPosition(col), rowViewportPosition(row),
                             columnWidth(col) - gridSize, rowHeight(row) - gridSize);
            if (rect.isEmpty()) continue;
            TCellDrawing drawing = RecordCell(rect, col, row);
            const std::optional<TCellDrawing>& shown = Drawn(col, row);
            if (shown && *shown == drawing) continue;
            changed += rect;
            fRepainting[{col, row}] = std::move(drawing);
        }
    if (!changed.isEmpty()) area->repaint(changed);
    fRepainting.clear();
}

void TStringGridControl::paintEvent(QPaintEvent* event) {
    QHeaderView* columns = horizontalHeader();
    QHeaderView* rows = verticalHeader();
    if (columns->count() == 0 || rows->count() == 0) return;
    QPainter painter(viewport());
    const int gridSize = showGrid() ? 1 : 0;
    // The cells end at these viewport positions, their last grid line included.
    const int cellsRight = columns->length() - columns->offset() - 1;
    const int cellsBottom = rows->length() - rows->offset() - 1;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QPen gridPen(QColor::fromRgba(static_cast<QRgb>(
                           style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this))),
                       1, gridStyle());
    for (QRect dirty : event->region()) {
        dirty.setRight(std::min(dirty.right(), cellsRight));
        dirty.setBottom(std::min(dirty.bottom(), cellsBottom));
        if (!dirty.isValid()) continue;
        int left = columns->visualIndexAt(dirty.left());
        int right = columns->visualIndexAt(dirty.right());
        int top = rows->visualIndexAt(dirty.top());
        int bottom = rows->visualIndexAt(dirty.bottom());
        if (left == -1) left = 0;
        if (right == -1) right = columns->count() - 1;
        if (top == -1) top = 0;
        if (bottom == -1) bottom = rows->count() - 1;
        for (int visualRow = top; visualRow <= bottom; ++visualRow) {
            const int row = rows->logicalIndex(visualRow);
            if (rows->isSectionHidden(row)) continue;
            const int y = rowViewportPosition(row);
            const int height = rowHeight(row) - gridSize;
            for (int visualCol = left; visualCol <= right; ++visualCol) {
                const int col = columns->logicalIndex(visualCol);
                if (columns->isSectionHidden(col)) continue;
                const QRect cell(columnViewportPosition(col), y, columnWidth(col) - gridSize,
                                 height);
                PaintCell(painter, cell, col, row, dirty.contains(cell));
            }
        }
        if (!gridSize) continue;
        painter.setPen(gridPen);
        for (int visualRow = top; visualRow <= bottom; ++visualRow) {
            const int row = rows->logicalIndex(visualRow);
            if (rows->isSectionHidden(row)) continue;
            const int y = rowViewportPosition(row) + rowHeight(row) - gridSize;
            painter.drawLine(dirty.left(), y, dirty.right(), y);
        }
        for (int visualCol = left; visualCol <= right; ++visualCol) {
            const int col = columns->logicalIndex(visualCol);
            if (columns->isSectionHidden(col)) continue;
            const int x = columnViewportPosition(col) + columnWidth(col) - gridSize;
            painter.drawLine(x, dirty.top(), x, dirty.bottom());
        }
    }
}

// ---- events ----

void TStringGridControl::RaiseKeyDown(QKeyEvent* event, bool& swallowed) {
    uint16_t key = VirtualKeyOf(event);
    swallowed = false;
    RunGuarded([&] {
        if (OnKeyDown) OnKeyDown(key, ModifierShiftOf(event->modifiers()));
        if (key == 0 && VirtualKeyOf(event) != 0) {
            swallowed = true;
            return;
        }
        const QString text = event->text();
        if (OnKeyPress && text.size() == 1 && text.at(0).isPrint()) {
            const std::string bytes = FromQt(text);
            char c = bytes.empty() ? '?' : bytes[0];
            OnKeyPress(c);
            swallowed = c == 0;
        }
    });
}

void TStringGridControl::keyPressEvent(QKeyEvent* event) {
    bool swallowed = false;
    RaiseKeyDown(event, swallowed);
    if (swallowed) return;
    // The handler may have opened the editor: the key is then typed into it.
    if (QLineEdit* editor = InplaceEditor()) {
        QCoreApplication::sendEvent(editor, event);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TStringGridControl::keyReleaseEvent(QKeyEvent* event) {
    uint16_t key = VirtualKeyOf(event);
    RunGuarded([&] {
        if (OnKeyUp) OnKeyUp(key, ModifierShiftOf(event->modifiers()));
    });
    QTableWidget::keyReleaseEvent(event);
}

bool TStringGridControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fEditor && event->type() == QEvent::KeyPress) {
        bool swallowed = false;
        RaiseKeyDown(static_cast<QKeyEvent*>(event), swallowed);
        if (swallowed) return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

void TStringGridControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    fLastMouse = p;
    const QModelIndex index = indexAt(p);
    // Fixed cells are headers: a click on one selects nothing.
    if (index.isValid() && IsFixed(index.column(), index.row()))
        setFocus(Qt::MouseFocusReason);
    else
        QTableWidget::mousePressEvent(event);
    RunGuarded([&] {
        if (OnMouseDown) OnMouseDown(ButtonOf(event), ShiftOf(event), p.x(), p.y());
    });
}

void TStringGridControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    fLastMouse = p;
    if (!(event->buttons() & Qt::LeftButton) || !indexAt(p).isValid() ||
        !IsFixed(indexAt(p).column(), indexAt(p).row()))
        QTableWidget::mouseMoveEvent(event);
    RunGuarded([&] {
        if (OnMouseMove) OnMouseMove(ShiftOf(event), p.x(), p.y());
    });
}

void TStringGridControl::mouseReleaseEvent(QMouseEvent* event) {
    QTableWidget::mouseReleaseEvent(event);
    const QPoint p = event->position().toPoint();
    fLastMouse = p;
    RunGuarded([&] {
        if (OnClick && event->button() == Qt::LeftButton && viewport()->rect().contains(p))
            OnClick();
        if (OnMouseUp) OnMouseUp(ButtonOf(event), ShiftOf(event), p.x(), p.y());
    });
}

void TStringGridControl::mouseDoubleClickEvent(QMouseEvent* event) {
    fLastMouse = event->position().toPoint();
    QTableWidget::mouseDoubleClickEvent(event);
    RunGuarded([&] {
        if (OnDblClick) OnDblClick();
    });
}

void TStringGridControl::wheelEvent(QWheelEvent* event) {
    bool handled = false;
    const QPoint p = event->position().toPoint();
    RunGuarded([&] {
        const TShiftState shift = ModifierShiftOf(event->modifiers());
        if (event->angleDelta().y() < 0) {
            if (OnMouseWheelDown) OnMouseWheelDown(shift, TPoint{p.x(), p.y()}, handled);
        } else if (OnMouseWheelUp) {
            OnMouseWheelUp(shift, TPoint{p.x(), p.y()}, handled);
        }
    });
    if (handled)
        event->accept();
    else
        QTableWidget::wheelEvent(event);
}

QModelIndex TStringGridControl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableWidget::moveCursor(action, modifiers);
    if (!target.isValid()) return target;
    // The keyboard moves among the data cells only.
    const int row =
        target.row() < fFixedRows && fFixedRows < rowCount() ? fFixedRows : target.row();
    const int col =
        target.column() < fFixedCols && fFixedCols < columnCount() ? fFixedCols : target.column();
    return model()->index(row, col);
}

bool TStringGridControl::Contains(const QWidget* widget) const {
    for (; widget; widget = widget->parentWidget())
        if (widget == this) return true;
    return false;
}

void TStringGridControl::FocusChanged(QWidget* old, QWidget* now) {
    const bool wasIn = Contains(old);
    const bool isIn = Contains(now);
    if (wasIn == isIn) return;
    RunGuarded([&] {
        if (isIn && OnEnter) OnEnter();
        if (!isIn && OnExit) OnExit();
    });
}
