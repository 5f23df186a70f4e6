// The text distance: its known cases, and the fast matching against the literal
// one (Text_Distance_Reference.h) on exhaustive small inputs and thousands of random
// pairs, with exact equality of the kept links.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis/Text_Distance_Reference.h"
#include "analysis/Text_Distance_Unit.h"
#include "base/Real_Format.h"
#include "support/Global_Guards.h"
#include "support/Trace_Capture.h"

namespace {

namespace ref = text_distance_reference;

double Distance(const std::string& a, const std::string& b) {
    return TTextDistanceManager().Distance(a, b);
}

size_t Kept(const std::string& a, const std::string& b) {
    return TextDistanceChosenLinks(a, b).size();
}

TEST(TextDistance, KnownPairs) {
    // Empty texts.
    EXPECT_EQ(Distance("", ""), 100.0);
    EXPECT_EQ(Distance("", "abc"), 0.0);
    EXPECT_EQ(Distance("abc", ""), 0.0);
    // Identical texts of distinct characters.
    EXPECT_EQ(Distance("abc", "abc"), 100.0);
    // chat / chien: c and h.
    EXPECT_EQ(Kept("chat", "chien"), 2u);
    EXPECT_EQ(Distance("chat", "chien"), 400.0 / 9.0);
    // aa / a: both links have 2 conflicts, the first wins.
    const auto aa = TextDistanceChosenLinks("aa", "a");
    ASSERT_EQ(aa.size(), 1u);
    EXPECT_EQ(aa[0].Pos1, 1);
    EXPECT_EQ(aa[0].Pos2, 1);
    EXPECT_EQ(aa[0].Conflicts, 0);
    EXPECT_EQ(Distance("aa", "a"), 200.0 / 3.0);
    // ab / ba: the two links conflict; the first in list order, (1, 2), is kept.
    const auto ab = TextDistanceChosenLinks("ab", "ba");
    ASSERT_EQ(ab.size(), 1u);
    EXPECT_EQ(ab[0].Pos1, 1);
    EXPECT_EQ(ab[0].Pos2, 2);
    EXPECT_EQ(Distance("ab", "ba"), 50.0);
    // Case matters.
    EXPECT_EQ(Distance("A", "a"), 0.0);
    // The greedy matching keeps 2 where a common subsequence of 3 exists.
    EXPECT_EQ(Kept("cbaca", "acab"), 2u);
    EXPECT_EQ(Distance("cbaca", "acab"), 400.0 / 9.0);
    // The order of the texts matters.
    EXPECT_EQ(Distance("abcac", "babcc"), 80.0);
    EXPECT_EQ(Distance("babcc", "abcac"), 60.0);
    // One manager serves any number of comparisons.
    TTextDistanceManager manager;
    EXPECT_EQ(manager.Distance("chat", "chien"), 400.0 / 9.0);
    EXPECT_EQ(manager.Distance("abcac", "babcc"), 80.0);
    EXPECT_EQ(manager.Distance("", ""), 100.0);
}

TEST(TextDistance, BytesOfWindows1252) {
    // Accented letters are single bytes; each byte is one character.
    EXPECT_EQ(Distance("\xE9t\xE9", "\xE9t\xE9"), 100.0);  // "été"
    EXPECT_EQ(Distance("\xE9", "e"), 0.0);
    EXPECT_EQ(Distance("\xC9", "\xE9"), 0.0);              // É and é differ, as A and a do
    EXPECT_EQ(Distance("\xC3\xA9", "\xA9"), 200.0 / 3.0);  // UTF-8 bytes are just bytes
    // Bytes above 0x7F are not confused with their signed values, nor 0 with the end.
    EXPECT_EQ(Distance(std::string("\x00\xFF", 2), std::string("\xFF\x00", 2)), 50.0);
    EXPECT_EQ(Kept(std::string("a\x00"
                               "b",
                               3),
                   std::string("a\x00"
                               "b",
                               3)),
              3u);
}

TEST(TextDistance, ScoresInTheRealFormat) {
    const TSeparatorGuard separator(',');
    EXPECT_EQ(std::string("chat") + " - " + "chien" + " : " + FloatToStr(Distance("chat", "chien")),
              "chat - chien : 44,4444444444444");
    EXPECT_EQ(FloatToStr(Distance("aa", "a")), "66,6666666666667");
    EXPECT_EQ(std::string(" - ") + " : " + FloatToStr(Distance("", "")), " -  : 100");
    SetDecimalSeparator('.');
    EXPECT_EQ(FloatToStr(Distance("chat", "chien")), "44.4444444444444");
    EXPECT_EQ(FloatToStr(Distance("abcac", "babcc")), "80");
}

TEST(TextDistance, LongRepeatedTextsKeepEveryDiagonalLink) {
    // With one character repeated, the matching keeps min(m, n) links.
    EXPECT_EQ(Kept(std::string(300, 'x'), std::string(200, 'x')), 200u);
    EXPECT_EQ(Distance(std::string(250, 'x'), std::string(250, 'x')), 100.0);
}

// ---- differential tests against the literal algorithm ----

void ExpectSameAsLiteral(const std::string& a, const std::string& b) {
    const auto fast = TextDistanceChosenLinks(a, b);
    const auto literal = ref::ChosenLinks(a, b);
    ASSERT_EQ(fast.size(), literal.size()) << "A=\"" << a << "\" B=\"" << b << "\"";
    for (size_t k = 0; k < fast.size(); ++k) {
        ASSERT_EQ(fast[k].Pos1, literal[k].Pos1)
            << "link " << k << " A=\"" << a << "\" B=\"" << b << "\"";
        ASSERT_EQ(fast[k].Pos2, literal[k].Pos2)
            << "link " << k << " A=\"" << a << "\" B=\"" << b << "\"";
    }
    ASSERT_EQ(TTextDistanceManager().Distance(a, b), ref::Distance(a, b));
}

// Every text over `alphabet` of length 0 to maxLength.
std::vector<std::string> AllTexts(const std::string& alphabet, size_t maxLength) {
    std::vector<std::string> texts{""};
    size_t begin = 0;
    for (size_t length = 1; length <= maxLength; ++length) {
        const size_t end = texts.size();
        for (size_t k = begin; k < end; ++k)
            for (const char c : alphabet) texts.push_back(texts[k] + c);
        begin = end;
    }
    return texts;
}

TEST(TextDistanceDifferential, EveryPairOfShortTexts) {
    const auto two = AllTexts("ab", 6);  // 127 texts
    for (const auto& a : two)
        for (const auto& b : two) ExpectSameAsLiteral(a, b);
    const auto three = AllTexts("abc", 4);  // 121 texts
    for (const auto& a : three)
        for (const auto& b : three) ExpectSameAsLiteral(a, b);
}

class TTextMaker {
  public:
    explicit TTextMaker(uint32_t seed) : fEngine(seed) {}

