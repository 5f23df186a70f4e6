// Errors raised where the platform fails (a file that cannot be opened or
// written, a picture that cannot be read). Their what() is the text the user reads;
// the windows show it in the error box and go on.
#pragma once

#include <stdexcept>
#include <string>

class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
