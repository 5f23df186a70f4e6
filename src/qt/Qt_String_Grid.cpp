#include "qt/Qt_String_Grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
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

}  // namespace

// The texts of the cells, [row][column], Windows-1252 as the engines hold them.
// Fixed cells can be neither selected nor edited.
class TGridModel : public QAbstractTableModel {
  public:
    TGridModel(TStringGridControl& control, int cols, int rows)
        : QAbstractTableModel(&control), fControl(control), fCols(cols) {
        fTexts.assign(static_cast<size_t>(rows), std::vector<std::string>(size_t(cols)));
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(fTexts.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : fCols;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
        return ToQt(Text(index.column(), index.row()));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        if (fControl.IsFixed(index.column(), index.row())) return Qt::ItemIsEnabled;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    }
    const std::string& Text(int col, int row) const { return fTexts[size_t(row)][size_t(col)]; }
    // True when the text changed.
    bool SetText(int col, int row, const std::string& text) {
        std::string& cell = fTexts[size_t(row)][size_t(col)];
        if (cell == text) return false;
        cell = text;
        return true;
    }
    void SetColCount(int cols) {
        if (cols > fCols) {
            beginInsertColumns({}, fCols, cols - 1);
            Resize(cols);
            endInsertColumns();
        } else if (cols < fCols) {
            beginRemoveColumns({}, cols, fCols - 1);
            Resize(cols);
            endRemoveColumns();
        }
    }
    void SetRowCount(int rows) {
        const int old = int(fTexts.size());
        if (rows > old) {
            beginInsertRows({}, old, rows - 1);
            fTexts.resize(size_t(rows), std::vector<std::string>(size_t(fCols)));
            endInsertRows();
        } else if (rows < old) {
            beginRemoveRows({}, rows, old - 1);
            fTexts.resize(size_t(rows));
            endRemoveRows();
        }
    }
    void Changed(const QModelIndex& index) { emit dataChanged(index, index); }

  private:
    void Resize(int cols) {
        fCols = cols;
        for (auto& row : fTexts) row.resize(size_t(cols));
    }
    TStringGridControl& fControl;
    int fCols;
    std::vector<std::vector<std::string>> fTexts;
};

namespace {

// Draws every cell through the control, and gives the in-place editor the text
// that OnGetEditText makes of the cell's; what is typed reaches the cell at once.
class TGridDelegate : public QStyledItemDelegate {
  public:
    explicit TGridDelegate(TStringGridControl& control)
        : QStyledItemDelegate(&control), fControl(control) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        fControl.DrawCell(*painter, option.rect, index.column(), index.row());
    }
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
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

  private:
    TStringGridControl& fControl;
};

// While the grid paints, message boxes wait: a modal box runs a message loop,
// which must not start inside a paint event. The boxes show once the paint event
// has ended, through the box installed then.
class TBoxesAfterPainting : public IMessageBox {
  public:
    TBoxesAfterPainting() : fOuter(CurrentMessageBox()) { SetMessageBox(this); }
    ~TBoxesAfterPainting() override {
        SetMessageBox(fOuter);
        if (fTexts.empty()) return;
        QTimer::singleShot(0, qApp, [texts = std::move(fTexts)] {
            for (const std::string& text : texts) ShowMessageBox(text);
        });
    }
    void Show(const std::string& text) override { fTexts.push_back(text); }

  private:
    IMessageBox* fOuter;
    std::vector<std::string> fTexts;
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
    if (!fPainter || rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    fPainter->fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()),
                       fControl.ToQColor(BrushColor));
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
    if (!fPainter || text.empty()) return;
    const int ascent = CurrentMetrics().ascent();
    fPainter->save();
    fPainter->setClipRect(QRect(clip.Left, clip.Top, clip.Width(), clip.Height()),
                          Qt::IntersectClip);
    fPainter->setFont(fQtFont);
    fPainter->setPen(fControl.ToQColor(Font.Color));
    fPainter->drawText(QPoint(x, y + ascent), ToQt(text));
    fPainter->restore();
}

