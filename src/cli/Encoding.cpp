// The command line's text boundary, through the program's own Windows-1252
// converter.
#include <QStringDecoder>

#include "cli/Cli.h"
#include "qt/Text_Codec.h"

// An argument that is not well-formed UTF-8 reaches the engines as the bytes given.
std::string Utf8ToAnsi(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(QByteArrayView(text.data(), qsizetype(text.size())));
    return utf8.hasError() ? text : FromQt(decoded);
}

std::string AnsiToUtf8(const std::string& text) {
    const QByteArray utf8 = ToQt(text).toUtf8();
    return std::string(utf8.constData(), size_t(utf8.size()));
}
