#include "common/Sprites_Unit.h"

#include "diagnostics/TraceUnit.h"

TRealRect TGDIManager::VisibleArea() const {
    TRealRect area;
    if (fGetVisibleArea) fGetVisibleArea(area);
    return area;
}

TPoint TGDIManager::Coords3DToMousePos(TExtended x, TExtended y) const {
    const double width = RealRectWidth(VisibleArea());
    const double height = RealRectHeight(VisibleArea());
    if (width == 0 || height == 0) {
        Messenger.Warning("Sprites_Unit::TGDIManager.Coords3DToMousePos : Width is zero");
        return TPoint{0, 0};
    }
    const double left = VisibleArea().Left;
    const double bottom = VisibleArea().Bottom;
    return TPoint{RoundToInt32((x - left) / width * fPixelWidth),
                  RoundToInt32((1 - (y - bottom) / height) * fPixelHeight)};
}