// ---- the control ----

TStringGridControl::TStringGridControl(QWidget* parent, int colCount, int rowCount, int fixedCols,
                                       int fixedRows)
    : QTableView(parent),
      fFixedCols(fixedCols),
      fFixedRows(fixedRows),
      fModel(new TGridModel(*this, std::max(colCount, 0), std::max(rowCount, 0))) {
    setModel(fModel);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(kDefaultColWidth);
    verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
    setSelectionModel(new TGridSelectionModel(fModel, *this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new TGridDelegate(*this));
    setMouseTracking(true);
    // Tab leaves the grid, as in the classic grid without tab navigation.
    setTabKeyNavigation(false);
    SetOptions(0);
    if (fixedCols < colCount && fixedRows < rowCount)
        setCurrentIndex(fModel->index(fixedRows, fixedCols));
    connect(qApp, &QApplication::focusChanged, this, &TStringGridControl::FocusChanged);
}

// The events belong to this object: none may be raised from the widget's own
// destruction (which moves the focus) once they are gone.
TStringGridControl::~TStringGridControl() {
    disconnect(qApp, nullptr, this, nullptr);
    static_cast<TGridSelectionModel*>(selectionModel())->Detach();
    static_cast<TGridEvents&>(*this) = TGridEvents{};
}

int32_t TStringGridControl::ColCount() const {
    return fModel->columnCount();
}

int32_t TStringGridControl::RowCount() const {
    return fModel->rowCount();
}

// Changes of size are drawn with the next paint of the whole view; the marks of
// the cells follow the new counts.
void TStringGridControl::SetColCount(int32_t count) {
    fModel->SetColCount(std::max(count, 0));
    fChanged.clear();
    fMarked.clear();
}

void TStringGridControl::SetRowCount(int32_t count) {
    fModel->SetRowCount(std::max(count, 0));
    fChanged.clear();
    fMarked.clear();
}

int32_t TStringGridControl::Col() const {
    return currentIndex().isValid() ? currentIndex().column() : 0;
}

int32_t TStringGridControl::Row() const {
    return currentIndex().isValid() ? currentIndex().row() : 0;
}

void TStringGridControl::SetRow(int32_t row) {
    SetSelectedCell(Col(), row);
}

void TStringGridControl::SetSelectedCell(int32_t col, int32_t row) {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return;
    setCurrentIndex(fModel->index(row, col));
    scrollTo(fModel->index(row, col));
    viewport()->update();
}

int32_t TStringGridControl::TopRow() const {
    const int top = rowAt(0);
    return top < fFixedRows ? fFixedRows : top;
}

void TStringGridControl::SetTopRow(int32_t row) {
    if (row < 0 || row >= RowCount()) return;
    // The first scrollable row at the top shows the fixed rows above it.
    if (row <= fFixedRows)
        verticalScrollBar()->setValue(0);
    else
        scrollTo(fModel->index(row, 0), QAbstractItemView::PositionAtTop);
}

int32_t TStringGridControl::VisibleRowCount() const {
    const int height = viewport()->height();
    int32_t count = 0;
    for (int row = TopRow(); row < RowCount(); ++row) {
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
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    fEditor = nullptr;
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
        if (col >= ColCount() || row >= RowCount()) return;
        SetCell(col, row, FromQt(text));
        RunGuarded([&] {
            if (OnSetEditText) OnSetEditText(col, row, FromQt(text));
        });
    });
}

std::string TStringGridControl::Cell(int32_t col, int32_t row) const {
    return fModel->Text(col, row);
}

void TStringGridControl::SetCell(int32_t col, int32_t row, const std::string& text) {
    if (!fModel->SetText(col, row, text)) return;
    CellChanged(col, row);
    // An editor open on the cell shows the new text at once.
    const QModelIndex index = fModel->index(row, col);
    if (fEditor && currentIndex() == index) itemDelegate()->setEditorData(fEditor, index);
}

