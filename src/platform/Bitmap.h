// The in-memory bitmap and its drawing canvas: what the engines draw on and read
// from, free of Qt. The Qt picture control shows such a bitmap; the tests and the
// command-line tool use it directly.
//
// Colours are TColor values 0x00BBGGRR (base/Colour.h). The canvas follows the
// Windows drawing rules the engines rely on:
//   - a line leaves out its last point;
//   - Rectangle and FillRect leave out their right column and bottom row;
//   - the default pen is black and one pixel wide, the default brush white;
//   - drawing outside the bitmap is clipped away, never an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Colour.h"

// The platform's integer rectangle: four 32-bit signed integers.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return TRect{left, top, right, bottom};
}

// An integer point, pixel coordinates.
struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// The colour a pixel receives for a pen or brush colour: the low three bytes of an
// ordinary colour; a system colour (high bit set) becomes the Windows default for
// it (button face F0F0F0, window white, window text black, highlight 0078D7 as
// RGB, highlight text white; any other system colour black), since an in-memory
// bitmap holds only plain colours.
TColor ResolvePixelColour(TColor colour);

class TBitmap;

struct TPen {
    TColor Color = clBlack;
    // Widths above 1 paint a square of Width x Width pixels around each point of
    // a line or outline (top-left at -(Width - 1) / 2); 0 or less counts as 1.
    int32_t Width = 1;
};

struct TBrush {
    TColor Color = clWhite;
};

// A canvas draws on one bitmap, which it does not own and which must outlive it.
// Every bitmap has its own canvas (TBitmap::Canvas()); a separate canvas may also
// be made over a bitmap.
class TCanvas {
  public:
    explicit TCanvas(TBitmap& bitmap) : fBitmap(&bitmap) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;

    // Reading a pixel outside the bitmap gives clWhite (Windows gives the
    // invalid colour FFFFFFFF there; the low three bytes are the same, so
    // ColorDistance and comparisons with white behave alike). Writing outside
    // is ignored. A colour written is stored as ResolvePixelColour gives it.
    TColor Pixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, TColor colour);

    // The pen position, moved by MoveTo and LineTo; (0, 0) at first.
    TPoint PenPos() const { return fPenPos; }
    void MoveTo(int32_t x, int32_t y);
    // A Bresenham line with the pen from the pen position to (x, y), leaving out
    // (x, y) itself; the pen position becomes (x, y). LineTo of the pen position
    // paints nothing.
    void LineTo(int32_t x, int32_t y);

    // The two corners are taken in either order. The outline (pen) runs along
    // Left..Right-1 and Top..Bottom-1; the inside, Left+1..Right-2 by
    // Top+1..Bottom-2, is filled with the brush. A rectangle of zero width or
    // height paints nothing. The pen position does not change.
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }

    // Fills x in [Left, Right) and y in [Top, Bottom) with the brush; as in
    // Windows, a rectangle whose Right <= Left or Bottom <= Top fills nothing (its
    // corners are not reordered).
    void FillRect(const TRect& r);

    // Copies every pixel of `source` to (x + i, y + j), clipped to this canvas's
    // bitmap (a bit-block copy; pen and brush play no part). Drawing a bitmap on
    // its own canvas is safe.
    void Draw(int32_t x, int32_t y, const TBitmap& source);

    TBitmap& Bitmap() const { return *fBitmap; }

  private:
    friend class TBitmap;
    void PenDot(int32_t x, int32_t y, TColor colour);

    TBitmap* fBitmap;
    TPoint fPenPos;
};

// Pixels in rows from the top, each row from the left; white after creation and
// in every part that SetSize adds.
class TBitmap {
  public:
    TBitmap() : fCanvas(*this) {}
    TBitmap(int32_t width, int32_t height);
    // Copies take the pixels and the canvas's pen, brush and pen position; the
    // copy's canvas draws on the copy.
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;

    int32_t Width() const { return fWidth; }
    int32_t Height() const { return fHeight; }
    // Negative sizes count as 0. Keeps the pixels that stay inside the new size
    // (top-left aligned); the new ones are white.
    void SetSize(int32_t width, int32_t height);

    bool Contains(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < fWidth && y < fHeight;
    }
    // Direct access; the caller keeps (x, y) inside (see Contains).
    TColor Pixel(int32_t x, int32_t y) const { return fPixels[Index(x, y)]; }
    void SetPixel(int32_t x, int32_t y, TColor colour) { fPixels[Index(x, y)] = colour; }
    // Row y, Width() pixels.
    TColor* ScanLine(int32_t y) { return fPixels.data() + static_cast<size_t>(y) * fWidth; }
    const TColor* ScanLine(int32_t y) const {
        return fPixels.data() + static_cast<size_t>(y) * fWidth;
    }
    const std::vector<TColor>& Pixels() const { return fPixels; }
    // Paints every pixel with `colour` (resolved as the canvas resolves it).
    void Fill(TColor colour);

    TCanvas& Canvas() { return fCanvas; }

    // Same size and same pixels.
    bool SamePixels(const TBitmap& other) const {
        return fWidth == other.fWidth && fHeight == other.fHeight && fPixels == other.fPixels;
    }

  private:
    size_t Index(int32_t x, int32_t y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(fWidth) + static_cast<size_t>(x);
    }
    void CopyCanvasState(const TCanvas& from);

    int32_t fWidth = 0;
    int32_t fHeight = 0;
    std::vector<TColor> fPixels;
    TCanvas fCanvas;
};
