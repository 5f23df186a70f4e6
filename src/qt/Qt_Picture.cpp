#include "qt/Qt_Picture.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/Picture_Reader.h"
#include "qt/Qt_Image.h"
#include "qt/Qt_Message_Box.h"
#include "qt/Qt_Mouse_Event.h"

TPictureControl::TPictureControl(QWidget* parent, QRect geometry)
    : QWidget(parent), fBitmap(geometry.width(), geometry.height()) {
    setGeometry(geometry);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPictureControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Where the bitmap does not reach, the control shows its background colour,
    // and the engines read that colour there too (ControlPixel).
    painter.fillRect(rect(), QColor(RedOf(kPictureBackground), GreenOf(kPictureBackground),
                                    BlueOf(kPictureBackground)));
    painter.drawImage(0, 0, BitmapToImage(fBitmap));
}

void TPictureControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    RunGuarded([&] { FireMouseDown(ButtonOf(event), ShiftOf(event), p.x(), p.y()); });
}

void TPictureControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    RunGuarded([&] { FireMouseMove(ShiftOf(event), p.x(), p.y()); });
}

void TPictureControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    RunGuarded([&] {
        if (event->button() == Qt::LeftButton && rect().contains(p)) FireClick();
        FireMouseUp(ButtonOf(event), ShiftOf(event), p.x(), p.y());
    });
}
