// The string grid control on QTableWidget: cells addressed (column, row) from 0,
// the first FixedCols columns and FixedRows rows being headers drawn in the
// button-face colour, as the classic desktop grid does. Qt's own headers stay
// hidden: the fixed cells are ordinary cells of the table.
#pragma once

#include <QTableWidget>
#include <string>

class TStringGridControl : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultColWidth = 64;
    static constexpr int kDefaultRowHeight = 24;

    TStringGridControl(QWidget* parent, int colCount, int rowCount, int fixedCols = 1,
                       int fixedRows = 1);

    int ColCount() const { return columnCount(); }
    int RowCount() const { return rowCount(); }
    void SetColCount(int count) { setColumnCount(count); }
    void SetRowCount(int count) { setRowCount(count); }
    int FixedCols() const { return fFixedCols; }
    int FixedRows() const { return fFixedRows; }
    void SetFixedCols(int count);
    void SetFixedRows(int count);

    std::string Cell(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);

private:
    void PaintFixedCells();
    int fFixedCols;
    int fFixedRows;
};