void TStringGridControl::CellChanged(int32_t col, int32_t row) {
    const size_t cells = size_t(RowCount()) * size_t(ColCount());
    if (fMarked.size() != cells) fMarked.assign(cells, false);
    const size_t at = size_t(row) * size_t(ColCount()) + size_t(col);
    if (at >= cells || fMarked[at]) return;
    fMarked[at] = true;
    fChanged.emplace_back(col, row);
    fFrame.Request();
}

void TStringGridControl::TellChanges() {
    fFrame.RunningNow();
    for (const auto& [col, row] : fChanged) {
        fMarked[size_t(row) * size_t(ColCount()) + size_t(col)] = false;
        fModel->Changed(fModel->index(row, col));
    }
    fChanged.clear();
}

void TStringGridControl::Repaint() {
    TellChanges();
    QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
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
    const QRect r = visualRect(fModel->index(row, col));
    return Rect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}

void TStringGridControl::DrawCell(QPainter& painter, const QRect& rect, int32_t col, int32_t row) {
    const TRect r = Rect(rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height());
    const bool fixed = IsFixed(col, row);
    const bool selected = !fixed && currentIndex().isValid() && row == Row() &&
                          (col == Col() || (fOptions & goRowSelect));
    fCanvas.fPainter = &painter;
    fCanvas.BrushColor = fixed ? clBtnFace : selected ? clHighlight : clWindow;
    fCanvas.FillRect(r);
    fCanvas.Font = TFont{};
    fCanvas.Font.Color = selected ? clHighlightText : clWindowText;
    fCanvas.TextRect(r, r.Left + 2, r.Top + 2, Cell(col, row));
    const TGridDrawState state = (fixed ? gdFixed : 0) | (selected ? gdSelected : 0);
    RunGuarded([&] {
        if (OnDrawCell) OnDrawCell(col, row, r, state);
    });
    fCanvas.fPainter = nullptr;
}

void TStringGridControl::paintEvent(QPaintEvent* event) {
    const TBoxesAfterPainting boxes;
    QTableView::paintEvent(event);
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
    QTableView::keyPressEvent(event);
}

void TStringGridControl::keyReleaseEvent(QKeyEvent* event) {
    uint16_t key = VirtualKeyOf(event);
    RunGuarded([&] {
        if (OnKeyUp) OnKeyUp(key, ModifierShiftOf(event->modifiers()));
    });
    QTableView::keyReleaseEvent(event);
}

bool TStringGridControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fEditor && event->type() == QEvent::KeyPress) {
        bool swallowed = false;
        RaiseKeyDown(static_cast<QKeyEvent*>(event), swallowed);
        if (swallowed) return true;
    }
    return QTableView::eventFilter(watched, event);
}

void TStringGridControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    fLastMouse = p;
    const QModelIndex index = indexAt(p);
    // Fixed cells are headers: a click on one selects nothing.
    if (index.isValid() && IsFixed(index.column(), index.row()))
        setFocus(Qt::MouseFocusReason);
    else
        QTableView::mousePressEvent(event);
    RunGuarded([&] {
        if (OnMouseDown) OnMouseDown(ButtonOf(event), ShiftOf(event), p.x(), p.y());
    });
}

void TStringGridControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    fLastMouse = p;
    if (!(event->buttons() & Qt::LeftButton) || !indexAt(p).isValid() ||
        !IsFixed(indexAt(p).column(), indexAt(p).row()))
        QTableView::mouseMoveEvent(event);
    RunGuarded([&] {
        if (OnMouseMove) OnMouseMove(ShiftOf(event), p.x(), p.y());
    });
}

void TStringGridControl::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
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
    QTableView::mouseDoubleClickEvent(event);
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
        QTableView::wheelEvent(event);
}

QModelIndex TStringGridControl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (!target.isValid()) return target;
    // The keyboard moves among the data cells only.
    const int row =
        target.row() < fFixedRows && fFixedRows < RowCount() ? fFixedRows : target.row();
    const int col =
        target.column() < fFixedCols && fFixedCols < ColCount() ? fFixedCols : target.column();
    return fModel->index(row, col);
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
