#include "platform/Message_Box.h"

#include <cstdio>

namespace {

IMessageBox* gMessageBox = nullptr;

}  // namespace

void SetMessageBox(IMessageBox* box) {
    gMessageBox = box;
}

IMessageBox* CurrentMessageBox() {
    return gMessageBox;
}

void ShowMessageBox(const std::string& text) {
    if (gMessageBox) {
        gMessageBox->Show(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool AskMessageBox(const std::string& text) {
    if (gMessageBox) return gMessageBox->ShowAndAsk(text);
    std::fprintf(stderr, "%s\n", text.c_str());
    return true;
}

TSaveChoice AskToSaveMessageBox(const std::string& question) {
    if (gMessageBox) return gMessageBox->AskToSave(question);
    std::fprintf(stderr, "%s\n", question.c_str());
    return TSaveChoice::Discard;
}
