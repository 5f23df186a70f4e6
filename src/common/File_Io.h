// Whole-file reading and writing of bytes, shared by every reader and writer of files.
#pragma once

#include <string>

// The bytes of a file. Raises EFileError naming the file and the reason.
std::string ReadFileBytes(const std::string& fileName);

// Writes the bytes whole or not at all: a temporary file beside the target is
// written, flushed and renamed over it. Raises EFileError naming the file and the
// reason; on failure the previous file is untouched and no temporary file remains.
void WriteFileAtomically(const std::string& fileName, const std::string& bytes);
