#include "qt/Qt_String_Grid.h"

#include <QHeaderView>

#include "qt/Text_Codec.h"

TStringGridControl::TStringGridControl(QWidget* parent, int colCount, int rowCount, int fixedCols,
                                       int fixedRows)
    : QTableWidget(rowCount, colCount, parent), fFixedCols(fixedCols), fFixedRows(fixedRows) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(kDefaultColWidth);
    verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    PaintFixedCells();
}

void TStringGridControl::SetFixedCols(int count) {
    fFixedCols = count;
    PaintFixedCells();
}

void TStringGridControl::SetFixedRows(int count) {
    fFixedRows = count;
    PaintFixedCells();
}

std::string TStringGridControl::Cell(int col, int row) const {
    const QTableWidgetItem* cell = item(row, col);
    return cell ? FromQt(cell->text()) : std::string();
}

void TStringGridControl::SetCell(int col, int row, const std::string& text) {
    QTableWidgetItem* cell = item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, col, cell);
    }
    cell->setText(ToQt(text));
}

void TStringGridControl::PaintFixedCells() {
    const QBrush face = palette().brush(QPalette::Button);
    for (int row = 0; row < rowCount(); ++row)
        for (int col = 0; col < columnCount(); ++col) {
            if (row >= fFixedRows && col >= fFixedCols) continue;
            QTableWidgetItem* cell = item(row, col);
            if (!cell) {
                cell = new QTableWidgetItem;
                setItem(row, col, cell);
            }
            cell->setBackground(face);
            cell->setFlags(cell->flags() & ~Qt::ItemIsSelectable);
        }
}
