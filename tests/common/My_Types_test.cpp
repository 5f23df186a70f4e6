#include "common/My_Types_Unit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "common/Sprites_Unit.h"
#include "support/Trace_Capture.h"

TEST(MyTypes, MinMaxClampAndRanges) {
    EXPECT_EQ(MinReal(2, 1), 1);
    EXPECT_EQ(MaxReal(1, 2), 2);
    EXPECT_EQ(ClampReal(1.5, 0, 1), 1);
    EXPECT_EQ(ClampReal(-0.2, 0, 1), 0);
    EXPECT_EQ(ClampReal(0.3, 0, 1), 0.3);
    // NaN: MaxReal(NaN, 0) gives 0 (NaN >= 0 is false), so a NaN value clamps to Low.
    EXPECT_EQ(ClampReal(std::nan(""), 0, 1), 0);
    EXPECT_TRUE(InRange(5, 10, 1));
    EXPECT_TRUE(InRange(1, 10, 1));
    EXPECT_FALSE(InRange(11, 10, 1));
    EXPECT_FALSE(InOrderedRange(5, 10, 1));
    EXPECT_TRUE(InOrderedRange(10, 1, 10));
}

TEST(MyTypes, IntersectRectsAndArea) {
    EXPECT_EQ(IntersectRects(Rect(0, 0, 10, 10), Rect(10, 10, 20, 20)), Rect(10, 10, 10, 10));
    EXPECT_EQ(IntersectRects(Rect(0, 0, 10, 10), Rect(11, 0, 20, 10)), Rect(0, 0, 0, 0));
    EXPECT_EQ(IntersectRects(Rect(0, 0, 10, 10), Rect(0, 11, 10, 20)), Rect(0, 0, 0, 0));
    EXPECT_EQ(IntersectRects(Rect(10, 10, 0, 0), Rect(5, 5, 20, 20)), Rect(5, 5, 10, 10));
    EXPECT_EQ(IntersectRects(Rect(5, 5, 20, 20), Rect(10, 10, 0, 0)), Rect(5, 5, 10, 10));
    EXPECT_EQ(IntersectRects(Rect(0, 0, 30, 30), Rect(10, 12, 14, 16)), Rect(10, 12, 14, 16));

    EXPECT_EQ(RectArea(Rect(0, 0, 10, 5)), 50);
    EXPECT_EQ(RectArea(Rect(10, 5, 0, 0)), 50);
    EXPECT_EQ(RectArea(Rect(3, 3, 3, 9)), 0);
    // 65536 x 65536 wraps to 0 in 32 bits; 46341^2 overflows into the sign bit.
    EXPECT_EQ(RectArea(Rect(0, 0, 65536, 65536)), 0);
    EXPECT_EQ(RectArea(Rect(0, 0, 46341, 46341)),
              static_cast<int32_t>(0u - static_cast<uint32_t>(46341u * 46341u)));
}

TEST(MyTypes, ColorDistanceAndDirectory) {
    EXPECT_EQ(ColorDistance(clBlack, clWhite), 765);
    EXPECT_EQ(ColorDistance(RGBColour(10, 20, 30), RGBColour(13, 18, 30)), 5);
    EXPECT_EQ(ColorDistance(0xFF000000 | clWhite, clWhite), 0);
    EXPECT_EQ(ApplicationDirectory(""), "");
    EXPECT_EQ(ApplicationDirectory("C:\\Kavelin\\Kavelin.exe"), "C:\\Kavelin\\");
    EXPECT_EQ(ApplicationDirectory("/opt/kavelin/kavelin"), "/opt/kavelin/");
    EXPECT_EQ(ApplicationDirectory("kavelin"), "");
}

TEST(MyTypes, DrawRectOutlineIncludesBothEndsAndClips) {
    TMemoryPicture picture(6, 5);
    DrawRectOutline(4, 3, 1, 1, clBlack, picture);
    const std::vector<std::string> expected = {"......", ".####.", ".#..#.", ".####.", "......"};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(picture.Bitmap().Pixel(x, y), expected[y][x] == '#' ? clBlack : clWhite)
                << x << "," << y;

    // Partly and wholly outside: only the pixels inside change, no failure.
    TMemoryPicture small(3, 3);
    DrawRectOutline(-5, -5, 1, 1, clRed, small);
    EXPECT_EQ(small.Bitmap().Pixel(1, 0), clRed);
    EXPECT_EQ(small.Bitmap().Pixel(0, 1), clRed);
    EXPECT_EQ(small.Bitmap().Pixel(1, 1), clRed);
    EXPECT_EQ(small.Bitmap().Pixel(0, 0), clWhite);
    DrawRectOutline(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, clBlue, small);
    EXPECT_EQ(small.Bitmap().Pixel(1, 1), clRed);
}

TEST(MyTypes, T2DPointWrapsOnceOrClamps) {
    T2DPoint p;
    p.Upper = {10, 1};
    p.Lower = {0, -1};
    p.Wrap = true;
    p.SetX(12);
    EXPECT_EQ(p.X, 2);
    p.SetX(-3);
    EXPECT_EQ(p.X, 7);
    p.SetX(25);  // more than one width out: wrapped once, still outside
    EXPECT_EQ(p.X, 15);
    p.SetY(1.5);
    EXPECT_EQ(p.Y, -0.5);
    p.Wrap = false;
    p.SetX(12);
    EXPECT_EQ(p.X, 10);
    p.SetX(-3);
    EXPECT_EQ(p.X, 0);
    p.SetY(-4);
    EXPECT_EQ(p.Y, -1);
}

