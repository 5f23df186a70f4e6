#include "qt/Qt_Data_Folder.h"

#include <QFile>
#include <QStandardPaths>

std::string UserDataFolder() {
    const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (generic.isEmpty()) return {};
    return QFile::encodeName(generic + QStringLiteral("/Kavelin")).toStdString();
}
