// The database's loops against the step-by-step forms they replace, on many
// random inputs: the halving search written as recursion, the similarity order
// built by inserting each entry before the first not-greater one, the
// replacement that searches again from the start after each change, and the
// typed comparison through keys read once against the checks run per pair.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "analysis/Text_Distance_Unit.h"
#include "common/String_Manager_Unit.h"
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

// The typed comparison as a pair of texts is read: each check in turn, on both.
int32_t ReferenceCompareTyped(const std::string& a, const std::string& b) {
    using SM = TStringManager;
    const auto sign = [](auto x, auto y) { return x < y ? -1 : x > y ? 1 : 0; };
    const auto integer = [](const std::string& text) { return std::stoll(text); };
    const auto date = [](const std::string& t) {
        return std::stoll(t.substr(6, 4)) * 10000 + std::stoll(t.substr(3, 2)) * 100 +
               std::stoll(t.substr(0, 2));
    };
    if (a == b) return 0;
    if (SM::IsInteger(a) && SM::IsInteger(b)) return sign(integer(a), integer(b));
    if (SM::IsReal(a) && SM::IsReal(b)) return sign(SM::MyStrToFloat(a), SM::MyStrToFloat(b));
    if (SM::IsDate(a) && SM::IsDate(b)) return sign(date(a), date(b));
    if ((SM::IsAVCode(a) && SM::IsAVCode(b)) || (SM::IsDECode(a) && SM::IsDECode(b)) ||
        (SM::IsFACode(a) && SM::IsFACode(b)))
        return sign(integer(a.substr(2)), integer(b.substr(2)));
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return int32_t(uint8_t(a[i])) - int32_t(uint8_t(b[i]));
    return int32_t(a.size()) - int32_t(b.size());
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

// Texts of every kind that the comparison tells apart, and texts close to them.
TEST(DatabaseReference, TypedKeysCompareAsThePairwiseChecksAndIndexTheSame) {
    TTraceCapture capture;
    std::mt19937 random(5);
    const char* shapes[] = {"-0123456789", "0123456789,.", "AVDEF0123456789", "abAB19 ", "/0123"};
    std::vector<std::string> texts;
    const char* families[] = {"AV", "DE", "FA", "AV"};
    for (int i = 0; i < 400; ++i) {
        std::string text = RandomText(random, shapes[random() % 5], 7);
        char made[40];
        switch (random() % 6) {
            case 0:  // a date, month 13 included
                std::snprintf(made, sizeof made, "%02u/%02u/%04u", unsigned(random() % 31 + 1),
                              unsigned(random() % 13 + 1), unsigned(1990 + random() % 40));
                text = made;
                break;
            case 1:  // a code of a family, of any length
                text = families[random() % 4] + RandomText(random, "0123456789", 6);
                break;
            default:
                break;
        }
        texts.push_back(text);
    }
    for (const std::string& a : texts)
        for (const std::string& b : texts)
            ASSERT_EQ(TStringManager::CompareTyped(a, b), ReferenceCompareTyped(a, b))
                << a << " / " << b;

    std::vector<std::string> lines{"t"};
    lines.insert(lines.end(), texts.begin(), texts.end());
    TMyDatabase db("");
    db.LoadFromStrings(TLineList(lines));
    TIndexList expected;
    for (size_t r = 0; r < texts.size(); ++r) expected.emplace_back(texts[r], int32_t(r));
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
        return ReferenceCompareTyped(a.Text, b.Text) < 0;
    });
    ASSERT_EQ(db.Index(0).size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(db.Index(0)[i].Text, expected[i].Text) << i;
        EXPECT_EQ(db.Index(0)[i].Index, expected[i].Index) << i;
    }
    EXPECT_TRUE(capture.Boxes().empty());
}
