// The in-memory bitmap and its canvas: the Windows drawing rules the engines rely on.
#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/Picture.h"

namespace {

// The bitmap as rows of characters: '.' white, '#' black, 'r' red, 'b' blue, '?' other.
std::vector<std::string> Picture(const TBitmap& b) {
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = b.Pixel(x, y);
            row += c == clWhite   ? '.'
                   : c == clBlack ? '#'
                   : c == clRed   ? 'r'
                   : c == clBlue  ? 'b'
                                  : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

int CountColour(const TBitmap& b, TColor c) {
    int n = 0;
    for (TColor p : b.Pixels()) n += p == c;
    return n;
}

}  // namespace

TEST(Bitmap, CreationSizeAndLayout) {
    TBitmap empty;
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.Height(), 0);
    EXPECT_TRUE(empty.Pixels().empty());

    TBitmap b(4, 3);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Height(), 3);
    ASSERT_EQ(b.Pixels().size(), 12u);
    EXPECT_EQ(CountColour(b, clWhite), 12);  // white after creation

    // Row-major, colours as 0x00BBGGRR.
    b.SetPixel(1, 2, RGBColour(0x11, 0x22, 0x33));
    EXPECT_EQ(b.Pixels()[2 * 4 + 1], 0x332211u);
    EXPECT_EQ(b.ScanLine(2)[1], 0x332211u);

    // SetSize keeps the overlap, new pixels white; negative sizes are 0.
    b.SetSize(6, 2);
    EXPECT_EQ(b.Width(), 6);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(CountColour(b, clWhite), 12);
    b.SetPixel(0, 0, clBlack);
    b.SetSize(2, 5);
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
    EXPECT_EQ(b.Pixel(1, 4), clWhite);
    b.SetSize(-3, 7);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 7);
    EXPECT_TRUE(b.Pixels().empty());

    TBitmap negative(-1, -1);
    EXPECT_EQ(negative.Width(), 0);
}

TEST(Bitmap, CanvasPixelsAndDefaults) {
    TBitmap b(3, 3);
    TCanvas& c = b.Canvas();
    EXPECT_EQ(c.Pen.Color, clBlack);
    EXPECT_EQ(c.Pen.Width, 1);
    EXPECT_EQ(c.Brush.Color, clWhite);
    EXPECT_EQ(c.PenPos(), (TPoint{0, 0}));

    c.SetPixel(2, 1, clRed);
    EXPECT_EQ(c.Pixel(2, 1), clRed);
    EXPECT_EQ(b.Pixel(2, 1), clRed);
    // Outside: reading gives white, writing is ignored.
    EXPECT_EQ(c.Pixel(-1, 0), clWhite);
    EXPECT_EQ(c.Pixel(3, 0), clWhite);
    EXPECT_EQ(c.Pixel(0, 3), clWhite);
    const std::vector<TColor> before = b.Pixels();
    c.SetPixel(-1, 0, clBlack);
    c.SetPixel(3, 3, clBlack);
    c.SetPixel(0, -5, clBlack);
    EXPECT_EQ(b.Pixels(), before);
    // The high byte is not kept; system colours resolve to plain ones.
    c.SetPixel(0, 0, 0x12345678);
    EXPECT_EQ(b.Pixel(0, 0), 0x345678u);
    c.SetPixel(0, 0, clBtnFace);
    EXPECT_EQ(b.Pixel(0, 0), 0xF0F0F0u);
    c.SetPixel(0, 0, clWindowText);
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
}

