// The order in which the INI reader leaves names and keys that its sort tells
// apart by their first 16 bytes and size: texts that agree on those bytes,
// texts that end inside them, embedded zero bytes and bytes above 127.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Ini_Manager_Unit.h"
#include "support/Trace_Capture.h"

namespace {

using namespace std::string_literals;

// Names and keys that differ only after their 16th byte, only in their size, or
// only in a zero byte or a byte above 127 (already lower-case: the match names
// are the names). A name loses the control characters at its ends, as blanks.
const std::vector<std::string> kTexts = {"abcdefghijklmnop",
                                         "abcdefghijklmnopq",
                                         "abcdefghijklmnopa",
                                         "abcdefghijklmnop\xE9",
                                         "abcdefghijklmno",
                                         "abcdefghijklmnoq",
                                         "abcdefghijklmnopqrstuvwxyz",
                                         "abcdefghijklmnopqrstuvwxy",
                                         "ab",
                                         "ab\0c"s,
                                         "ab\0\0\0\0\0\0\0\0\0\0\0\0\0c"s,
                                         "ab\0\0\0\0\0\0\0\0\0\0\0\0\0\0c"s,
                                         "a\xE9",
                                         "az",
                                         "b",
                                         "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"};

// Keys keep them: these differ from "ab" and from each other.
std::vector<std::string> KeyTexts() {
    std::vector<std::string> texts = kTexts;
    for (const size_t zeros : {1, 14, 15}) texts.push_back("ab" + std::string(zeros, '\0'));
    return texts;
}

}  // namespace

TEST(IniReaderOrder, SectionsSortByEveryByteOfTheirNames) {
    TTraceCapture trace;
    std::vector<std::string> lines;
    for (size_t i = 0; i < kTexts.size(); ++i) {
        lines.push_back("[" + kTexts[i] + "]");
        lines.push_back("n=" + std::to_string(i));
    }
    const TIniManager ini{TLineList(lines)};
    EXPECT_TRUE(trace.Lines().empty());
    std::vector<std::string> expected = kTexts;
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(ini.Sections().size(), expected.size());
    for (size_t s = 0; s < expected.size(); ++s) {
        EXPECT_EQ(ini.Sections()[s].Name(), expected[s]) << s;
        // Each is found under its own name, with its own value.
        const size_t read = std::find(kTexts.begin(), kTexts.end(), expected[s]) - kTexts.begin();
        EXPECT_EQ(ini.Get(expected[s], "n"), std::to_string(read)) << s;
    }
}

TEST(IniReaderOrder, KeysSortAndRepeatAsAddingThemOneByOne) {
    // Every text three times over in a shuffled order, the pair list filled one
    // by one as the reference: the same keys and values and the same reports,
    // in line order.
    const std::vector<std::string> texts = KeyTexts();
    std::vector<std::string> keys;
    for (size_t round = 0; round < 3; ++round)
        for (size_t i = 0; i < texts.size(); ++i)
            keys.push_back(texts[(i * 7 + round) % texts.size()]);
    std::vector<std::string> lines = {"[S]"};
    for (size_t i = 0; i < keys.size(); ++i) lines.push_back(keys[i] + "=" + std::to_string(i));

    TTraceCapture trace;
    TListOfPairOfStrings reference;
    for (size_t i = 0; i < keys.size(); ++i) reference.add(keys[i], std::to_string(i));
    const std::vector<std::string> referenceBoxes = trace.Boxes();
    ASSERT_EQ(referenceBoxes.size(), keys.size() - texts.size());
    trace.Reset();

    const TIniManager ini{TLineList(lines)};
    EXPECT_EQ(trace.Boxes(), referenceBoxes);
    const TListOfPairOfStrings& pairs = ini.Sections().at(0).Pairs();
    ASSERT_EQ(pairs.Count(), reference.Count());
    for (int32_t p = 0; p < pairs.Count(); ++p) {
        EXPECT_EQ(pairs.KeyAt(p), reference.KeyAt(p)) << p;
        EXPECT_EQ(pairs.DataAt(p), reference.DataAt(p)) << p;
    }
}

TEST(IniReaderOrder, ManySectionsOfOneNameEndInReverseReadingOrder) {
    // Inserting a name that equals the first of the list puts it first: a text
    // of one name repeated leaves its sections last read first, and both lookups
    // reach the last one read.
    constexpr int kCount = 5000;
    std::vector<std::string> lines;
    for (int i = 0; i < kCount; ++i) {
        lines.push_back(i % 2 ? "[Same]" : " [ SAME ] ");
        lines.push_back("n=" + std::to_string(i));
    }
    TTraceCapture trace;
    const TIniManager ini{TLineList(lines)};
    ASSERT_EQ(ini.SectionCount(), kCount);
    for (int s = 0; s < kCount; ++s)
        ASSERT_EQ(ini.Sections()[static_cast<size_t>(s)].Pairs().DataAt(0),
                  std::to_string(kCount - 1 - s))
            << s;
    EXPECT_EQ(ini.GetInt("same", "n"), kCount - 1);
    EXPECT_TRUE(ini.KeyExists("SAME", "n"));
    EXPECT_TRUE(trace.Lines().empty());
}
