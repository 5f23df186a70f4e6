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

// What the user reads when memory ran out: what was being done (for example
// "handling the button "Solve"") and that it was stopped.
inline std::string OutOfMemoryMessage(const std::string& action) {
    if (action.empty()) return "Out of memory; the action was stopped.";
    return "Out of memory while " + action + "; it was stopped.";
}
