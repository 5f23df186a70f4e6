// Whole-file reading and writing of bytes, shared by every reader and writer of files.
#pragma once

#include <string>

// The bytes of a file. Raises EFileError naming the file and the reason.
std::string ReadFileBytes(const std::string& fileName);

// Writes the bytes whole or not at all: a temporary file beside the target is
// written, flushed and renamed over it, with the owner and permissions of the file
// it replaces. A symbolic link is followed to its target (a loop is refused); a
// file with several names, of another owner or in a folder that cannot be written
// is rewritten in place, its space reserved first and its bytes put back should
// the writing fail. A read-only file is refused. Raises EFileError naming the
// file and the reason; on failure the previous file is untouched and no temporary
// file remains.
void WriteFileAtomically(const std::string& fileName, const std::string& bytes);

// Whether a file of that name can be opened for reading as a file: it exists,
// through links too, and is no folder (a folder is reported as a missing file).
bool FileExists(const std::string& fileName);

// Whether both names reach one existing file, through links too.
bool IsSameFile(const std::string& first, const std::string& second);
