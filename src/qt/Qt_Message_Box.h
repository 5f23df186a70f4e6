// The modal information box on Qt: the application's title as caption, no icon,
// one OK button. Handlers run inside RunGuarded, which turns an escaping error
// into this box so that no exception crosses Qt's event loop.
#pragma once

#include <functional>

#include "platform/Message_Box.h"

class TQtMessageBox : public IMessageBox {
public:
    void Show(const std::string& text) override;
};

// Runs one handler; an exception that escapes it shows its message in the box and
// skips the rest of the handler.
void RunGuarded(const std::function<void()>& handler);
