// The data of an installed program. The program finds its files under ./Data/ of
// the folder it starts in; started elsewhere from an installed place, it works in
// the user's data folder instead, which receives a copy of the shipped data.
#pragma once

#include <string>

// The shipped data folder of a program installed at programPath: PREFIX/bin/NAME
// beside PREFIX/share/kavelin/Data. "" when there is no such folder there, as for
// a program in its build folder.
std::string ShippedDataFolderOf(const std::string& programPath);

// Copies into target every file of shipped that target lacks, in the same
// sub-folders, creating target if need be; a file already in target is never
// touched. Each copy is whole or absent, so a copy cut short is completed by the
// next call. Raises EFileError naming the file or folder that failed.
void CopyMissingDataFiles(const std::string& shipped, const std::string& target);

// Where the running program works. "" when it works in its working directory as
// ever: a Data/ folder is there, or the program is not installed. Otherwise
// userFolder, once userFolder/Data holds every shipped file; when that copy
// fails, problem tells why and the result is the shipped data's own folder,
// which can still be read.
std::string InstalledWorkFolder(const std::string& userFolder, std::string& problem);
