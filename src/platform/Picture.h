// The picture control as the engines see it: a size, a bitmap with its canvas,
// an immediate repaint, and mouse events that an engine may take over. The Qt
// layer implements it on a widget that shows the bitmap; TMemoryPicture below is
// the in-memory one for tests and the command-line tool.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Bitmap.h"

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// The shift state of a mouse event, as a set of flags.
using TShiftState = uint32_t;
constexpr TShiftState ssShift = 1u << 0;
constexpr TShiftState ssAlt = 1u << 1;
constexpr TShiftState ssCtrl = 1u << 2;
constexpr TShiftState ssLeft = 1u << 3;
constexpr TShiftState ssRight = 1u << 4;
constexpr TShiftState ssMiddle = 1u << 5;
constexpr TShiftState ssDouble = 1u << 6;

using TNotifyEvent = std::function<void()>;
using TMouseEvent =
    std::function<void(TMouseButton button, TShiftState shift, int32_t x, int32_t y)>;
using TMouseMoveEvent = std::function<void(TShiftState shift, int32_t x, int32_t y)>;

class IPicture {
  public:
    virtual ~IPicture() = default;

    // The control's size in pixels (which the loaded bitmap need not have).
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // The picture as a bitmap. A new control holds a white bitmap of its own
    // size; loading a picture file assigns the file's bitmap to it (the
    // reference and the canvas stay valid across such an assignment).
    virtual TBitmap& Bitmap() = 0;
    // Drawing goes to the bitmap.
    TCanvas& Canvas() { return Bitmap().Canvas(); }
    // Shows the bitmap's current content at once.
    virtual void Repaint() = 0;

    // The events, called by the control on the user-interface thread with
    // positions in the control's pixels. An engine that takes over the control
    // assigns them, replacing whatever was there; an empty one does nothing.
    // Windows order for one click: OnMouseDown, OnClick, OnMouseUp.
    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // Helpers for the controls and the tests: call the event when it is set.
    void FireClick() {
        if (OnClick) OnClick();
    }
    void FireMouseDown(TMouseButton b, TShiftState s, int32_t x, int32_t y) {
        if (OnMouseDown) OnMouseDown(b, s, x, y);
    }
    void FireMouseMove(TShiftState s, int32_t x, int32_t y) {
        if (OnMouseMove) OnMouseMove(s, x, y);
    }
    void FireMouseUp(TMouseButton b, TShiftState s, int32_t x, int32_t y) {
        if (OnMouseUp) OnMouseUp(b, s, x, y);
    }
};

// A picture held in memory: the control is its bitmap's creation size; Repaint
// only counts.
class TMemoryPicture : public IPicture {
  public:
    TMemoryPicture(int32_t width, int32_t height)
        : fWidth(width < 0 ? 0 : width),
          fHeight(height < 0 ? 0 : height),
          fBitmap(fWidth, fHeight) {}

    int32_t Width() const override { return fWidth; }
    int32_t Height() const override { return fHeight; }
    TBitmap& Bitmap() override { return fBitmap; }
    void Repaint() override { ++fRepaints; }

    int fRepaints = 0;

  private:
    int32_t fWidth;
    int32_t fHeight;
    TBitmap fBitmap;
};
