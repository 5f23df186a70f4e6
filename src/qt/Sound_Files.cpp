#include "qt/Sound_Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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
