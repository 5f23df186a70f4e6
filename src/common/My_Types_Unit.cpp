#include "common/My_Types_Unit.h"

#include <cmath>
#include <cstdlib>

TRect IntersectRects(const TRect& a, const TRect& b) {
    const int32_t aX1 = Min(a.Left, a.Right), aX2 = Max(a.Left, a.Right);
    const int32_t aY1 = Min(a.Top, a.Bottom), aY2 = Max(a.Top, a.Bottom);
    const int32_t bX1 = Min(b.Left, b.Right), bX2 = Max(b.Left, b.Right);
    const int32_t bY1 = Min(b.Top, b.Bottom), bY2 = Max(b.Top, b.Bottom);
    if (aX2 < bX1 || bX2 < aX1 || aY2 < bY1 || bY2 < aY1) return TRect{0, 0, 0, 0};
    return TRect{Max(aX1, bX1), Max(aY1, bY1), Min(aX2, bX2), Min(aY2, bY2)};
}

int32_t RectArea(const TRect& r) {
    const uint32_t dx = static_cast<uint32_t>(r.Left) - static_cast<uint32_t>(r.Right);
    const uint32_t dy = static_cast<uint32_t>(r.Top) - static_cast<uint32_t>(r.Bottom);
    const uint32_t product = dx * dy;
    // |product| of the 32-bit signed value; the absolute value of -2^31 stays -2^31.
    const uint32_t magnitude = (product & 0x80000000u) ? 0u - product : product;
    return static_cast<int32_t>(magnitude);
}

void DrawRectOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor colour,
                     IPicture& picture) {
    TCanvas& canvas = picture.Canvas();
    const TBitmap& bitmap = canvas.Bitmap();
    // Pixels outside the bitmap are not drawn, so the walks skip them; the
    // pixels that are drawn, and their order, are those of the full walks.
    const int32_t xLow = Max(Min(x1, x2), 0), xHigh = Min(Max(x1, x2), bitmap.Width() - 1);
    const int32_t yLow = Max(Min(y1, y2), 0), yHigh = Min(Max(y1, y2), bitmap.Height() - 1);
    for (int32_t x = xLow; x <= xHigh; ++x) {
        canvas.SetPixel(x, y1, colour);
        canvas.SetPixel(x, y2, colour);
    }
    for (int32_t y = yLow; y <= yHigh; ++y) {
        canvas.SetPixel(x1, y, colour);
        canvas.SetPixel(x2, y, colour);
    }
}

int32_t ColorDistance(TColor c1, TColor c2) {
    return std::abs(RedOf(c1) - RedOf(c2)) + std::abs(GreenOf(c1) - GreenOf(c2)) +
           std::abs(BlueOf(c1) - BlueOf(c2));
}

std::string ApplicationDirectory(const std::string& applicationName) {
    const size_t last = applicationName.find_last_of("\\/:");
    if (last == std::string::npos) return std::string();
    return applicationName.substr(0, last + 1);
}

double RealRectWidth(const TRealRect& r) {
    return std::fabs(r.Right - r.Left);
}
double RealRectHeight(const TRealRect& r) {
    return std::fabs(r.Bottom - r.Top);
}

namespace {

// One coordinate of T2DPoint kept within [lower, upper]: wrapped once, or clamped.
TExtended Bounded(TExtended v, TExtended lower, TExtended upper, bool wrap) {
    if (wrap && v > upper) v = lower + v - upper;
    if (wrap && v < lower) v = upper + v - lower;
    if (!wrap && v > upper) v = upper;
    if (!wrap && v < lower) v = lower;
    return v;
}

}  // namespace

void T2DPoint::SetX(TExtended v) {
    X = Bounded(v, Lower.X, Upper.X, Wrap);
}
void T2DPoint::SetY(TExtended v) {
    Y = Bounded(v, Lower.Y, Upper.Y, Wrap);
}

T2DPoint Project3D(const T3DPoint& p, const T3DPoint& camera, const T3DPoint& angles,
                   double focal) {
    T2DPoint result;
    result.Upper = T2DBound{kProjectionBound, kProjectionBound};
    result.Lower = T2DBound{-kProjectionBound, -kProjectionBound};
    result.Wrap = false;

    const double x = static_cast<double>(p.X) - static_cast<double>(camera.X);
    const double y = static_cast<double>(p.Y) - static_cast<double>(camera.Y);
    const double z = static_cast<double>(p.Z) - static_cast<double>(camera.Z);
    const double ax = static_cast<double>(angles.X), ay = static_cast<double>(angles.Y),
                 az = static_cast<double>(angles.Z);
    const double cx = std::cos(ax), sx = std::sin(ax);
    const double cy = std::cos(ay), sy = std::sin(ay);
    const double cz = std::cos(az), sz = std::sin(az);

    const double dX = cy * (sz * y + cz * x) - sy * z;
    const double dY = sx * (cy * z + sy * (sz * y + cz * x)) + cx * (cz * y - sz * x);
    const double dZ = cx * (cy * z + sy * (sz * y + cz * x)) - sx * (cz * y - sz * x);

    if (dZ != 0) {
        const TExtended scale = static_cast<TExtended>(focal) / dZ;
        const TExtended px = scale * dX - 0, py = scale * dY - 0;
        if (std::isfinite(px) && std::isfinite(py)) {
            result.SetX(px);
            result.SetY(py);
            return result;
        }
    }
    result.SetX(kProjectionBound);
    result.SetY(kProjectionBound);
    return result;
}

int32_t RoundToInt32(TExtended v) {
    if (std::isnan(v)) return 0;
    const TExtended r = std::nearbyint(v);
    if (r >= static_cast<TExtended>(INT32_MAX)) return INT32_MAX;
    if (r <= static_cast<TExtended>(INT32_MIN)) return INT32_MIN;
    return static_cast<int32_t>(r);
}

T3DWorld::T3DWorld(IPicture* picture)
    : fCameraPosition{0, 0, 0}, fCameraAngles{10, 20, 30}, fFocal(50.0), fPicture(picture) {}

TPoint T3DWorld::ToPixel(const T2DPoint& point) const {
    const TExtended w = fPicture ? fPicture->Width() : 0;
    const TExtended h = fPicture ? fPicture->Height() : 0;
    return TPoint{RoundToInt32(w * ((point.X + 100) / 200)),
                  RoundToInt32((1 - (point.Y + 0.5L)) * h)};
}
