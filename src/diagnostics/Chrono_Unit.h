// The profiling hook. Callers bracket a section with StartTimer and StopTimer of
// the same name. Every TChrono reports into one process-wide table that keeps,
// per section name, the number of calls and the total, least and greatest time
// on a steady clock; the profiling window and kavelin-cli --profile show it.
// Sections need not nest, and no name or order of calls is refused.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The times of one section.
struct TSectionTimes {
    std::string fSection;
    int64_t fCalls = 0;
    std::chrono::nanoseconds fTotal{0};
    std::chrono::nanoseconds fLeast{0};
    std::chrono::nanoseconds fGreatest{0};

    // In milliseconds, rounded to a tenth of a microsecond for display.
    double TotalMs() const;
    double MeanMs() const;
    double GreatestMs() const;
};

class TChronoTable {
  public:
    // The sections timed at least once, in the order of their first start.
    std::vector<TSectionTimes> Sections() const;
    // Changes with every recorded call: a view compares it to tell whether it is
    // out of date.
    uint64_t Revision() const { return fRevision; }

  private:
    friend class TChrono;
    // The index of the section in fSections, added with no call when new.
    size_t SlotOf(const std::string& section);
    void Record(size_t slot, std::chrono::nanoseconds elapsed);

    std::vector<TSectionTimes> fSections;
    uint64_t fRevision = 0;
};

// The table of the whole program: every TChrono reports into it unless given
// another one.
TChronoTable& ChronoTable();

// One section started and not yet stopped.
struct TTimerEntry {
    size_t fSlot;
    std::chrono::steady_clock::time_point fStart;
};

class TChrono {
  public:
    explicit TChrono(TChronoTable& table = ChronoTable()) : fTable(table) {}
    // Starts one call of the section; a section may be started again before it
    // stops (a recursive call), and sections may overlap in any order.
    void StartTimer(const std::string& section);
    // Ends the call of the section started last and records its time. A stop
    // with no call of that name started is accepted and records nothing.
    void StopTimer(const std::string& section);
    // The calls started and not yet stopped.
    int TimerCount() const { return static_cast<int>(fTimers.size()); }

  private:
    TChronoTable& fTable;
    std::vector<TTimerEntry> fTimers;
};

// The process-wide profiler: created by the main window's creation, released by
// its "&Quit" button, owned by the main window. Absent (nullptr) outside that span.
extern TChrono* Chrono;