TEST(Bitmap, LineLeavesOutItsLastPoint) {
    TBitmap b(6, 4);
    TCanvas& c = b.Canvas();
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_EQ(Picture(b)[0], "#####.");
    EXPECT_EQ(c.PenPos(), (TPoint{5, 0}));
    // Continuing from the end paints the point left out before.
    c.LineTo(5, 3);
    EXPECT_EQ(Picture(b), (std::vector<std::string>{"######", ".....#", ".....#", "......"}));

    // A line to the pen position itself paints nothing.
    TBitmap d(3, 3);
    d.Canvas().MoveTo(1, 1);
    d.Canvas().LineTo(1, 1);
    EXPECT_EQ(CountColour(d, clWhite), 9);

    // Backwards and diagonal.
    TBitmap e(5, 5);
    e.Canvas().MoveTo(4, 4);
    e.Canvas().LineTo(0, 0);
    EXPECT_EQ(Picture(e), (std::vector<std::string>{".....", ".#...", "..#..", "...#.", "....#"}));

    // A shallow line: Bresenham, one pixel per column.
    TBitmap f(7, 3);
    f.Canvas().MoveTo(0, 0);
    f.Canvas().LineTo(6, 2);
    EXPECT_EQ(Picture(f), (std::vector<std::string>{"##.....", "..###..", ".....#."}));
    int painted = 0;
    for (int x = 0; x < 7; ++x) {
        int inColumn = 0;
        for (int y = 0; y < 3; ++y) inColumn += f.Pixel(x, y) == clBlack;
        EXPECT_EQ(inColumn, x < 6 ? 1 : 0) << "column " << x;
        painted += inColumn;
    }
    EXPECT_EQ(painted, 6);
    EXPECT_EQ(f.Pixel(0, 0), clBlack);
    EXPECT_EQ(f.Pixel(6, 2), clWhite);

    // Clipped where it leaves the bitmap, and the pen colour is used.
    TBitmap g(3, 3);
    g.Canvas().Pen.Color = clRed;
    g.Canvas().MoveTo(-2, 1);
    g.Canvas().LineTo(10, 1);
    EXPECT_EQ(Picture(g), (std::vector<std::string>{"...", "rrr", "..."}));
}

namespace {

// The incremental Bresenham walk, as the reference for the canvas's lines.
std::vector<TPoint> ReferenceLine(int64_t cx, int64_t cy, int64_t ex, int64_t ey) {
    std::vector<TPoint> points;
    const int64_t dx = std::llabs(ex - cx), dy = -std::llabs(ey - cy);
    const int64_t sx = cx < ex ? 1 : -1, sy = cy < ey ? 1 : -1;
    int64_t err = dx + dy;
    while (cx != ex || cy != ey) {
        points.push_back(TPoint{static_cast<int32_t>(cx), static_cast<int32_t>(cy)});
        const int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            cx += sx;
        }
        if (e2 <= dx) {
            err += dx;
            cy += sy;
        }
    }
    return points;
}

}  // namespace

TEST(Bitmap, LinesAgreeWithTheIncrementalWalkAndClipExactly) {
    std::mt19937 random(7);
    const auto coordinate = [&] { return static_cast<int32_t>(random() % 61) - 25; };
    for (int round = 0; round < 2000; ++round) {
        const int32_t x0 = coordinate(), y0 = coordinate(), x1 = coordinate(), y1 = coordinate();
        // On a 12 x 9 bitmap the line is clipped; the reference walk paints the
        // same points where they fall inside.
        TBitmap small(12, 9);
        small.Canvas().MoveTo(x0, y0);
        small.Canvas().LineTo(x1, y1);
        TBitmap expected(12, 9);
        for (const TPoint& p : ReferenceLine(x0, y0, x1, y1))
            if (expected.Contains(p.X, p.Y)) expected.SetPixel(p.X, p.Y, clBlack);
        ASSERT_TRUE(small.SamePixels(expected))
            << "(" << x0 << "," << y0 << ") to (" << x1 << "," << y1 << ")";
    }

    // End points far outside: only the visible stretch is walked.
    TBitmap b(3, 3);
    b.Canvas().MoveTo(-2000000000, 1);
    b.Canvas().LineTo(2000000000, 1);
    EXPECT_EQ(Picture(b), (std::vector<std::string>{"...", "###", "..."}));
    b.Canvas().MoveTo(INT32_MAX, INT32_MAX);
    b.Canvas().LineTo(INT32_MIN, INT32_MIN);
    EXPECT_EQ(Picture(b), (std::vector<std::string>{"#..", "###", "..#"}));
    EXPECT_EQ(b.Canvas().PenPos(), (TPoint{INT32_MIN, INT32_MIN}));
}