    size_t Uniform(size_t low, size_t high) {
        return std::uniform_int_distribution<size_t>(low, high)(fEngine);
    }
    // `length` characters drawn uniformly from `alphabet`.
    std::string Text(size_t length, const std::string& alphabet) {
        std::string text;
        for (size_t k = 0; k < length; ++k) text += alphabet[Uniform(0, alphabet.size() - 1)];
        return text;
    }
    // Runs of one character, each 1 to maxRun long, up to `length` characters.
    std::string Runs(size_t length, const std::string& alphabet, size_t maxRun) {
        std::string text;
        while (text.size() < length) {
            const char c = alphabet[Uniform(0, alphabet.size() - 1)];
            text.append(std::min(Uniform(1, maxRun), length - text.size()), c);
        }
        return text;
    }
    // `text` with a few characters replaced, inserted or deleted.
    std::string Edited(std::string text, const std::string& alphabet, size_t edits) {
        for (size_t e = 0; e < edits; ++e) {
            const size_t kind = Uniform(0, 2);
            const char c = alphabet[Uniform(0, alphabet.size() - 1)];
            if (kind == 0 || text.empty())
                text.insert(text.begin() + static_cast<std::ptrdiff_t>(Uniform(0, text.size())), c);
            else if (kind == 1)
                text[Uniform(0, text.size() - 1)] = c;
            else
                text.erase(text.begin() + static_cast<std::ptrdiff_t>(Uniform(0, text.size() - 1)));
        }
        return text;
    }
    // The first `size` of a shuffled set of all 256 byte values.
    std::string Alphabet(size_t size) {
        std::string bytes;
        for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
        std::shuffle(bytes.begin(), bytes.end(), fEngine);
        return bytes.substr(0, size);
    }

