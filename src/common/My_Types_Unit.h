// Small types and routines that several engines share: key/index pairs for
// sorting table rows, integer and real minimum, maximum, clamp and range tests,
// integer rectangle routines, a colour distance, and the 3D world that projects
// the brain's points onto its picture.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "base/Colour.h"
#include "platform/Bitmap.h"
#include "platform/Picture.h"

// The 80-bit extended real of the x86 (long double on x86-64 Linux).
using TExtended = long double;

// ---- pair objects: a key with the row or record it came from ----

class TPairSomethingInt {
  public:
    TPairSomethingInt() = default;
    explicit TPairSomethingInt(int32_t index) : Index(index) {}
    virtual ~TPairSomethingInt() = default;
    int32_t Index = 0;
};

class TPairOfRealInt : public TPairSomethingInt {
  public:
    TPairOfRealInt() = default;
    TPairOfRealInt(double value, int32_t index) : TPairSomethingInt(index), Value(value) {}
    double Value = 0.0;
};

class TPairOfStringInt : public TPairSomethingInt {
  public:
    TPairOfStringInt() = default;
    TPairOfStringInt(std::string text, int32_t index)
        : TPairSomethingInt(index), Text(std::move(text)) {}
    std::string Text;
};

// ---- minimum, maximum, clamp, ranges ----

constexpr int32_t Min(int32_t a, int32_t b) {
    return a < b ? a : b;
}
constexpr int32_t Max(int32_t a, int32_t b) {
    return a > b ? a : b;
}
// MaxReal gives A when A >= B, MinReal gives B when A >= B (so a NaN argument A
// gives B from MaxReal and A from MinReal).
constexpr double MaxReal(double a, double b) {
    return a >= b ? a : b;
}
constexpr double MinReal(double a, double b) {
    return a >= b ? b : a;
}
constexpr double ClampReal(double v, double low, double high) {
    return MinReal(MaxReal(v, low), high);
}
// Min(A, B) <= V <= Max(A, B): the bounds in either order.
constexpr bool InRange(int32_t v, int32_t a, int32_t b) {
    return Min(a, b) <= v && v <= Max(a, b);
}
// Low <= V <= High; false whenever Low > High.
constexpr bool InOrderedRange(int32_t v, int32_t low, int32_t high) {
    return low <= v && v <= high;
}

// ---- integer rectangles ----

// The overlap of two rectangles, each first normalised per axis. (0, 0, 0, 0)
// when they do not overlap on an axis; rectangles that only touch overlap in a
// rectangle of zero width or height.
TRect IntersectRects(const TRect& a, const TRect& b);
// |(Left - Right) x (Top - Bottom)| in 32-bit arithmetic: differences and product
// wrap around modulo 2^32 as the 32-bit machine does (well defined here), which
// only matters for areas beyond 2^31 pixels.
int32_t RectArea(const TRect& r);
// Sets single pixels of the picture's canvas to `colour`: rows Y1 and Y2 for X from
// Min(X1, X2) to Max(X1, X2), then columns X1 and X2 for Y from Min(Y1, Y2) to
// Max(Y1, Y2). Both ends are included (unlike the canvas's Rectangle).
void DrawRectOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor colour,
                     IPicture& picture);

// |R1 - R2| + |G1 - G2| + |B1 - B2|, from 0 to 765; the high byte plays no part.
int32_t ColorDistance(TColor c1, TColor c2);

// The directory part (through the last '\', '/' or ':') of the application
// object's name. The application object carries no name, so callers pass the empty
// text and receive the empty text.
std::string ApplicationDirectory(const std::string& applicationName);

// ---- real rectangles and the 3D projection ----

// In world coordinates Y grows upward, so Bottom is the lower edge.
struct TRealRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};
double RealRectWidth(const TRealRect& r);
double RealRectHeight(const TRealRect& r);

struct T3DPoint {
    TExtended X = 0;
    TExtended Y = 0;
    TExtended Z = 0;
};

struct T2DBound {
    TExtended X = 0;
    TExtended Y = 0;
};

// A point of the projection plane that keeps itself inside bounds: with Wrap, a
// coordinate that leaves the bounds re-enters from the other side (once: a value
// further out than one bound width stays outside); without, it is clamped.
class T2DPoint {
  public:
    TExtended X = 0;
    TExtended Y = 0;
    T2DBound Upper;
    T2DBound Lower;
    bool Wrap = false;

    void SetX(TExtended v);
    void SetY(TExtended v);
};

// The bounds of the points that Project3D gives: no wrap, each coordinate kept
// in [-10000, 10000]. That holds the whole range that T3DWorld.ToPixel maps
// (X from -100 to 100, Y from -0.5 to 0.5) and well beyond, unchanged, and keeps
// far-off points (behind or beside the camera) at pixel positions that a picture
// clips away.
constexpr TExtended kProjectionBound = 10000;

// Perspective projection of P seen from Camera turned by Angles (radians about X,
// Y and Z), with the projection plane at distance Focal. A point in the camera's
// plane (dZ = 0), or one whose projection overflows, has no image: it is given at
// the upper bounds (kProjectionBound, kProjectionBound), far outside the picture,
// so that no division by zero reaches the drawing.
T2DPoint Project3D(const T3DPoint& p, const T3DPoint& camera, const T3DPoint& angles, double focal);

// Round to the nearest integer, halves to even; NaN gives 0 and values beyond
// the 32-bit range give its nearest end, so that no drawing position is undefined.
int32_t RoundToInt32(TExtended v);

class T3DWorld {
  public:
    // Camera at (0, 0, 0), angles (10, 20, 30), focal distance 50. The picture is
    // not owned.
    explicit T3DWorld(IPicture* picture);

    // PX = Round(W x ((X + 100) / 200)), PY = Round((1 - (Y + 0.5)) x H), with W
    // and H the picture's size in pixels (0 without a picture).
    TPoint ToPixel(const T2DPoint& point) const;

    T3DPoint fCameraPosition;
    T3DPoint fCameraAngles;
    double fFocal;
    IPicture* fPicture;
};
