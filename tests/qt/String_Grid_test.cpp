// The typed grid on the real Qt grid control: header clicks, typing into a closed
// cell, read-only cells, the drawn selection colours, the double-click rule, and
// the database window's grid wrapped by each database.
#include <QLineEdit>
#include <QtTest>
#include <memory>

#include "app/MyDatabase_Form.h"
#include "qt/Qt_String_Grid.h"
#include "support/Global_Guards.h"
#include "support/Trace_Capture.h"
#include "tables/Database_Unit.h"
#include "tables/My_String_Grid_Unit.h"

namespace {

QPoint Centre(const TStringGridControl& control, int col, int row) {
    const TRect r = control.CellRect(col, row);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

QStringList Column(const TStringGridControl& control, int col) {
    QStringList texts;
    for (int row = 1; row < control.RowCount(); ++row)
        texts << QString::fromStdString(control.Cell(col, row));
    return texts;
}

// A shown control of `cols` x `rows` cells with one fixed row and column.
std::unique_ptr<TStringGridControl> ShownGrid(int cols, int rows, TGridOptions options = 0) {
    auto control = std::make_unique<TStringGridControl>(nullptr, cols, rows);
    control->SetOptions(options);
    control->resize(320, 240);
    control->show();
    return control;
}

}  // namespace

class StringGridTest : public QObject {
    Q_OBJECT
  private slots:
    void headerClicksSortAndKeepTheSelectedRow() {
        auto control = ShownGrid(3, 5);
        QVERIFY(QTest::qWaitForWindowExposed(control.get()));
        TMyStringGrid grid(control.get(), nullptr);
        const char* texts[4][2] = {{"b", "x"}, {"10", "y"}, {"9", "z"}, {"a", "w"}};
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 2; ++col) grid.PutCell(col + 1, row + 1, texts[row][col]);
        grid.SetRow(1);
        QTest::mouseClick(control->viewport(), Qt::LeftButton, {}, Centre(*control, 1, 0));
        QCOMPARE(Column(*control, 1), (QStringList{"9", "10", "a", "b"}));
        QCOMPARE(Column(*control, 2), (QStringList{"z", "y", "w", "x"}));
        QCOMPARE(Column(*control, 0), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(control->Row(), 4);
        QTest::mouseClick(control->viewport(), Qt::LeftButton, {}, Centre(*control, 1, 0));
        QCOMPARE(Column(*control, 1), (QStringList{"b", "a", "10", "9"}));
        QCOMPARE(Column(*control, 0), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(control->Row(), 1);
        // A click on a fixed cell selects nothing; one on a data cell selects it.
        QTest::mouseClick(control->viewport(), Qt::LeftButton, {}, Centre(*control, 0, 3));
        QCOMPARE(control->Row(), 1);
        QTest::mouseClick(control->viewport(), Qt::LeftButton, {}, Centre(*control, 2, 3));
        QCOMPARE(control->Row(), 3);
        QCOMPARE(control->Col(), 2);
        QCOMPARE(grid.EnteredCellText, std::string("y"));
    }

    void aLetterInAClosedEditableCellReplacesItsText() {
        TTraceCapture capture;
        auto control = ShownGrid(3, 3, goEditing);
        QVERIFY(QTest::qWaitForWindowExposed(control.get()));
        TMyStringGrid grid(control.get(), nullptr);
        grid.SetCell(1, 1, "old");
        control->setFocus();
        QTest::keyClick(control.get(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(grid.GetCell(1, 1), std::string("old"));
        QTest::keyClick(control.get(), Qt::Key_A);
        QVERIFY(control->EditorMode());
        QCOMPARE(grid.GetCell(1, 1), std::string("a"));
        QLineEdit* editor = control->InplaceEditor();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_B);
        QCOMPARE(grid.GetCell(1, 1), std::string("ab"));
        // Typing over a selection drops the selected characters first.
        editor->setSelection(0, 1);
        QCOMPARE(control->EditorSelLength(), 1);
        QTest::keyClick(editor, Qt::Key_C);
        QCOMPARE(grid.GetCell(1, 1), std::string("cb"));
        control->SetEditorMode(false);
        QVERIFY(!control->EditorMode());
        QCOMPARE(grid.GetCell(1, 1), std::string("cb"));
        QVERIFY(capture.Boxes().empty());
    }

    void readOnlyCellsRefuseSetCell() {
        TTraceCapture capture;
        auto control = ShownGrid(3, 3);
        TMyStringGrid grid(control.get(), nullptr);
        grid.SetCell(2, 1, "x");
        QCOMPARE(capture.Boxes().size(), size_t(1));
        QVERIFY(capture.HasLine("TMyStringGrid.SetCell:Trying to write in a read-only cell 2 1"));
        QCOMPARE(control->Cell(2, 1), std::string());
        grid.PutCell(2, 1, "y");
        QCOMPARE(control->Cell(2, 1), std::string("y"));
    }

    void selectedCellsAreDrawnNavyOrBlended() {
        auto control = ShownGrid(3, 3);
        QVERIFY(QTest::qWaitForWindowExposed(control.get()));
        TMyStringGrid grid(control.get(), nullptr);
        grid.PutCell(1, 1, "WWWW");
        const TRect r = control->CellRect(1, 1);
        const auto pixelsOf = [&] {
            const QImage image = control->viewport()->grab().toImage();
            QRgb darkest = qRgb(255, 255, 255);
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x)
                    if (qGray(image.pixel(x, y)) < qGray(darkest)) darkest = image.pixel(x, y);
            return std::pair{QColor(image.pixel(r.Left + 1, r.Top + 1)), QColor(darkest)};
        };
        auto [back, text] = pixelsOf();
        QCOMPARE(back, QColor(0, 0, 128));
        grid.BlendSelection = true;
        std::tie(back, text) = pixelsOf();
        QCOMPARE(back, QColor(178, 178, 178));
        QCOMPARE(text, QColor(0, 0, 0));
        // An unselected data cell shows its background; a fixed one the button face.
        const QImage image = control->viewport()->grab().toImage();
        const TRect other = control->CellRect(2, 2);
        QCOMPARE(QColor(image.pixel(other.Left + 1, other.Top + 1)), QColor(255, 255, 255));
        const TRect fixed = control->CellRect(0, 2);
        QCOMPARE(QColor(image.pixel(fixed.Left + 1, fixed.Top + 1)),
                 control->palette().color(QPalette::Button));
        grid.AddColColorConstraint(2, TCellType(3), clRed);
        const QImage coloured = control->viewport()->grab().toImage();
        QCOMPARE(QColor(coloured.pixel(other.Left + 1, other.Top + 1)), QColor(255, 0, 0));
    }

    // Refresh paints on the screen (the window's backing store, not a fresh
    // rendering) exactly the cells whose drawing changed.
    void refreshPaintsTheCellsThatChangedOnTheScreen() {
        auto control = ShownGrid(4, 4);
        QVERIFY(QTest::qWaitForWindowExposed(control.get()));
        TMyStringGrid grid(control.get(), nullptr);
        grid.Refresh();
        struct TPaints : QObject {
            QRegion fPainted;
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint)
                    fPainted += static_cast<QPaintEvent*>(event)->region();
                return false;
            }
        } paints;
        control->viewport()->installEventFilter(&paints);
        const auto onScreen = [&](int col, int row) {
            const TRect r = control->CellRect(col, row);
            const QPoint at =
                control->viewport()->mapTo(control.get(), QPoint(r.Left + 1, r.Top + 1));
            const QImage image = control->screen()->grabWindow(control->winId()).toImage();
            return QColor(image.pixel(at));
        };
        const auto cellRect = [&](int col, int row) {
            const TRect r = control->CellRect(col, row);
            return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        };

