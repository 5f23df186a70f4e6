// TGDIManager: maps world coordinates to pixel positions of a drawing surface,
// through the world area that the surface shows.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "common/My_Types_Unit.h"
#include "platform/Bitmap.h"

class TGDIManager {
  public:
    // Fills the rectangle with the world area that the surface shows.
    using TGetVisibleArea = std::function<void(TRealRect& area)>;

    // Without a visible-area procedure there is no area: every position maps
    // as for an area of zero width.
    TGDIManager(TGetVisibleArea getVisibleArea, int32_t pixelWidth, int32_t pixelHeight)
        : fGetVisibleArea(std::move(getVisibleArea)),
          fPixelWidth(pixelWidth),
          fPixelHeight(pixelHeight) {}

    // PX = Round((X - Left) / width x fPixelWidth), PY = Round((1 - (Y - Bottom)
    // / height) x fPixelHeight), halves to even. The area is asked afresh for each
    // value read (width, height, Left, Bottom). An area of zero width or height
    // sends the warning "Sprites_Unit::TGDIManager.Coords3DToMousePos : Width is
    // zero" and gives (0, 0).
    TPoint Coords3DToMousePos(TExtended x, TExtended y) const;

    TGetVisibleArea fGetVisibleArea;
    int32_t fPixelWidth;
    int32_t fPixelHeight;

  private:
    TRealRect VisibleArea() const;
};