  private:
    std::mt19937 fEngine;
};

const std::string kLetters = "abcdefghijklmnopqrstuvwxyz";
const std::string kFrench = "aeiouy\xE0\xE2\xE7\xE8\xE9\xEA\xEB\xEE\xEF\xF4\xF9\xFB\xC9\xC0 ";

TEST(TextDistanceDifferential, RandomPairs) {
    TTextMaker maker(20240601);
    int pairs = 0;
    auto check = [&](const std::string& a, const std::string& b) {
        ExpectSameAsLiteral(a, b);
        ++pairs;
    };
    // Short texts over small alphabets: ties everywhere.
    for (int k = 0; k < 2000; ++k) {
        const auto alphabet = maker.Alphabet(maker.Uniform(1, 5));
        check(maker.Text(maker.Uniform(0, 12), alphabet),
              maker.Text(maker.Uniform(0, 12), alphabet));
    }
    // Medium texts over letters.
    for (int k = 0; k < 1000; ++k) {
        const std::string alphabet = kLetters.substr(0, maker.Uniform(2, 26));
        check(maker.Text(maker.Uniform(0, 40), alphabet),
              maker.Text(maker.Uniform(0, 40), alphabet));
    }
    // Long texts over large alphabets of any bytes (accented ones, 0x80-0x9F, NUL).
    for (int k = 0; k < 300; ++k) {
        const auto alphabet = maker.Alphabet(maker.Uniform(40, 256));
        check(maker.Text(maker.Uniform(60, 200), alphabet),
              maker.Text(maker.Uniform(60, 200), alphabet));
    }
    // Long texts over a few letters: many links, many passes.
    for (int k = 0; k < 40; ++k) {
        const auto alphabet = maker.Alphabet(maker.Uniform(3, 6));
        check(maker.Text(maker.Uniform(30, 50), alphabet),
              maker.Text(maker.Uniform(30, 50), alphabet));
    }
    // Repeated characters: runs.
    for (int k = 0; k < 500; ++k) {
        const std::string alphabet = kLetters.substr(0, maker.Uniform(1, 4));
        check(maker.Runs(maker.Uniform(0, 30), alphabet, 8),
              maker.Runs(maker.Uniform(0, 30), alphabet, 8));
    }
    // French words with accented bytes, and one text an edit of the other.
    for (int k = 0; k < 500; ++k) {
        const std::string a = maker.Text(maker.Uniform(0, 40), kFrench);
        check(a, maker.Edited(a, kFrench, maker.Uniform(0, 6)));
    }
    // Empty against anything, both ways.
    for (int k = 0; k < 50; ++k) {
        const std::string a = maker.Text(maker.Uniform(0, 20), kLetters);
        check("", a);
        check(a, "");
    }
    // Both orders of the same pair.
    for (int k = 0; k < 300; ++k) {
        const std::string alphabet = kLetters.substr(0, maker.Uniform(2, 8));
        const std::string a = maker.Text(maker.Uniform(0, 25), alphabet);
        const std::string b = maker.Text(maker.Uniform(0, 25), alphabet);
        check(a, b);
        check(b, a);
    }
    EXPECT_EQ(pairs, 5040);
}

// ---- progress and stop ----

// Asks to stop at its n-th call (never when n is 0), and records every report.
class TStopAt : public TProgress {
  public:
    explicit TStopAt(int64_t n) : fStopAt(n) {}
    bool Report(int64_t done, int64_t total) override {
        fReports.push_back({done, total});
        return static_cast<int64_t>(fReports.size()) == fStopAt;
    }
    int64_t fStopAt;
    std::vector<std::pair<int64_t, int64_t>> fReports;
};

TEST(TextDistanceProgress, ReportsWithoutChangingTheScore) {
    TTraceCapture trace;
    TTextMaker maker(7);
    const std::string a = maker.Text(400, "abcd ");
    const std::string b = maker.Text(300, "abcd ");
    TStopAt never(0);
    const auto score = TTextDistanceManager().Distance(a, b, never);
    ASSERT_TRUE(score.has_value());
    EXPECT_EQ(*score, Distance(a, b));
    ASSERT_FALSE(never.fReports.empty());
    // Done never goes back nor beyond the total, which stays the same.
    for (size_t k = 1; k < never.fReports.size(); ++k) {
        EXPECT_GE(never.fReports[k].first, never.fReports[k - 1].first);
        EXPECT_EQ(never.fReports[k].second, never.fReports[0].second);
    }
    EXPECT_LE(never.fReports.back().first, never.fReports.back().second);
    EXPECT_TRUE(trace.Lines().empty());
}

TEST(TextDistanceProgress, StopsMidwayWithOneTraceLine) {
    TTraceCapture trace;
    TTextMaker maker(11);
    const std::string a = maker.Text(600, "abc");
    const std::string b = maker.Text(500, "abc");
    const double expected = Distance(a, b);
    TTextDistanceManager manager;
    for (const int64_t stopAt : {1, 2, 5, 40}) {
        trace.Reset();
        TStopAt stop(stopAt);
        EXPECT_FALSE(manager.Distance(a, b, stop).has_value()) << stopAt;
        // It stopped at the call that asked.
        EXPECT_EQ(static_cast<int64_t>(stop.fReports.size()), stopAt);
        EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Text distance interrupted"});
        EXPECT_TRUE(trace.Boxes().empty());
    }
    // The inputs are as they were and the manager serves the next comparison.
    trace.Reset();
    EXPECT_EQ(manager.Distance(a, b), expected);
    EXPECT_TRUE(trace.Lines().empty());
    // Short texts too can be stopped at their first report.
    TStopAt first(1);
    EXPECT_FALSE(manager.Distance("chat", "chien", first).has_value());
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Text distance interrupted"});
}

}  // namespace
