// The database's loops against the step-by-step forms they replace, on many
// random inputs: the halving search written as recursion, the similarity order
// built by inserting each entry before the first not-greater one, and the
// replacement that searches again from the start after each change.
#include <gtest/gtest.h>

#include <random>

#include "analysis/Text_Distance_Unit.h"
#include "support/Trace_Capture.h"
#include "tables/Database_Unit.h"

namespace {

using TRun = std::pair<int32_t, int32_t>;

// The recursive halving, step by step, with its widening over the whole list.
TRun ReferenceFind(const TIndexList& list, const std::string& key, int32_t start, int32_t finish) {
    const auto text = [&list](int32_t i) { return list[static_cast<size_t>(i)].Text; };
    int32_t found = -1;
    const int32_t cS = PrefixCompare(key, text(start));
    const int32_t cF = PrefixCompare(key, text(finish));
    if (cS < 0 || cF > 0) return {-1, -1};
    if (cS == 0) found = start;
    if (cF == 0) found = finish;
    const int32_t mid = (start + finish) / 2;
    const int32_t cM = PrefixCompare(key, text(mid));
    if (cM == 0) found = mid;
    if (found == -1) {
        if (finish - start > 1) {
            if (cM < 0) return ReferenceFind(list, key, start, mid);
            if (cM > 0) return ReferenceFind(list, key, mid, finish);
        }
        return {-1, -1};
    }
    int32_t first = found;
    while (first >= 0 && PrefixCompare(key, text(first)) == 0) --first;
    int32_t last = found;
    while (last < static_cast<int32_t>(list.size()) && PrefixCompare(key, text(last)) == 0) ++last;
    return {first + 1, last - 1};
}

std::string ReferenceReplaceAll(std::string text, const std::string& oldText,
                                const std::string& newText) {
    for (size_t at = text.find(oldText); at != std::string::npos; at = text.find(oldText))
        text.replace(at, oldText.size(), newText);
    return text;
}

std::string RandomText(std::mt19937& random, const char* alphabet, size_t maxLength) {
    const size_t letters = std::char_traits<char>::length(alphabet);
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text) c = alphabet[random() % letters];
    return text;
}

}  // namespace

TEST(DatabaseReference, HalvingMatchesTheRecursiveForm) {
    TTraceCapture capture;
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        TIndexList list;
        const int count = 1 + int(random() % 40);
        for (int i = 0; i < count; ++i) list.emplace_back(RandomText(random, "ABC", 4), i);
        std::sort(list.begin(), list.end(), [](auto& a, auto& b) { return a.Text < b.Text; });
        for (int k = 0; k < 10; ++k) {
            const std::string key = RandomText(random, "ABC", 5);
            const int32_t start = int32_t(random() % count);
            const int32_t finish = start + int32_t(random() % (count - start));
            ASSERT_EQ(TMyDatabase::DichotomicFindFirst(&list, key, start, finish),
                      ReferenceFind(list, key, start, finish))
                << key << " in [" << start << ", " << finish << "]";
        }
    }
    EXPECT_TRUE(capture.Lines().empty());
}

TEST(DatabaseReference, SimilarityOrderMatchesInsertion) {
    std::mt19937 random(11);
    const TTextDistanceManager manager;
    for (int round = 0; round < 30; ++round) {
        std::vector<std::string> lines{"t"};
        for (int i = 0; i < 60; ++i) lines.push_back(RandomText(random, "abcd", 4));
        TMyDatabase db("");
        db.LoadFromStrings(TLineList(lines));
        const std::string pattern = RandomText(random, "abcd", 4);
        db.Search("t", pattern, skSimilarity);

        std::vector<TPairOfRealInt> inserted;
        for (const auto& entry : db.Index(0)) {
            const TPairOfRealInt pair(manager.Distance(pattern, entry.Text), entry.Index);
            auto at = inserted.begin();
            while (at != inserted.end() && at->Value > pair.Value) ++at;
            inserted.insert(at, pair);
        }
        std::vector<int32_t> expected;
        for (const auto& pair : inserted) expected.push_back(pair.Index);
        ASSERT_EQ(db.Results(), expected) << pattern;
    }
}

TEST(DatabaseReference, ReplaceAllMatchesSearchingFromTheStart) {
    std::mt19937 random(3);
    const std::pair<std::string, std::string> rules[] = {
        {"ab", "b"}, {"aa", "a"}, {"\\n", "\r\n"}, {"xy", ""}};
    for (int round = 0; round < 2000; ++round) {
        const std::string text = RandomText(random, "abxy\\n", 12);
        for (const auto& [from, to] : rules)
            ASSERT_EQ(ReplaceAll(text, from, to), ReferenceReplaceAll(text, from, to)) << text;
    }
}
