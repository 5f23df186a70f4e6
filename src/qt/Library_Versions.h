// The versions of the libraries the program runs on, as the About box lists them:
// Qt, PCRE, libjpeg, libsndfile and PulseAudio, each asked of the library itself
// where it can tell (libjpeg tells its version only to the build).
#pragma once

#include <QString>
#include <utility>
#include <vector>

// Pairs of a library's name and its version, in the order above.
std::vector<std::pair<QString, QString>> LibraryVersions();
