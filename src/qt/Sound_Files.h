// The file of the sound capture on this desktop: where the recorded sound lives.
// Qt-free to include, so that the command-line tool can use it.
#pragma once

#include <string>

// The file that every capture pass rewrites and the display reads: the variable
// KAVELIN_RECORD_FILE when it is set and not empty, otherwise record.wav in the
// program's folder of the user's data location. Its folder is made when missing.
std::string RecordFileName();
