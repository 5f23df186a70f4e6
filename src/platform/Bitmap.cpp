#include "platform/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

TColor ResolvePixelColour(TColor colour) {
    if (!IsSystemColour(colour)) return colour & 0x00FFFFFF;
    if (colour == clBtnFace) return 0xF0F0F0;
    if (colour == clWindow) return clWhite;
    if (colour == clWindowText) return clBlack;
    if (colour == clHighlight) return RGBColour(0x00, 0x78, 0xD7);
    if (colour == clHighlightText) return clWhite;
    return clBlack;
}

// ---- TCanvas ----

TColor TCanvas::Pixel(int32_t x, int32_t y) const {
    if (!fBitmap->Contains(x, y)) return clWhite;
    return fBitmap->Pixel(x, y);
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor colour) {
    if (!fBitmap->Contains(x, y)) return;
    fBitmap->SetPixel(x, y, ResolvePixelColour(colour));
}

void TCanvas::PenDot(int32_t x, int32_t y, TColor colour) {
    const int32_t w = Pen.Width > 1 ? Pen.Width : 1;
    if (w == 1) {
        if (fBitmap->Contains(x, y)) fBitmap->SetPixel(x, y, colour);
        return;
    }
    const int64_t x0 = static_cast<int64_t>(x) - (w - 1) / 2;
    const int64_t y0 = static_cast<int64_t>(y) - (w - 1) / 2;
    const int64_t xa = std::max<int64_t>(x0, 0), xb = std::min<int64_t>(x0 + w, fBitmap->Width());
    const int64_t ya = std::max<int64_t>(y0, 0), yb = std::min<int64_t>(y0 + w, fBitmap->Height());
    for (int64_t j = ya; j < yb; ++j)
        for (int64_t i = xa; i < xb; ++i)
            fBitmap->SetPixel(static_cast<int32_t>(i), static_cast<int32_t>(j), colour);
}

void TCanvas::MoveTo(int32_t x, int32_t y) {
    fPenPos = TPoint{x, y};
}

void TCanvas::LineTo(int32_t x, int32_t y) {
    const TColor colour = ResolvePixelColour(Pen.Color);
    const int64_t x0 = fPenPos.X, y0 = fPenPos.Y;
    fPenPos = TPoint{x, y};
    const int64_t adx = std::llabs(x - x0), ady = std::llabs(y - y0);
    const int64_t sx = x < x0 ? -1 : 1, sy = y < y0 ? -1 : 1;
    // Bresenham in closed form: one point per step along the major axis, k = 0 ..
    // steps - 1 (the end point is left out), the minor coordinate being
    // k x minor / steps rounded, halves away from the start. That is the pixel set
    // of the incremental walk, but any stretch of it can be drawn on its own.
    const bool xMajor = adx >= ady;
    const int64_t steps = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    if (steps == 0) return;
    // Only the steps whose major coordinate lies on the bitmap, widened by the
    // pen, can paint: a line from far outside costs no more than the bitmap's size.
    const int64_t margin = Pen.Width > 1 ? Pen.Width : 1;
    const int64_t start = xMajor ? x0 : y0, step = xMajor ? sx : sy;
    const int64_t last = (xMajor ? fBitmap->Width() : fBitmap->Height()) - 1 + margin;
    int64_t kLow = step > 0 ? -margin - start : start - last;
    int64_t kHigh = step > 0 ? last - start : start + margin;
    kLow = std::max<int64_t>(kLow, 0);
    kHigh = std::min<int64_t>(kHigh, steps - 1);
    for (int64_t k = kLow; k <= kHigh; ++k) {
        const auto offset = static_cast<int64_t>((static_cast<__int128>(2) * k * minor + steps) /
                                                 (static_cast<__int128>(2) * steps));
        const int64_t px = xMajor ? x0 + sx * k : x0 + sx * offset;
        const int64_t py = xMajor ? y0 + sy * offset : y0 + sy * k;
        PenDot(static_cast<int32_t>(px), static_cast<int32_t>(py), colour);
    }
}

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    const int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (right == left || bottom == top) return;
    const int64_t r = right - 1, b = bottom - 1;  // last column and row painted
    // Inside first, then the outline over it.
    const TColor fill = ResolvePixelColour(Brush.Color);
    const int64_t fx0 = std::max<int64_t>(left + 1, 0),
                  fx1 = std::min<int64_t>(r, fBitmap->Width());
    const int64_t fy0 = std::max<int64_t>(top + 1, 0),
                  fy1 = std::min<int64_t>(b, fBitmap->Height());
    for (int64_t j = fy0; j < fy1; ++j)
        for (int64_t i = fx0; i < fx1; ++i)
            fBitmap->SetPixel(static_cast<int32_t>(i), static_cast<int32_t>(j), fill);
    const TColor pen = ResolvePixelColour(Pen.Color);
    // Clip the walks to the bitmap widened by the pen, so that a huge rectangle
    // costs no more than the bitmap's size.
    const int64_t margin = Pen.Width > 1 ? Pen.Width : 1;
    const int64_t cx0 = std::max<int64_t>(left, -margin);
    const int64_t cx1 = std::min<int64_t>(r, fBitmap->Width() + margin);
    const int64_t cy0 = std::max<int64_t>(top, -margin);
    const int64_t cy1 = std::min<int64_t>(b, fBitmap->Height() + margin);
    auto dot = [&](int64_t i, int64_t j) {
        PenDot(static_cast<int32_t>(i), static_cast<int32_t>(j), pen);
    };
    for (int64_t i = cx0; i <= cx1; ++i) {
        dot(i, top);
        dot(i, b);
    }
    for (int64_t j = cy0; j <= cy1; ++j) {
        dot(left, j);
        dot(r, j);
    }
}

