// The modal information box: the application's title as caption, no icon, one OK
// button. The windows install the Qt box; tests and the command-line tool install
// their own, so that every box can be answered or recorded.
#pragma once

#include <string>

// The answers to a question about typed work that is about to go.
enum class TSaveChoice { Save, Discard, Cancel };

class IMessageBox {
  public:
    virtual ~IMessageBox() = default;
    // Shows the text (Windows-1252) and returns when the user has closed the box.
    virtual void Show(const std::string& text) = 0;
    // Shows the text as Show does; false when the user dismissed the box (Escape,
    // or its close box) rather than pressing OK. A box that cannot be dismissed
    // counts as OK.
    virtual bool ShowAndAsk(const std::string& text) {
        Show(text);
        return true;
    }
    // Asks the question (Windows-1252) with the buttons Save, Discard and Cancel;
    // Escape and the close box cancel. A box that can only show its text keeps
    // the work: Cancel.
    virtual TSaveChoice AskToSave(const std::string& question) {
        Show(question);
        return TSaveChoice::Cancel;
    }
};

// Installs the box used by ShowMessageBox; nullptr restores the fallback, which
// writes the text to standard error.
void SetMessageBox(IMessageBox* box);
IMessageBox* CurrentMessageBox();
void ShowMessageBox(const std::string& text);
// The box of ShowMessageBox through ShowAndAsk: false when the user dismissed it.
bool AskMessageBox(const std::string& text);
// The installed box's AskToSave. Without a box there is no window whose work
// could be kept: the question goes to standard error, answered Discard.
TSaveChoice AskToSaveMessageBox(const std::string& question);
