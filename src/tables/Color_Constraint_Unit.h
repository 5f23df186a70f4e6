// Color_Constraint_Unit: a colour rule of the typed grid. A rule pairs a cell
// type with a colour: the first rule of a cell whose type the cell's text has
// gives the cell its background. The colour-function type hands the choice to
// the grid's colour function instead.
#pragma once

#include <cstdint>

#include "common/Colour.h"

using TCellType = uint8_t;

// The rule type that hands the choice to the colour function (CheckType knows
// the types 0 to 53).
constexpr TCellType kColorFunctionCellType = 54;

struct TColorConstraint {
    TCellType Type = 0;
    TColor Color = clWhite;  // not read for a colour-function rule
};