        grid.Refresh();
        QVERIFY(paints.fPainted.isEmpty());

        // Cell (col, 2) green, the others white, then a refresh.
        const auto greenAt = [&](int green) {
            grid.SetColorFunction([green](int32_t col, int32_t row) {
                return col == green && row == 2 ? clGreen : clWhite;
            });
            paints.fPainted = QRegion();
            grid.Refresh();
        };
        greenAt(2);
        QCOMPARE(onScreen(2, 2), QColor(0, 128, 0));
        QCOMPARE(onScreen(3, 2), QColor(255, 255, 255));
        QCOMPARE(paints.fPainted, QRegion(cellRect(2, 2)));

        greenAt(3);
        QCOMPARE(onScreen(2, 2), QColor(255, 255, 255));
        QCOMPARE(onScreen(3, 2), QColor(0, 128, 0));
        QCOMPARE(paints.fPainted, QRegion(cellRect(2, 2)) + cellRect(3, 2));

        // A new text is a new drawing too.
        paints.fPainted = QRegion();
        grid.PutCell(1, 3, "W");
        grid.Refresh();
        QCOMPARE(paints.fPainted, QRegion(cellRect(1, 3)));
    }

    // A change of one cell draws that cell again and no other: the delegate asks
    // OnDrawCell for the cells the view repaints, once each.
    void aChangedCellIsTheOnlyOneDrawnAgain() {
        auto control = ShownGrid(4, 4);
        QVERIFY(QTest::qWaitForWindowExposed(control.get()));
        std::vector<std::pair<int32_t, int32_t>> drawn;
        control->OnDrawCell = [&drawn](int32_t col, int32_t row, const TRect&, TGridDrawState) {
            drawn.emplace_back(col, row);
        };
        TMyStringGrid grid(control.get(), nullptr);
        grid.Refresh();
        QTRY_VERIFY(!drawn.empty());
        QTest::qWait(3 * TFramePacer::kFrameMilliseconds);
        const auto drawnAfter = [&](const std::function<void()>& change) {
            drawn.clear();
            change();
            QTest::qWait(3 * TFramePacer::kFrameMilliseconds);
            return drawn;
        };
        using TCells = std::vector<std::pair<int32_t, int32_t>>;
        QCOMPARE(drawnAfter([&] { grid.PutCell(2, 3, "x"); }), (TCells{{2, 3}}));
        // A new background reaches the screen at the next frame without a Refresh.
        QCOMPARE(drawnAfter([&] { grid.AddColColorConstraint(3, ctNotEmpty, clRed); }), TCells{});
        QCOMPARE(drawnAfter([&] { grid.PutCell(3, 1, "y"); }), (TCells{{3, 1}}));
        // Refresh draws the changed cells at once, and nothing when none changed.
        drawn.clear();
        grid.PutCell(1, 2, "z");
        grid.Refresh();
        QCOMPARE(drawn, (TCells{{1, 2}}));
        QCOMPARE(drawnAfter([&] { grid.Refresh(); }), TCells{});
    }

