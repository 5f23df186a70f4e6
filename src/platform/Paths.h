// Where the program finds its files. The data folder is ./Data/ beside the
// working directory; the Windows folders that the layout and the engines name
// (".\Data\X", "E:\Kavelin\Data\X") stand for the same folders under ./Data/.
#pragma once

#include <string>

// ".\Data\SATSolver\" -> "./Data/SATSolver/"; "E:\Kavelin\Data\X" -> "./Data/X";
// any other path has its backslashes turned into slashes. With a data home set,
// a path under ./Data/ lies under that folder instead.
std::string LocalPath(const std::string& windowsPath);

// The folder that holds Data/ for a process that cannot change its working
// directory (kavelin-cli, whose file arguments stay relative to it); "" (the
// default) keeps ./Data/ under the working directory.
void SetDataHome(const std::string& folder);
