#include "qt/Text_Codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString ToQt(const std::string& ansi) {
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid()) return QString::fromLatin1(ansi.data(), qsizetype(ansi.size()));
    return decoder.decode(QByteArrayView(ansi.data(), qsizetype(ansi.size())));
}

std::string FromQt(const QString& text) {
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Default);
    if (!encoder.isValid()) {
        const QByteArray latin = text.toLatin1();
        return std::string(latin.constData(), size_t(latin.size()));
    }
    // The encoder replaces what the code page lacks; make that a "?" whatever
    // its own replacement character is, one per source character.
    std::string out;
    out.reserve(size_t(text.size()));
    for (const QChar* p = text.constBegin(); p != text.constEnd(); ++p) {
        qsizetype length = 1;
        if (p->isHighSurrogate() && p + 1 != text.constEnd() && (p + 1)->isLowSurrogate()) length = 2;
        QStringEncoder one("windows-1252");
        const QByteArray bytes = one.encode(QStringView(p, length));
        if (one.hasError() || bytes.size() != 1) out += '?';
        else out += bytes.at(0);
        p += length - 1;
    }
    return out;
}
