// The Chrono: what a section's calls record, in a table of its own or in the
// process-wide one that every TChrono shares.
#include <gtest/gtest.h>

#include <thread>

#include "diagnostics/Chrono_Unit.h"

using namespace std::chrono_literals;

namespace {

const TSectionTimes* Find(const std::vector<TSectionTimes>& sections, const std::string& name) {
    for (const TSectionTimes& s : sections)
        if (s.fSection == name) return &s;
    return nullptr;
}

std::vector<std::string> Names(const TChronoTable& table) {
    std::vector<std::string> names;
    for (const TSectionTimes& s : table.Sections()) names.push_back(s.fSection);
    return names;
}

}  // namespace

TEST(Chrono, AcceptsAnySectionInAnyOrder) {
    TChronoTable table;
    TChrono chrono(table);
    // A stop without its start, and a stop of a name never started, record nothing.
    chrono.StopTimer("never started");
    chrono.StartTimer("");
    chrono.StartTimer("distance");
    chrono.StartTimer("distance");
    chrono.StopTimer("distance");
    EXPECT_EQ(chrono.TimerCount(), 2);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"distance"}));
    EXPECT_EQ(table.Sections()[0].fCalls, 1);
    chrono.StopTimer("distance");
    chrono.StopTimer("distance");
    chrono.StopTimer("");
    EXPECT_EQ(chrono.TimerCount(), 0);
    // The empty name is a section like any other, listed in the order of the
    // first starts.
    EXPECT_EQ(Names(table), (std::vector<std::string>{"", "distance"}));
    EXPECT_EQ(Find(table.Sections(), "")->fCalls, 1);
    EXPECT_EQ(Find(table.Sections(), "distance")->fCalls, 2);
    EXPECT_EQ(table.Revision(), 3u);
}

TEST(Chrono, RecordsCallsTotalLeastAndGreatestOfOverlappingSections) {
    TChronoTable table;
    TChrono chrono(table);
    chrono.StartTimer("outer");
    chrono.StartTimer("slow");
    std::this_thread::sleep_for(2ms);
    // The sections overlap without nesting: "outer" ends inside "slow".
    chrono.StopTimer("outer");
    chrono.StopTimer("slow");
    chrono.StartTimer("slow");
    chrono.StopTimer("slow");
    chrono.StartTimer("never stopped");

    const std::vector<TSectionTimes> sections = table.Sections();
    ASSERT_EQ(Names(table), (std::vector<std::string>{"outer", "slow"}));
    const TSectionTimes& outer = sections[0];
    const TSectionTimes& slow = sections[1];
    EXPECT_EQ(outer.fCalls, 1);
    EXPECT_GE(outer.fTotal, 2ms);
    EXPECT_EQ(outer.fLeast, outer.fTotal);
    EXPECT_EQ(outer.fGreatest, outer.fTotal);
    EXPECT_EQ(slow.fCalls, 2);
    EXPECT_GE(slow.fGreatest, 2ms);
    EXPECT_LT(slow.fLeast, slow.fGreatest);
    EXPECT_EQ(slow.fTotal, slow.fLeast + slow.fGreatest);
    EXPECT_EQ(chrono.TimerCount(), 1);

    // A recursive call: each stop ends the call started last, and the outer call
    // takes at least as long as the inner one.
    TChronoTable nested;
    TChrono recursive(nested);
    recursive.StartTimer("f");
    recursive.StartTimer("f");
    std::this_thread::sleep_for(1ms);
    recursive.StopTimer("f");
    recursive.StopTimer("f");
    ASSERT_EQ(nested.Sections().size(), 1u);
    EXPECT_EQ(nested.Sections()[0].fCalls, 2);
    EXPECT_GE(nested.Sections()[0].fLeast, 1ms);
}

TEST(Chrono, EveryChronoReportsIntoTheProcessWideTable) {
    const auto callsOf = [](const std::string& name) {
        const std::vector<TSectionTimes> sections = ChronoTable().Sections();
        const TSectionTimes* s = Find(sections, name);
        return s ? s->fCalls : 0;
    };
    const int64_t before = callsOf("shared section");
    {
        TChrono first;
        first.StartTimer("shared section");
        TChrono second;
        second.StartTimer("shared section");
        second.StopTimer("shared section");
        // A chrono released with a section open records nothing for it.
    }
    EXPECT_EQ(callsOf("shared section"), before + 1);
    TChrono third;
    third.StartTimer("shared section");
    third.StopTimer("shared section");
    EXPECT_EQ(callsOf("shared section"), before + 2);
}

TEST(Chrono, TimesShowInMillisecondsToATenthOfAMicrosecond) {
    TSectionTimes times{"s", 3, 1234567ns, 5ns, 1000050ns};
    EXPECT_DOUBLE_EQ(times.TotalMs(), 1.2346);
    EXPECT_DOUBLE_EQ(times.MeanMs(), 0.4115);      // 411 522.3 ns
    EXPECT_DOUBLE_EQ(times.GreatestMs(), 1.0001);  // 1 000 050 ns, half rounds up
    EXPECT_DOUBLE_EQ(TSectionTimes{"none"}.MeanMs(), 0.0);
}
