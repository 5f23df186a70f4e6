#include "qt/Qt_Image.h"

QImage BitmapToImage(const TBitmap& bitmap) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        const TColor* source = bitmap.ScanLine(y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            target[x] = qRgb(RedOf(source[x]), GreenOf(source[x]), BlueOf(source[x]));
    }
    return image;
}
