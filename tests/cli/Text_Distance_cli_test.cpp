// kavelin-cli text-distance A B, run as a separate program.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "analysis/Text_Distance_Reference.h"
#include "base/Real_Format.h"
#include "cli/Cli_Run.h"
#include "support/Global_Guards.h"

namespace {

// The tool's output for A and B, with the C locale (a point as decimal separator).
std::string Score(const std::string& a, const std::string& b) {
    const TCliRun run = RunCliWords({"text-distance", a, b});
    EXPECT_EQ(run.fStatus, 0) << a << " / " << b;
    return run.fOut;
}

TEST(TextDistanceCli, PrintsTheScoreInTheRealFormat) {
    EXPECT_EQ(Score("chat", "chien"), "44.4444444444444\n");
    EXPECT_EQ(Score("aa", "a"), "66.6666666666667\n");
    EXPECT_EQ(Score("", ""), "100\n");
    // The first argument is the first text.
    EXPECT_EQ(Score("abcac", "babcc"), "80\n");
    EXPECT_EQ(Score("babcc", "abcac"), "60\n");
    // The terminal's UTF-8 becomes one byte per accented letter.
    EXPECT_EQ(Score("\xC3\xA9t\xC3\xA9", "ete"), "33.3333333333333\n");  // été / ete: the t
    EXPECT_EQ(Score("\xC3\xA9", "e"), "0\n");
    // Bytes that are no UTF-8 are taken as Windows-1252 already, not as "?".
    EXPECT_EQ(Score("\xE9t\xE9", "\xC3\xA9t\xC3\xA9"), "100\n");
    EXPECT_EQ(Score("\xE9t\xE9", "?t?"), "33.3333333333333\n");
}

TEST(TextDistanceCli, SentencesAgreeWithTheLiteralMatching) {
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"le chat dort sur le canape", "le chien dort dans la niche"},
        {"pendant que le chien garde la maison", "le chat garde le canape pendant la nuit"},
        {"abracadabra", "cadabra abra"},
    };
    const TSeparatorGuard separator('.');  // the tool runs with the C locale
    for (const auto& [a, b] : pairs)
        EXPECT_EQ(Score(a, b), FloatToStr(text_distance_reference::Distance(a, b)) + "\n")
            << a << " / " << b;
}

TEST(TextDistanceCli, WrongArgumentsFail) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"text-distance"}, {"text-distance", "a"}, {"text-distance", "a", "b", "c"}}) {
        const TCliRun run = RunCliWords(args, true);
        EXPECT_EQ(run.fStatus, 2);
        EXPECT_NE(run.fOut.find("text-distance"), std::string::npos) << run.fOut;
    }
    EXPECT_EQ(RunCliWords({"text-distance", "a"}).fOut, "");  // nothing on standard output
}

}  // namespace
