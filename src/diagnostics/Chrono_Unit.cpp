#include "diagnostics/Chrono_Unit.h"

#include <cmath>

TChrono* Chrono = nullptr;

namespace {

double RoundedMs(double nanoseconds) {
    return std::round(nanoseconds / 100.0) / 10000.0;
}

}  // namespace

double TSectionTimes::TotalMs() const {
    return RoundedMs(static_cast<double>(fTotal.count()));
}

double TSectionTimes::MeanMs() const {
    return fCalls > 0 ? RoundedMs(static_cast<double>(fTotal.count()) / static_cast<double>(fCalls))
                      : 0.0;
}

double TSectionTimes::GreatestMs() const {
    return RoundedMs(static_cast<double>(fGreatest.count()));
}

std::vector<TSectionTimes> TChronoTable::Sections() const {
    std::vector<TSectionTimes> timed;
    for (const TSectionTimes& section : fSections)
        if (section.fCalls > 0) timed.push_back(section);
    return timed;
}

size_t TChronoTable::SlotOf(const std::string& section) {
    for (size_t slot = 0; slot < fSections.size(); ++slot)
        if (fSections[slot].fSection == section) return slot;
    fSections.push_back(TSectionTimes{section});
    return fSections.size() - 1;
}

void TChronoTable::Record(size_t slot, std::chrono::nanoseconds elapsed) {
    TSectionTimes& times = fSections[slot];
    if (times.fCalls == 0 || elapsed < times.fLeast) times.fLeast = elapsed;
    if (times.fCalls == 0 || elapsed > times.fGreatest) times.fGreatest = elapsed;
    ++times.fCalls;
    times.fTotal += elapsed;
    ++fRevision;
}

TChronoTable& ChronoTable() {
    static TChronoTable table;
    return table;
}

void TChrono::StartTimer(const std::string& section) {
    const size_t slot = fTable.SlotOf(section);
    // The clock is read last, so that the bookkeeping is not counted.
    fTimers.push_back(TTimerEntry{slot, std::chrono::steady_clock::now()});
}

void TChrono::StopTimer(const std::string& section) {
    const auto now = std::chrono::steady_clock::now();
    for (size_t i = fTimers.size(); i-- > 0;) {
        if (fTable.fSections[fTimers[i].fSlot].fSection != section) continue;
        fTable.Record(fTimers[i].fSlot, now - fTimers[i].fStart);
        fTimers.erase(fTimers.begin() + static_cast<std::ptrdiff_t>(i));
        return;
    }
}
