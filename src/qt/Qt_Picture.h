// The picture control: shows its in-memory bitmap at the top-left corner, at the
// bitmap's own size, and hands its mouse events to whatever engine took them over.
// The control's size is the one the layout gives, whatever picture it holds;
// parts of the control that the bitmap does not cover show the control's
// background colour (kPictureBackground, the button face), and pixels there read
// as that colour (ControlPixel).
#pragma once

#include <QWidget>

#include "platform/Picture.h"

class TPictureControl : public QWidget, public IPicture {
    Q_OBJECT
  public:
    explicit TPictureControl(QWidget* parent, QRect geometry);

    int32_t Width() const override { return width(); }
    int32_t Height() const override { return height(); }
    TBitmap& Bitmap() override { return fBitmap; }
    void Repaint() override { repaint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    TBitmap fBitmap;
};
