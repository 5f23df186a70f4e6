#include "qt/Text_Codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

// One decoder and one encoder serve every call: they are made once and reset
// before each use (the windows run on one thread), because opening a converter
// costs far more than converting a cell's text.

QString ToQt(const std::string& ansi) {
    // Most texts of a grid are empty.
    if (ansi.empty()) return QString();
    static QStringDecoder decoder("windows-1252");
    if (!decoder.isValid()) return QString::fromLatin1(ansi.data(), qsizetype(ansi.size()));
    decoder.resetState();
    return decoder.decode(QByteArrayView(ansi.data(), qsizetype(ansi.size())));
}

std::string FromQt(QStringView text) {
    if (text.isEmpty()) return std::string();
    // ASCII is the same in the code page, without a converter: the lines of a
    // constraint text, read a million at a time.
    std::string ascii(size_t(text.size()), '\0');
    for (qsizetype i = 0;; ++i) {
        if (i == text.size()) return ascii;
        const char16_t c = text[i].unicode();
        if (c >= 0x80) break;
        ascii[size_t(i)] = char(c);
    }
    static QStringEncoder encoder("windows-1252");
    if (!encoder.isValid()) {
        const QByteArray latin = text.toLatin1();
        return std::string(latin.constData(), size_t(latin.size()));
    }
    encoder.resetState();
    QByteArray bytes = encoder.encode(text);
    // The converter writes the substitute byte 0x1A for each character the code
    // page lacks (a surrogate pair counts as one), and nothing at all for the
    // characters that Unicode lets a reader ignore (U+061C, U+200B ...); the
    // program shows "?" for both. A text that holds U+001A itself, or lost a
    // character, is converted one character at a time instead.
    qsizetype characters = text.size();
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) --characters, ++i;
    if (bytes.contains('\x1A') || bytes.size() != characters) {
        if (bytes.size() == characters && !text.contains(QChar(0x1A))) {
            bytes.replace('\x1A', '?');
        } else {
            std::string out;
            for (const QChar* p = text.constBegin(); p != text.constEnd(); ++p) {
                qsizetype length = 1;
                if (p->isHighSurrogate() && p + 1 != text.constEnd() && (p + 1)->isLowSurrogate())
                    length = 2;
                QStringEncoder one("windows-1252");
                const QByteArray byte = one.encode(QStringView(p, length));
                out += one.hasError() || byte.size() != 1 ? '?' : byte.at(0);
                p += length - 1;
            }
            return out;
        }
    }
    return std::string(bytes.constData(), size_t(bytes.size()));
}
