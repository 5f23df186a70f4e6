// The text distance: its known cases, and the fast matching against the literal
// one (Text_Distance_Reference.h) on exhaustive small inputs and thousands of random
// pairs, and against the scan of every link in play on texts of thousands of
// characters, with exact equality of the kept links; its progress and its stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis/Text_Distance_Reference.h"
#include "analysis/Text_Distance_Unit.h"
#include "base/Real_Format.h"
#include "solvers/Progress_Stop.h"
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

void ExpectSameLinks(const std::vector<TLink>& fast, const std::vector<TLink>& expected,
                     const std::string& a, const std::string& b) {
    const auto shown = [&] {
        return a.size() + b.size() > 200
                   ? "lengths " + std::to_string(a.size()) + ", " + std::to_string(b.size())
                   : "A=\"" + a + "\" B=\"" + b + "\"";
    };
    ASSERT_EQ(fast.size(), expected.size()) << shown();
    for (size_t k = 0; k < fast.size(); ++k) {
        ASSERT_EQ(fast[k].Pos1, expected[k].Pos1) << "link " << k << " " << shown();
        ASSERT_EQ(fast[k].Pos2, expected[k].Pos2) << "link " << k << " " << shown();
    }
}

// The fast matching both ways: with a number kept per link, and computing it each
// time (as for texts with too many links to keep).
std::vector<TLink> ComputedEachTime(const std::string& a, const std::string& b) {
    return *TextDistanceChosenLinks(a, b, NoProgress(), 0);
}

void ExpectSameAsLiteral(const std::string& a, const std::string& b) {
    const auto literal = ref::ChosenLinks(a, b);
    ExpectSameLinks(TextDistanceChosenLinks(a, b), literal, a, b);
    ExpectSameLinks(ComputedEachTime(a, b), literal, a, b);
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
    std::string Prose(size_t length) { return ref::ProseLike(length, fEngine); }
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

TEST(TextDistanceDifferential, ScanReferenceAgreesWithTheLiteralOne) {
    TTextMaker maker(31);
    for (int k = 0; k < 400; ++k) {
        const auto alphabet = maker.Alphabet(maker.Uniform(1, 6));
        const std::string a = maker.Text(maker.Uniform(0, 30), alphabet);
        const std::string b = maker.Text(maker.Uniform(0, 30), alphabet);
        ExpectSameLinks(ref::ScanChosenLinks(a, b), ref::ChosenLinks(a, b), a, b);
    }
}

// Thousands of characters: many boxes, letters and passes, counts far beyond
// 32 bits for the repeated letters.
TEST(TextDistanceDifferential, LongTexts) {
    TTextMaker maker(2026);
    auto check = [](const std::string& a, const std::string& b) {
        const auto scan = ref::ScanChosenLinks(a, b);
        ExpectSameLinks(TextDistanceChosenLinks(a, b), scan, a, b);
        ExpectSameLinks(ComputedEachTime(a, b), scan, a, b);
    };
    // Prose-like texts, both orders.
    const std::string prose1 = maker.Prose(1600);
    const std::string prose2 = maker.Prose(1500);
    check(prose1, prose2);
    check(prose2, prose1);
    // One text an edit of the other: long diagonals of ties.
    check(prose1, maker.Edited(prose1, kLetters + " ", 60));
    // Four letters, two letters.
    check(maker.Text(800, "acgt"), maker.Text(900, "acgt"));
    check(maker.Text(400, "ab"), maker.Text(380, "ab"));
    // Runs of repeated letters, and one repeated letter.
    check(maker.Runs(1000, "abc", 40), maker.Runs(900, "abc", 40));
    check(std::string(300, 'x'), std::string(260, 'x'));
    // Any bytes, over a large alphabet.
    const auto bytes = maker.Alphabet(200);
    check(maker.Text(1200, bytes), maker.Text(1200, bytes));
}

TEST(TextDistance, LongRepeatedLetterTooManyLinksToKeep) {
    // 45.5 million links: no number is kept per link, and the counts pass 2^38.
    const auto chosen = TextDistanceChosenLinks(std::string(7000, 'a'), std::string(6500, 'a'));
    ASSERT_EQ(chosen.size(), 6500u);
    // The first links alternate between the two ends, as the literal pass keeps them.
    EXPECT_EQ(chosen[0].Pos1, 1);
    EXPECT_EQ(chosen[0].Pos2, 1);
    EXPECT_EQ(chosen[1].Pos1, 7000);
    EXPECT_EQ(chosen[1].Pos2, 6500);
    EXPECT_EQ(chosen[2].Pos1, 2);
    EXPECT_EQ(chosen[2].Pos2, 2);
    EXPECT_EQ(Distance(std::string(7000, 'a'), std::string(7000, 'a')), 100.0);
}

// ---- progress and stop ----

TEST(TextDistanceProgress, ReportsWithoutChangingTheScore) {
    TTraceCapture trace;
    TTextMaker maker(7);
    const std::string a = maker.Text(400, "abcd ");
    const std::string b = maker.Text(300, "abcd ");
    TStopAtCall never(0);
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
        TStopAtCall stop(stopAt);
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
    TStopAtCall first(1);
    EXPECT_FALSE(manager.Distance("chat", "chien", first).has_value());
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Text distance interrupted"});
}

}  // namespace
