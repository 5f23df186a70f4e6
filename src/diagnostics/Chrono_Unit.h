// The profiling hook. Callers bracket a section with StartTimer and StopTimer of
// the same name; in this program the hook records nothing and the profiling
// window stays empty, so any name, in any order, is accepted silently.
#pragma once

#include <memory>
#include <string>
#include <vector>

// One timing entry. Nothing creates entries yet; the list exists so that a
// recording profiler can be added without changing the callers.
struct TTimerEntry {
    std::string fSection;
};

class TChrono {
public:
    TChrono() = default;
    void StartTimer(const std::string& section);
    void StopTimer(const std::string& section);
    int TimerCount() const { return static_cast<int>(fTimers.size()); }

private:
    std::vector<std::unique_ptr<TTimerEntry>> fTimers;
};

// The process-wide profiler: created by the main window's creation, released by
// its "&Quit" button. Absent (nullptr) outside that span.
extern TChrono* Chrono;