TEST(Bitmap, RectangleLeavesOutRightAndBottomEdges) {
    TBitmap b(6, 5);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clRed;
    c.Rectangle(0, 0, 5, 4);
    EXPECT_EQ(Picture(b),
              (std::vector<std::string>{"#####.", "#rrr#.", "#rrr#.", "#####.", "......"}));
    EXPECT_EQ(c.PenPos(), (TPoint{0, 0}));

    // The brain's neuron box: corners (PX - 2, PY - 2) and (PX + 2, PY + 2), a 4 x 4
    // black outline around a 2 x 2 white inside with the default pen and brush.
    TBitmap n(8, 8);
    n.Canvas().Rectangle(3 - 2, 3 - 2, 3 + 2, 3 + 2);
    EXPECT_EQ(Picture(n),
              (std::vector<std::string>{"........", ".####...", ".#..#...", ".#..#...", ".####...",
                                        "........", "........", "........"}));

    // Corners in either order give the same rectangle.
    TBitmap r(6, 5);
    r.Canvas().Brush.Color = clRed;
    r.Canvas().Rectangle(5, 4, 0, 0);
    EXPECT_TRUE(r.SamePixels(b));

    // Zero width or height paints nothing; width 1 a single column.
    TBitmap z(4, 4);
    z.Canvas().Rectangle(1, 1, 1, 3);
    z.Canvas().Rectangle(0, 2, 3, 2);
    EXPECT_EQ(CountColour(z, clWhite), 16);
    z.Canvas().Rectangle(1, 0, 2, 3);
    EXPECT_EQ(Picture(z), (std::vector<std::string>{".#..", ".#..", ".#..", "...."}));

    // Clipped at the edges of the bitmap.
    TBitmap e(3, 3);
    e.Canvas().Brush.Color = clBlue;
    e.Canvas().Rectangle(-1, -1, 3, 3);
    EXPECT_EQ(Picture(e), (std::vector<std::string>{"bb#", "bb#", "###"}));
}

TEST(Bitmap, FillRectUsesTheBrushAndLeavesOutRightAndBottom) {
    TBitmap b(4, 3);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clBlack;
    c.FillRect(Rect(1, 0, 3, 2));
    EXPECT_EQ(Picture(b), (std::vector<std::string>{".##.", ".##.", "...."}));
    // Reversed corners fill nothing, as in Windows.
    c.Brush.Color = clRed;
    c.FillRect(Rect(3, 2, 1, 0));
    EXPECT_EQ(CountColour(b, clRed), 0);
    // The capture page's clear: (0, 0, width, height) covers everything; clipped.
    c.Brush.Color = clWhite;
    c.FillRect(Rect(0, 0, b.Width(), b.Height()));
    EXPECT_EQ(CountColour(b, clWhite), 12);
    c.Brush.Color = clBlue;
    c.FillRect(Rect(-10, -10, 100, 1));
    EXPECT_EQ(Picture(b)[0], "bbbb");
    EXPECT_EQ(Picture(b)[1], "....");
}

TEST(Bitmap, DrawCopiesClipped) {
    TBitmap source(2, 2);
    source.SetPixel(0, 0, clRed);
    source.SetPixel(1, 1, clBlue);
    source.SetPixel(1, 0, clBlack);
    source.SetPixel(0, 1, clBlack);

    TBitmap target(3, 3);
    target.Canvas().Draw(1, 1, source);
    EXPECT_EQ(Picture(target), (std::vector<std::string>{"...", ".r#", ".#b"}));

    TBitmap clipped(3, 3);
    clipped.Canvas().Draw(-1, 2, source);
    EXPECT_EQ(Picture(clipped), (std::vector<std::string>{"...", "...", "#.."}));
    clipped.Canvas().Draw(5, 5, source);
    clipped.Canvas().Draw(-5, 0, source);
    EXPECT_EQ(CountColour(clipped, clWhite), 8);

    // The capture page: a white bitmap drawn over the picture clears it.
    TBitmap blank(3, 3);
    target.Canvas().Draw(0, 0, blank);
    EXPECT_EQ(CountColour(target, clWhite), 9);

    // Drawing a bitmap onto its own canvas copies from the state before.
    TBitmap self(3, 1);
    self.SetPixel(0, 0, clRed);
    self.SetPixel(1, 0, clBlue);
    self.Canvas().Draw(1, 0, self);
    EXPECT_EQ(Picture(self)[0], "rrb");
}

