// Inputs with which the fuzz targets of the common services found faults, run
// again through the same entries: each must run to the end with every checked
// property holding, and give the result noted for it.
#include <gtest/gtest.h>

#include "../../fuzz/Common_Inputs.h"
#include "common/Pattern_Matcher_Unit.h"
#include "support/Fuzz_Regressions.h"
#include "support/Trace_Capture.h"

TEST(FuzzRegressions, PatternInputsRunWithEveryPropertyHolding) {
    TTraceCapture capture;
    const auto inputs = SavedFuzzInputs("Pattern");
    ASSERT_FALSE(inputs.empty());
    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        int groups = -2;
        EXPECT_NO_THROW(groups = FuzzPattern(bytes));
        EXPECT_GE(groups, -1);
    }
}

TEST(FuzzRegressions, AMatchEndingBeforeItsStartHasEmptyGroupsOfLengthZero) {
    // \K in a lookahead moves the reported start past the end of the match.
    TPatternMatcher matcher;
    matcher.SetRegEx("a(?=b\\K)");
    matcher.SetSubject("ab");
    ASSERT_TRUE(matcher.Match());
    EXPECT_EQ(matcher.Group(0), "");
    EXPECT_EQ(matcher.GroupLength(0), 0);
}
