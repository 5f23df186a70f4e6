// The Messenger: every engine reports through it into the trace, the text of
// the trace window. Errors also show a modal box.
#pragma once

#include <cstdint>
#include <string>

class ITextDisplay;

class TMessenger {
  public:
    static constexpr int kMaxLines = 10000;
    static constexpr int kTrimCount = 501;

    constexpr TMessenger() = default;
    TMessenger(const TMessenger&) = delete;
    TMessenger& operator=(const TMessenger&) = delete;

    // Called by the trace window's creation: from then on lines reach `trace`.
    // Before it, Send and its variants are dropped and errors show only their box.
    void AttachTrace(ITextDisplay* trace);
    bool HasTrace() const { return fTrace != nullptr; }

    void Send(const std::string& text);
    void SendInt(int32_t n);
    void SendReal(double x);
    void Warning(const std::string& text);
    void WarningInt(const std::string& text, int32_t n);
    void SendPair(const std::string& text, int32_t a, int32_t b);
    void Error(const std::string& text);
    void ErrorInt(const std::string& text, int32_t n);
    void ErrorPair(const std::string& text, int32_t a, int32_t b);
    void SetLinesToReplace(int32_t n) { fLinesToReplace = n; }
    void RefreshTrace();
    // Removes every line of the trace; does nothing before the trace exists.
    void ClearTrace();

  private:
    ITextDisplay* fTrace = nullptr;
    int32_t fLinesToReplace = 0;
};

// The one process-wide Messenger. It is constant-initialised, so calls made
// before the trace window exists (during the main window's creation, or from
// static initialisation) are well defined: they find no trace and are dropped.
extern constinit TMessenger Messenger;
