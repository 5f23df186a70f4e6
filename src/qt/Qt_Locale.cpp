#include "qt/Qt_Locale.h"

#include <QLocale>

#include "base/Real_Format.h"

void InitDecimalSeparatorFromLocale() {
    const QString point = QLocale::system().decimalPoint();
    SetDecimalSeparator(point.size() == 1 && point[0].unicode() < 0x80 ? point[0].toLatin1() : '.');
}
