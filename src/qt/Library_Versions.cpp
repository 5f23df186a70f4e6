#include "qt/Library_Versions.h"

#include <jpeglib.h>
#include <pcre.h>
#include <pulse/version.h>
#include <sndfile.h>

#include <QtGlobal>
#include <cstdio>

#define KAVELIN_TEXT_OF(x) #x
#define KAVELIN_TEXT(x) KAVELIN_TEXT_OF(x)

std::vector<std::pair<QString, QString>> LibraryVersions() {
#ifdef LIBJPEG_TURBO_VERSION
    const QString jpeg = QStringLiteral("libjpeg-turbo " KAVELIN_TEXT(LIBJPEG_TURBO_VERSION));
#else
    const QString jpeg = QStringLiteral("libjpeg");
#endif
    // sf_version_string() reads "libsndfile-1.2.0": the version follows the dash.
    QString sndfile = QString::fromLatin1(sf_version_string());
    if (sndfile.startsWith(QStringLiteral("libsndfile-"))) sndfile.remove(0, 11);
    return {
        {QStringLiteral("Qt"), QString::fromLatin1(qVersion())},
        {QStringLiteral("PCRE"), QString::fromLatin1(pcre_version())},
        {QStringLiteral("libjpeg"),
         jpeg +
             QStringLiteral(", API %1.%2").arg(JPEG_LIB_VERSION / 10).arg(JPEG_LIB_VERSION % 10)},
        {QStringLiteral("libsndfile"), sndfile},
        {QStringLiteral("PulseAudio"), QString::fromLatin1(pa_get_library_version())},
    };
}
