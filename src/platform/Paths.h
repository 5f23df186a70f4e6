// Where the program finds its files. The data folder is ./Data/ beside the
// working directory; the Windows folders that the layout and the engines name
// (".\Data\X", "E:\Kavelin\Data\X") stand for the same folders under ./Data/.
#pragma once

#include <string>

// ".\Data\SATSolver\" -> "./Data/SATSolver/"; "E:\Kavelin\Data\X" -> "./Data/X";
// any other path has its backslashes turned into slashes.
std::string LocalPath(const std::string& windowsPath);
