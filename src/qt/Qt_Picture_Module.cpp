#include "qt/Qt_Picture_Module.h"

#include <QBuffer>

#include "qt/Qt_Image.h"
#include "qt/Qt_Picture_Reader.h"

namespace {

bool EncodePng(const TBitmap& bitmap, std::string& file) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!BitmapToImage(bitmap).save(&buffer, "PNG")) return false;
    file = bytes.toStdString();
    return true;
}

}  // namespace

extern "C" const TPictureModule* KavelinPictureModule() {
    static const TPictureModule module{&QtPictureReader(), &EncodePng};
    return &module;
}
