#include "diagnostics/TraceUnit.h"

#include <algorithm>

#include "base/Real_Format.h"
#include "platform/Message_Box.h"
#include "platform/Text_Display.h"

constinit TMessenger Messenger;

void TMessenger::AttachTrace(ITextDisplay* trace) {
    fTrace = trace;
    fLinesToReplace = 0;
}

void TMessenger::Send(const std::string& text) {
    if (!fTrace) return;
    // The last lines go and the text comes; the last of them takes the text in
    // place, which is the same.
    int32_t replaced = std::min<int32_t>(fLinesToReplace, fTrace->Count());
    fLinesToReplace = 0;
    for (; replaced > 1; --replaced) fTrace->Delete(fTrace->Count() - 1);
    if (replaced == 1)
        fTrace->ReplaceLast(text);
    else
        fTrace->Add(text);
    if (fTrace->Count() > kMaxLines) fTrace->DeleteFirst(kTrimCount);
    fTrace->ScrollToBottom();
}

void TMessenger::SendInt(int32_t n) {
    Send(IntToStr(n));
}

void TMessenger::SendReal(double x) {
    Send(FloatToStr(x));
}

void TMessenger::Warning(const std::string& text) {
    Send("Warning : " + text);
}

void TMessenger::WarningInt(const std::string& text, int32_t n) {
    Warning(text + " " + IntToStr(n));
}

void TMessenger::SendPair(const std::string& text, int32_t a, int32_t b) {
    Send(text + IntToStr(a) + " " + IntToStr(b));
}

void TMessenger::Error(const std::string& text) {
    Send("*******ERROR*******");
    Send(text);
    Send("*******************");
    ShowMessageBox("*ERROR*" + text);
}

void TMessenger::ErrorInt(const std::string& text, int32_t n) {
    Error(text + IntToStr(n));
}

void TMessenger::ErrorPair(const std::string& text, int32_t a, int32_t b) {
    Error(text + IntToStr(a) + " " + IntToStr(b));
}

void TMessenger::RefreshTrace() {
    if (fTrace) fTrace->Repaint();
}

void TMessenger::ClearTrace() {
    if (fTrace) fTrace->Clear();
}