    // The drawing reports a cell that its tables do not hold (the control grew
    // behind the wrapper's back); the box shows after the paint, and the program
    // goes on painting.
    void aReportRaisedWhileDrawingShowsItsBoxAfterThePaint() {
        struct TBoxDuringPaint : IMessageBox {
            QWidget* fViewport = nullptr;
            std::vector<bool> fWhilePainting;
            std::vector<std::string> fTexts;
            void Show(const std::string& text) override {
                fWhilePainting.push_back(fViewport->paintingActive());
                fTexts.push_back(text);
            }
        } box;
        auto control = ShownGrid(3, 3);
        QVERIFY(QTest::qWaitForWindowExposed(control.get()));
        box.fViewport = control->viewport();
        TTraceCapture capture;
        const TMessageBoxGuard boxGuard(&box);
        TMyStringGrid grid(control.get(), nullptr);
        control->SetColCount(4);
        control->viewport()->repaint();
        QVERIFY(box.fTexts.empty());
        QTRY_VERIFY(!box.fTexts.empty());
        QVERIFY(capture.HasLine("TMyStringGrid.OnDrawCell: bad Col 3"));
        QCOMPARE(box.fTexts[0], std::string("*ERROR*TMyStringGrid.OnDrawCell: bad Col 3"));
        QVERIFY(std::none_of(box.fWhilePainting.begin(), box.fWhilePainting.end(),
                             [](bool painting) { return painting; }));
        grid.SetColCount(5);
        grid.PutCell(4, 1, "w");
        grid.Refresh();
        QCOMPARE(control->Cell(4, 1), std::string("w"));
    }

    void aDoubleClickOnAFixedCellDoesNotReachTheSavedHandler() {
        auto control = ShownGrid(3, 3);
        QVERIFY(QTest::qWaitForWindowExposed(control.get()));
        int doubleClicks = 0;
        control->OnDblClick = [&doubleClicks] { ++doubleClicks; };
        TMyStringGrid grid(control.get(), nullptr);
        QTest::mouseDClick(control->viewport(), Qt::LeftButton, {}, Centre(*control, 0, 1));
        QCOMPARE(doubleClicks, 0);
        QTest::mouseDClick(control->viewport(), Qt::LeftButton, {}, Centre(*control, 1, 0));
        QCOMPARE(doubleClicks, 0);
        QTest::mouseDClick(control->viewport(), Qt::LeftButton, {}, Centre(*control, 2, 2));
        QCOMPARE(doubleClicks, 1);
    }

    void everyDatabaseWrapsTheDatabaseWindowsGrid() {
        TTraceCapture capture;
        {
            TMyDatabase_Form form;
            QCOMPARE(DatabaseWindowGrid(), static_cast<IGridControl*>(form.DBStringGrid));
            TMyDatabase missing("./Data/no_such_table.db");
            QVERIFY(!missing.Grid());
            TMyDatabase countries("./Data/ListePays.db");
            QVERIFY(countries.Grid());
            QCOMPARE(Column(*form.DBStringGrid, 0), (QStringList{"1", "2", "3", "4"}));
            // The database writes nothing else into the grid.
            QCOMPARE(form.DBStringGrid->Cell(1, 1), std::string());
            TMyDatabase second("./Data/ListeStupefiants.db");
            QVERIFY(second.Grid());
        }
        QCOMPARE(DatabaseWindowGrid(), static_cast<IGridControl*>(nullptr));
        TMyDatabase later("./Data/ListePays.db");
        QVERIFY(!later.Grid());
        QVERIFY(capture.Boxes().empty());
    }
};

QTEST_MAIN(StringGridTest)
#include "String_Grid_test.moc"
