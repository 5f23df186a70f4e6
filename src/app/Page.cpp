#include "app/Page.h"

TPage::TPage(const char* name, QString caption) : fCaption(std::move(caption)) {
    setObjectName(QString::fromLatin1(name));
}
