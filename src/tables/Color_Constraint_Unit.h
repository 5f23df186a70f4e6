// Color_Constraint_Unit: a colour rule of the typed grid. A rule pairs a cell
// type with a colour: the first rule of a cell whose type the cell's text has
// gives the cell its background. The colour-function type hands the choice to
// the grid's colour function instead.
#pragma once

#include "base/Colour.h"
#include "tables/Cell_Type_Unit.h"

struct TColorConstraint {
    TCellType Type = ctInteger;
    TColor Color = clWhite;  // not read for a colour-function rule
};
