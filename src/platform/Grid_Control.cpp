#include "platform/Grid_Control.h"

#include <algorithm>

std::vector<std::string> IGridControl::RowStrings(int32_t row) const {
    std::vector<std::string> texts;
    for (int32_t col = 0; col < ColCount(); ++col) texts.push_back(Cell(col, row));
    return texts;
}
