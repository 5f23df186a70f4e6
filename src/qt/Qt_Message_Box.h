// The modal information box on Qt: the application's title as caption, no icon,
// one OK button. Handlers run inside RunGuarded, which turns an escaping error
// into this box so that no exception crosses Qt's event loop.
#pragma once

#include <functional>

#include "platform/Message_Box.h"

class TQtMessageBox : public IMessageBox {
  public:
    void Show(const std::string& text) override;
    // Escape and the close box dismiss the box; OK and Return answer it.
    bool ShowAndAsk(const std::string& text) override;
    // Save is the default button; Escape and the close box press Cancel.
    TSaveChoice AskToSave(const std::string& question) override;
};

// Runs one handler; an exception that escapes it shows its message in the box and
// skips the rest of the handler. Memory running out shows a message that says so
// and names the action (what was being done, as "handling the button ...").
// Then runs the after-handler hook, if one is set.
void RunGuarded(const std::function<void()>& handler, const std::string& action = {});
// Sets the hook that runs after every handler (an empty function: none).
void SetAfterHandler(std::function<void()> hook);
