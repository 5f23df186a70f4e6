// Text at the Qt boundary: engine text is Windows-1252 bytes, Qt text is Unicode.
#pragma once

#include <QString>
#include <string>

QString ToQt(const std::string& ansi);
// Characters that Windows-1252 lacks become "?".
std::string FromQt(QStringView text);