TEST(Bitmap, CopiesAndMovesKeepTheirOwnCanvas) {
    TBitmap a(2, 2);
    a.Canvas().Pen.Color = clRed;
    a.Canvas().MoveTo(1, 1);
    TBitmap b(a);
    EXPECT_EQ(&b.Canvas().Bitmap(), &b);
    EXPECT_EQ(b.Canvas().Pen.Color, clRed);
    EXPECT_EQ(b.Canvas().PenPos(), (TPoint{1, 1}));
    b.Canvas().SetPixel(0, 0, clBlack);
    EXPECT_EQ(a.Pixel(0, 0), clWhite);

    TBitmap c;
    TCanvas& canvasOfC = c.Canvas();
    c = b;
    EXPECT_EQ(&c.Canvas(), &canvasOfC);
    EXPECT_EQ(&c.Canvas().Bitmap(), &c);
    EXPECT_EQ(c.Width(), 2);
    EXPECT_EQ(c.Pixel(0, 0), clBlack);

    TBitmap d(std::move(c));
    EXPECT_EQ(&d.Canvas().Bitmap(), &d);
    EXPECT_EQ(d.Pixel(0, 0), clBlack);
    EXPECT_EQ(c.Width(), 0);
    c.Canvas().SetPixel(0, 0, clRed);  // harmless on the emptied bitmap

    // A separate canvas over a bitmap draws on that bitmap.
    TBitmap e(2, 1);
    TCanvas other(e);
    other.SetPixel(1, 0, clBlue);
    EXPECT_EQ(e.Pixel(1, 0), clBlue);
}

TEST(Bitmap, WidePenPaintsSquares) {
    TBitmap b(5, 5);
    b.Canvas().Pen.Width = 3;
    b.Canvas().MoveTo(2, 2);
    b.Canvas().LineTo(3, 2);
    EXPECT_EQ(Picture(b), (std::vector<std::string>{".....", ".###.", ".###.", ".###.", "....."}));
}

TEST(Picture, MemoryPictureDrawsOnItsBitmapAndForwardsEvents) {
    TMemoryPicture p(20, 10);
    EXPECT_EQ(p.Width(), 20);
    EXPECT_EQ(p.Height(), 10);
    EXPECT_EQ(p.Bitmap().Width(), 20);
    EXPECT_EQ(p.Bitmap().Height(), 10);
    p.Canvas().SetPixel(3, 4, clRed);
    EXPECT_EQ(p.Bitmap().Pixel(3, 4), clRed);
    p.Repaint();
    p.Repaint();
    EXPECT_EQ(p.fRepaints, 2);

    // Loading a picture of another size keeps the control's size and canvas.
    TCanvas& canvas = p.Canvas();
    TBitmap loaded(5, 5);
    p.Bitmap() = loaded;
    EXPECT_EQ(&p.Canvas(), &canvas);
    EXPECT_EQ(p.Bitmap().Width(), 5);
    EXPECT_EQ(p.Width(), 20);

    std::vector<std::string> events;
    p.FireClick();  // no handlers: nothing happens
    p.OnClick = [&] { events.push_back("click"); };
    p.OnMouseDown = [&](TMouseButton b, TShiftState s, int32_t x, int32_t y) {
        events.push_back("down " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s) +
                         " " + std::to_string(x) + "," + std::to_string(y));
    };
    p.OnMouseMove = [&](TShiftState, int32_t x, int32_t y) {
        events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };
    p.OnMouseUp = [&](TMouseButton, TShiftState, int32_t, int32_t) { events.push_back("up"); };
    p.FireMouseDown(TMouseButton::mbRight, ssShift | ssRight, 7, 8);
    p.FireMouseMove(0, 1, 2);
    p.FireClick();
    p.FireMouseUp(TMouseButton::mbLeft, 0, 7, 8);
    EXPECT_EQ(events, (std::vector<std::string>{"down 1 17 7,8", "move 1,2", "click", "up"}));
}