TEST(MyTypes, ProjectionOfANewWorld) {
    const T3DWorld world(nullptr);
    EXPECT_EQ(world.fFocal, 50.0);
    const T2DPoint p =
        Project3D(T3DPoint{10, 0, 0}, world.fCameraPosition, world.fCameraAngles, world.fFocal);
    EXPECT_NEAR(static_cast<double>(p.X), 7.505347, 1e-6);
    EXPECT_NEAR(static_cast<double>(p.Y), -107.981554, 1e-6);
    // The bounds of a projected point hold the whole mapped range unchanged.
    EXPECT_EQ(p.Wrap, false);
    EXPECT_GE(p.Upper.X, 100);
    EXPECT_LE(p.Lower.X, -100);

    // The camera's position is subtracted first.
    const T2DPoint shifted =
        Project3D(T3DPoint{15, 2, -1}, T3DPoint{5, 2, -1}, world.fCameraAngles, world.fFocal);
    EXPECT_EQ(shifted.X, p.X);
    EXPECT_EQ(shifted.Y, p.Y);

    // A point in the camera's plane has no image: it is put far off, never NaN.
    const T2DPoint onPlane = Project3D(T3DPoint{0, 0, 0}, T3DPoint{0, 0, 0}, T3DPoint{0, 0, 0}, 50);
    EXPECT_EQ(onPlane.X, kProjectionBound);
    EXPECT_EQ(onPlane.Y, kProjectionBound);
    // With no rotation dZ = Z: a point at Z = 0 beside the camera too.
    const T2DPoint beside = Project3D(T3DPoint{3, 4, 0}, T3DPoint{}, T3DPoint{}, 50);
    EXPECT_EQ(beside.X, kProjectionBound);
    const T2DPoint ahead = Project3D(T3DPoint{3, 4, 50}, T3DPoint{}, T3DPoint{}, 50);
    EXPECT_NEAR(static_cast<double>(ahead.X), 3, 1e-12);
    EXPECT_NEAR(static_cast<double>(ahead.Y), 4, 1e-12);
}

TEST(MyTypes, ToPixelRoundsHalvesToEven) {
    TMemoryPicture picture(200, 100);
    const T3DWorld world(&picture);
    T2DPoint p;
    p.Upper = {1000, 1000};
    p.Lower = {-1000, -1000};
    p.SetX(0);
    p.SetY(0);
    EXPECT_EQ(world.ToPixel(p), (TPoint{100, 50}));
    p.SetX(-100);
    p.SetY(0.5);
    EXPECT_EQ(world.ToPixel(p), (TPoint{0, 0}));
    p.SetX(100);
    p.SetY(-0.5);
    EXPECT_EQ(world.ToPixel(p), (TPoint{200, 100}));
    // On a 3-pixel-wide picture X = 0 maps to 1.5, which rounds to 2; on 5 pixels
    // 2.5 rounds to 2.
    TMemoryPicture odd(3, 1), five(5, 1);
    EXPECT_EQ(T3DWorld(&odd).ToPixel(p).X, 3);
    p.SetX(0);
    EXPECT_EQ(T3DWorld(&odd).ToPixel(p).X, 2);
    EXPECT_EQ(T3DWorld(&five).ToPixel(p).X, 2);

    // A projected far-off point stays inside the integer range.
    const T2DPoint far = Project3D(T3DPoint{}, T3DPoint{}, T3DPoint{}, 50);
    const TPoint pixel = world.ToPixel(far);
    EXPECT_GT(pixel.X, picture.Width());
    EXPECT_LT(pixel.Y, 0);

    EXPECT_EQ(RoundToInt32(2.5L), 2);
    EXPECT_EQ(RoundToInt32(3.5L), 4);
    EXPECT_EQ(RoundToInt32(-2.5L), -2);
    EXPECT_EQ(RoundToInt32(1e30L), INT32_MAX);
    EXPECT_EQ(RoundToInt32(-1e30L), INT32_MIN);
    EXPECT_EQ(RoundToInt32(std::numeric_limits<TExtended>::quiet_NaN()), 0);
}

TEST(Sprites, Coords3DToMousePosMapsTheVisibleArea) {
    TTraceCapture trace;
    int calls = 0;
    TGDIManager gdi(
        [&](TRealRect& area) {
            ++calls;
            area = TRealRect{-10, 10, 10, -10};  // Y grows upward: Bottom is the lower edge
        },
        200, 100);
    EXPECT_EQ(gdi.Coords3DToMousePos(0, 0), (TPoint{100, 50}));
    EXPECT_EQ(calls, 4);  // width, height, Left, Bottom
    EXPECT_EQ(gdi.Coords3DToMousePos(-10, 10), (TPoint{0, 0}));
    EXPECT_EQ(gdi.Coords3DToMousePos(10, -10), (TPoint{200, 100}));
    // Halves to even: 0.5 gives 0, 1.5 gives 2.
    TGDIManager unit([](TRealRect& area) { area = TRealRect{0, 4, 4, 0}; }, 1, 1);
    EXPECT_EQ(unit.Coords3DToMousePos(2, 2), (TPoint{0, 0}));
    EXPECT_EQ(unit.Coords3DToMousePos(6, -2), (TPoint{2, 2}));
    EXPECT_TRUE(trace.Lines().empty());

    const std::string warning =
        "Warning : Sprites_Unit::TGDIManager.Coords3DToMousePos : Width is zero";
    TGDIManager flat([](TRealRect& area) { area = TRealRect{0, 5, 10, 5}; }, 200, 100);
    EXPECT_EQ(flat.Coords3DToMousePos(3, 3), (TPoint{0, 0}));
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{warning}));
    TGDIManager none(nullptr, 200, 100);
    EXPECT_EQ(none.Coords3DToMousePos(3, 3), (TPoint{0, 0}));
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{warning, warning}));
    EXPECT_TRUE(trace.Boxes().empty());
}
