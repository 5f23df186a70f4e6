#include "qt/Qt_Picture.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/Picture_Reader.h"
#include "qt/Qt_Message_Box.h"
#include "qt/Qt_Mouse_Event.h"

TPictureControl::TPictureControl(QWidget* parent, QRect geometry)
    : QWidget(parent), fBitmap(geometry.width(), geometry.height()) {
    setGeometry(geometry);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage TPictureControl::ToImage(const TBitmap& bitmap) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        const TColor* source = bitmap.ScanLine(y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            target[x] = qRgb(RedOf(source[x]), GreenOf(source[x]), BlueOf(source[x]));
    }
    return image;
}

void TPictureControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Where the bitmap does not reach, the control shows its background colour,
    // and the engines read that colour there too (ControlPixel).
    painter.fillRect(rect(), QColor(RedOf(kPictureBackground), GreenOf(kPictureBackground),
                                    BlueOf(kPictureBackground)));
    painter.drawImage(0, 0, ToImage(fBitmap));
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
