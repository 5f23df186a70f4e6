// The user's data folder, from Qt's standard locations (QtCore only, so that the
// command-line tool can use it too).
#pragma once

#include <string>

// XDG_DATA_HOME/Kavelin, by default ~/.local/share/Kavelin; "" when the home
// folder is unknown.
std::string UserDataFolder();
