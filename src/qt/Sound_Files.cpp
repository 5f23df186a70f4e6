#include "qt/Sound_Files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "base/Errors.h"
#include "base/File_Io.h"
#include "qt/Qt_Image.h"

std::string RecordFileName() {
    QString path = qEnvironmentVariable("KAVELIN_RECORD_FILE");
    if (path.isEmpty())
        path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
               QStringLiteral("/record.wav");
    // A folder that cannot be made shows up as the save's failure, like any
    // other file that cannot be written.
    QDir().mkpath(QFileInfo(path).absolutePath());
    return QFile::encodeName(path).toStdString();
}

void SaveBitmapAsPng(const TBitmap& bitmap, const std::string& fileName) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!BitmapToImage(bitmap).save(&buffer, "PNG"))
        throw EFileError("Cannot write file \"" + fileName + "\": the picture cannot be encoded");
    WriteFileAtomically(fileName, bytes.toStdString());
}