void TCanvas::FillRect(const TRect& rect) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    const TColor fill = ResolvePixelColour(Brush.Color);
    const int32_t x0 = std::max(rect.Left, 0), x1 = std::min(rect.Right, fBitmap->Width());
    const int32_t y0 = std::max(rect.Top, 0), y1 = std::min(rect.Bottom, fBitmap->Height());
    for (int32_t j = y0; j < y1; ++j) {
        TColor* row = fBitmap->ScanLine(j);
        for (int32_t i = x0; i < x1; ++i) row[i] = fill;
    }
}

void TCanvas::Draw(int32_t x, int32_t y, const TBitmap& source) {
    if (&source == fBitmap) {
        const TBitmap copy(source);
        Draw(x, y, copy);
        return;
    }
    TBitmap& target = *fBitmap;
    const int64_t i0 = std::max<int64_t>(0, -static_cast<int64_t>(x));
    const int64_t i1 = std::min<int64_t>(source.Width(), static_cast<int64_t>(target.Width()) - x);
    const int64_t j0 = std::max<int64_t>(0, -static_cast<int64_t>(y));
    const int64_t j1 =
        std::min<int64_t>(source.Height(), static_cast<int64_t>(target.Height()) - y);
    if (i1 <= i0) return;
    for (int64_t j = j0; j < j1; ++j) {
        const TColor* from = source.ScanLine(static_cast<int32_t>(j));
        TColor* to = target.ScanLine(static_cast<int32_t>(j + y));
        std::copy(from + i0, from + i1, to + (i0 + x));
    }
}

// ---- TBitmap ----

TBitmap::TBitmap(int32_t width, int32_t height) : fCanvas(*this) {
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other)
    : fWidth(other.fWidth), fHeight(other.fHeight), fPixels(other.fPixels), fCanvas(*this) {
    CopyCanvasState(other.fCanvas);
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other) {
        fWidth = other.fWidth;
        fHeight = other.fHeight;
        fPixels = other.fPixels;
        CopyCanvasState(other.fCanvas);
    }
    return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : fWidth(std::exchange(other.fWidth, 0)),
      fHeight(std::exchange(other.fHeight, 0)),
      fPixels(std::move(other.fPixels)),
      fCanvas(*this) {
    other.fPixels.clear();
    CopyCanvasState(other.fCanvas);
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
    if (this != &other) {
        fWidth = std::exchange(other.fWidth, 0);
        fHeight = std::exchange(other.fHeight, 0);
        fPixels = std::move(other.fPixels);
        other.fPixels.clear();
        CopyCanvasState(other.fCanvas);
    }
    return *this;
}

void TBitmap::CopyCanvasState(const TCanvas& from) {
    fCanvas.Pen = from.Pen;
    fCanvas.Brush = from.Brush;
    fCanvas.fPenPos = from.fPenPos;
}

void TBitmap::SetSize(int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == fWidth && height == fHeight) return;
    std::vector<TColor> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), clWhite);
    const int32_t w = std::min(width, fWidth), h = std::min(height, fHeight);
    for (int32_t j = 0; j < h; ++j)
        std::copy(ScanLine(j), ScanLine(j) + w, pixels.data() + static_cast<size_t>(j) * width);
    fPixels = std::move(pixels);
    fWidth = width;
    fHeight = height;
}

void TBitmap::Fill(TColor colour) {
    std::fill(fPixels.begin(), fPixels.end(), ResolvePixelColour(colour));
}
