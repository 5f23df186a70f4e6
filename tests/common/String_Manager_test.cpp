#include "common/String_Manager_Unit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/Real_Format.h"
#include "common/Pattern_Matcher_Unit.h"
#include "support/Global_Guards.h"
#include "support/Trace_Capture.h"

using SM = TStringManager;

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

TEST(StringManager, TypeChecks) {
    for (const char* yes : {"0", "-12", "7", "123456789012345678"})
        EXPECT_TRUE(SM::IsInteger(yes)) << yes;
    for (const char* no :
         {"", "012", "+12", "-0", "1.0", " 1", "1234567890123456789", "-123456789012345678"})
        EXPECT_FALSE(SM::IsInteger(no)) << no;

    for (const char* yes : {"0,5", "-0.25", "3", "12,75", "0", "-7", "10.5"})
        EXPECT_TRUE(SM::IsReal(yes)) << yes;
    for (const char* no : {".5", "00.5", "1e3", "", "-", "1,", "1.2.3", "-0"})
        EXPECT_FALSE(SM::IsReal(no)) << no;

    EXPECT_TRUE(SM::IsDate("31/12/1999"));
    EXPECT_TRUE(SM::IsDate("99/13/0000"));  // the shape only
    EXPECT_FALSE(SM::IsDate("1/12/1999"));
    EXPECT_FALSE(SM::IsDate("31-12-1999"));

    EXPECT_TRUE(SM::IsDigits("0042"));
    EXPECT_FALSE(SM::IsDigits("4 2"));
    EXPECT_TRUE(SM::IsEmail("a@b.c"));
    EXPECT_FALSE(SM::IsEmail("a@b"));
    EXPECT_TRUE(SM::IsPhone("+33 1.23"));
    EXPECT_TRUE(SM::IsPhone("012345"));
    EXPECT_FALSE(SM::IsPhone("12345"));
    EXPECT_FALSE(SM::IsPhone("++123456"));
    EXPECT_TRUE(SM::IsFACode("FA12345"));
    EXPECT_FALSE(SM::IsFACode("FA1234"));
    EXPECT_FALSE(SM::IsFACode("fa12345"));
    EXPECT_TRUE(SM::IsAVCode("AV123"));
    EXPECT_TRUE(SM::IsAVCode("AV1234"));
    EXPECT_FALSE(SM::IsAVCode("AV12345"));
    EXPECT_TRUE(SM::IsDECode("DE12345"));
    EXPECT_FALSE(SM::IsDECode("DE123"));
    EXPECT_TRUE(SM::IsBoolean("true"));
    EXPECT_TRUE(SM::IsBoolean("false"));
    EXPECT_FALSE(SM::IsBoolean("True"));
    EXPECT_FALSE(SM::IsBoolean("truefalse"));
}

TEST(StringManager, CheckDigitCode) {
    // 1000010: sum 2*1 + 7*1 = 9, 9 mod 11 mod 10 = 9: the last digit must be 9.
    EXPECT_TRUE(SM::IsCheckDigitCode("1000019"));
    EXPECT_FALSE(SM::IsCheckDigitCode("1000010"));
    // 000020: 6*2 = 12, mod 11 = 1.
    EXPECT_TRUE(SM::IsCheckDigitCode("0000201"));
    EXPECT_FALSE(SM::IsCheckDigitCode("0000202"));
    // 5000000: 2*5 = 10, mod 11 = 10, mod 10 = 0.
    EXPECT_TRUE(SM::IsCheckDigitCode("5000000"));
    EXPECT_FALSE(SM::IsCheckDigitCode("500000"));
    // Surrounding blanks and control characters are removed first.
    EXPECT_TRUE(SM::IsCheckDigitCode(" \t5000000\r\n"));
    EXPECT_FALSE(SM::IsCheckDigitCode("5000 000"));
    EXPECT_FALSE(SM::IsCheckDigitCode("50000000"));
}

TEST(StringManager, MyStrCopyReportsEachBadPositionAndStillCopies) {
    TTraceCapture trace;
    EXPECT_EQ(SM::MyStrCopy("abcde", 2, 4), "bcd");
    EXPECT_TRUE(trace.Lines().empty());

    EXPECT_EQ(SM::MyStrCopy("abcde", 4, 2), "bcd");
    EXPECT_EQ(trace.Boxes(), (std::vector<std::string>{
                                 "*ERROR*String_Manager_Unit:TStringManager.MyStrCopy:FromPos 4 > "
                                 "ToPos : 2 in abcde"}));
    trace.Reset();

    EXPECT_EQ(SM::MyStrCopy("abcde", 0, 3), "abc");
    EXPECT_EQ(trace.Boxes(),
              (std::vector<std::string>{"*ERROR*String_Manager_Unit:TStringManager.MyStrCopy:null "
                                        "or negative param in abcde"}));
    trace.Reset();

    // Every report, in order: from beyond, from > to, (to within), non-positive.
    EXPECT_EQ(SM::MyStrCopy("abc", 9, -1), "abc");
    EXPECT_EQ(
        trace.Boxes(),
        (std::vector<std::string>{
            "*ERROR*String_Manager_Unit:TStringManager.MyStrCopy:Bad FromPos : 9 in abc",
            "*ERROR*String_Manager_Unit:TStringManager.MyStrCopy:FromPos 9 > ToPos : -1 in abc",
            "*ERROR*String_Manager_Unit:TStringManager.MyStrCopy:null or negative param in abc"}));
    trace.Reset();

    EXPECT_EQ(SM::MyStrCopy("abc", 2, 7), "bc");
    EXPECT_EQ(trace.Boxes(),
              (std::vector<std::string>{
                  "*ERROR*String_Manager_Unit:TStringManager.MyStrCopy:Bad ToPos : 7 "
                  "in abc"}));
    trace.Reset();
    EXPECT_EQ(SM::MyStrCopy("abc", 5, 6), "");
    EXPECT_EQ(SM::MyStrCopy("", 1, 1), "");
}

TEST(StringManager, MyStrToFloatFollowsTheDecimalSeparator) {
    TTraceCapture trace;
    {
        TSeparatorGuard comma(',');
        EXPECT_EQ(SM::MyStrToFloat("12.75"), 12.75L);
        EXPECT_EQ(SM::MyStrToFloat("-0,25"), -0.25L);
        EXPECT_EQ(SM::MyStrToFloat("1.5x"), 0);
        EXPECT_EQ(trace.Boxes().back(), "*ERROR*TStringManager.MyStrToFloat : 1,5x is not a real");
    }
    {
        TSeparatorGuard point('.');
        EXPECT_EQ(SM::MyStrToFloat("3,5"), 3.5L);
        EXPECT_EQ(SM::MyStrToFloat(".5"), 0);
        EXPECT_EQ(trace.Boxes().back(), "*ERROR*TStringManager.MyStrToFloat : .5 is not a real");
    }
    // Extended precision: 0.1 read as a long double, not as a double.
    EXPECT_EQ(SM::MyStrToFloat("0.1"), 0.1L);
}

TEST(StringManager, TextRoutines) {
    EXPECT_EQ(SM::DotToComma("1.2.3"), "1,2,3");
    EXPECT_EQ(SM::CommaToDot("1,2"), "1.2");
    EXPECT_EQ(SM::TrimChar("xxabxcxx", 'x'), "abxc");
    EXPECT_EQ(SM::TrimChar("xxx", 'x'), "");
    EXPECT_EQ(SM::TrimChar("", 'x'), "");
    EXPECT_EQ(SM::Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(SM::LowerCase("AbZ\xC9"), "abz\xC9");  // accented letters unchanged
    EXPECT_EQ(SM::UpperCase("az\xE9"), "AZ\xE9");

    const char* text = "a;b;;c";
    EXPECT_EQ(SM::GetField(text, 1, ';'), "a");
    EXPECT_EQ(SM::GetField(text, 2, ';'), "b");
    EXPECT_EQ(SM::GetField(text, 3, ';'), "");
    EXPECT_EQ(SM::GetField(text, 4, ';'), "c");
    EXPECT_EQ(SM::GetField(text, 5, ';'), "");
    EXPECT_EQ(SM::GetField(text, 0, ';'), "");
    EXPECT_EQ(SM::GetField(";x", 2, ';'), "x");
    EXPECT_EQ(SM::Printable(std::string("a\0b\t\x1F\x7F\xE9\\", 8)),
              "a\\x00b\\x09\\x1F\\x7F\xE9\\");
    // FirstFields is GetField of every field number at once.
    for (const std::string t : {"a;b;;c", "", ";", ";x;", "abc"})
        for (int32_t limit : {0, 1, 3, 6}) {
            const std::vector<std::string> fields = SM::FirstFields(t, limit, ';');
            ASSERT_EQ(fields.size(), size_t(limit));
            for (int32_t k = 0; k < limit; ++k)
                EXPECT_EQ(fields[size_t(k)], SM::GetField(t, k + 1, ';')) << t << " " << k;
        }
    EXPECT_EQ(SM::CountFields(text, ';'), 4);
    EXPECT_EQ(SM::CountFields("", ';'), 0);
    EXPECT_EQ(SM::CountFields(";", ';'), 2);

    EXPECT_TRUE(SM::SamePrefix("abc", "ab"));
    EXPECT_TRUE(SM::SamePrefix("ab", "abc"));
    EXPECT_FALSE(SM::SamePrefix("abc", "abd"));
    EXPECT_FALSE(SM::SamePrefix("", "abc"));
    EXPECT_FALSE(SM::SamePrefix("", ""));

    EXPECT_EQ(SM::MyPos("lo", "hello lo"), 4);
    EXPECT_EQ(SM::MyPos("h", "hello"), 1);
    EXPECT_EQ(SM::MyPos("z", "hello"), 0);
    EXPECT_EQ(SM::MyPos("", "hello"), 0);
}

TEST(StringManager, MatchRegexKeepsOneSharedMatcher) {
    EXPECT_TRUE(SM::MatchRegex("^FR.*$", "FRANCE"));
    EXPECT_FALSE(SM::MatchRegex("^FR.*$", "ALLEMAGNE"));
    EXPECT_TRUE(SM::MatchRegex("^AL", "ALLEMAGNE"));
    // An invalid pattern raises the compile error, every time it is asked for.
    EXPECT_THROW(SM::MatchRegex("^(", "x"), EPatternMatcherError);
    EXPECT_THROW(SM::MatchRegex("^(", "x"), EPatternMatcherError);
    EXPECT_THROW(SM::MatchRegex("", "x"), EPatternMatcherError);
    EXPECT_TRUE(SM::MatchRegex("x", "x"));
}

TEST(StringManager, CompareTypedOrdersByKind) {
    TSeparatorGuard comma(',');
    EXPECT_EQ(SM::CompareTyped("abc", "abc"), 0);
    // Integers by value.
    EXPECT_EQ(SM::CompareTyped("9", "10"), -1);
    EXPECT_EQ(SM::CompareTyped("-5", "-12"), 1);
    EXPECT_EQ(SM::CompareTyped("123456789012345678", "123456789012345677"), 1);
    // Reals by value, point or comma.
    EXPECT_EQ(SM::CompareTyped("2,5", "10"), -1);
    EXPECT_EQ(SM::CompareTyped("10", "2.5"), 1);
    EXPECT_EQ(SM::CompareTyped("2,5", "2.5"), 0);
    // Dates: year, then month, then day.
    EXPECT_EQ(SM::CompareTyped("31/12/1999", "01/01/2000"), -1);
    EXPECT_EQ(SM::CompareTyped("02/03/2020", "01/04/2020"), -1);
    EXPECT_EQ(SM::CompareTyped("15/06/2021", "14/06/2021"), 1);
    // Shaped like dates but no calendar day: compared without a crash, after the
    // valid dates of their year and month.
    EXPECT_EQ(SM::CompareTyped("01/13/2020", "31/12/2020"), 1);
    EXPECT_EQ(SM::CompareTyped("32/01/2020", "31/01/2020"), 1);
    EXPECT_EQ(SM::CompareTyped("00/00/0000", "99/99/9999"), -1);
    // Code families by their number.
    EXPECT_EQ(SM::CompareTyped("AV999", "AV1000"), -1);
    EXPECT_EQ(SM::CompareTyped("DE99999", "DE1000"), 1);
    EXPECT_EQ(SM::CompareTyped("FA00010", "FA00009"), 1);
    // Mixed families and other texts: ordinal, the raw byte difference.
    EXPECT_EQ(SM::CompareTyped("AV999", "DE1000"), 'A' - 'D');
    EXPECT_EQ(SM::CompareTyped("Z", "a"), 'Z' - 'a');
    EXPECT_EQ(SM::CompareTyped("abc", "ab"), 1);
    EXPECT_EQ(SM::CompareTyped("ab", "abcd"), -2);
    EXPECT_GT(SM::CompareTyped("\xE9", "z"), 0);  // bytes compare unsigned
    EXPECT_EQ(SM::CompareTyped("9", "x"), '9' - 'x');
}

TEST(StringManager, CompareTypedIsAnOrderOnDatesAndCodes) {
    // Antisymmetric and transitive on texts of one kind, invalid dates included.
    const std::vector<std::string> texts = {"01/01/2000", "31/12/1999", "00/13/1999",
                                            "99/99/1999", "15/06/2000", "15/06/0000",
                                            "AV100",      "AV1000",     "AV099"};
    for (const auto& a : texts)
        for (const auto& b : texts) {
            EXPECT_EQ(Sign(SM::CompareTyped(a, b)), -Sign(SM::CompareTyped(b, a))) << a << " " << b;
            for (const auto& c : texts) {
                if (SM::CompareTyped(a, b) < 0 && SM::CompareTyped(b, c) < 0) {
                    EXPECT_LT(SM::CompareTyped(a, c), 0) << a << " " << b << " " << c;
                }
            }
        }
}

TEST(StringManager, IniLineRoutines) {
    EXPECT_EQ(SM::ClassifyLine("[General Datas]"), "section");
    EXPECT_EQ(SM::ClassifyLine("  [ x ]\t"), "section");
    EXPECT_EQ(SM::ClassifyLine(";a=b"), "comment");
    EXPECT_EQ(SM::ClassifyLine(" ;a=b"), "keyvalue");
    EXPECT_EQ(SM::ClassifyLine("a = b"), "keyvalue");
    EXPECT_EQ(SM::ClassifyLine(""), "error");
    EXPECT_EQ(SM::ClassifyLine("   "), "error");
    EXPECT_EQ(SM::ClassifyLine("a="), "error");
    EXPECT_EQ(SM::ClassifyLine("[x] y"), "error");

    EXPECT_EQ(SM::SectionName("[  Clause 3 ]"), "Clause 3");
    EXPECT_EQ(SM::SectionName("[a] [b]"), "a] [b");
    EXPECT_EQ(SM::SectionName("a=b"), "");
    EXPECT_EQ(SM::KeyOf("  Nb Literals = 16 "), "Nb Literals");
    EXPECT_EQ(SM::ValueOf("  Nb Literals = 16 "), "16");
    EXPECT_EQ(SM::KeyOf("a=b=c"), "a=b");
    EXPECT_EQ(SM::ValueOf("a=b=c"), "c");
    EXPECT_EQ(SM::KeyOf("k\t=\tv\t"), "k\t");
    EXPECT_EQ(SM::ValueOf("k\t=\tv\t"), "v\t");
    EXPECT_EQ(SM::KeyOf("no pair"), "");
    EXPECT_EQ(SM::ValueOf("no pair"), "");

    const SM::TIniLine kv = SM::ParseIniLine("\t x = y ");
    EXPECT_EQ(kv.Kind, SM::TIniLineKind::KeyValue);
    EXPECT_EQ(kv.Name, "x");
    EXPECT_EQ(kv.Value, "y");
    const SM::TIniLine section = SM::ParseIniLine("[ a=b ]");
    EXPECT_EQ(section.Kind, SM::TIniLineKind::Section);
    EXPECT_EQ(section.Name, "a=b");

    // The kind is the first of the three patterns that the line matches, on
    // short lines of the characters that matter to them.
    TPatternMatcher patterns[3];
    const SM::TIniLineKind kinds[3] = {SM::TIniLineKind::Section, SM::TIniLineKind::Comment,
                                       SM::TIniLineKind::KeyValue};
    patterns[0].SetRegEx("^[ \\t]*\\[(.+)\\][ \\t]*$");
    patterns[1].SetRegEx("^\\;.*$");
    patterns[2].SetRegEx("^[ \\t]*(.+)[ \\t]*=[ \\t]*(.+)[ \\t]*$");
    std::mt19937 random(7);
    const std::string alphabet(" \t[];=a\n\r\x85\0 \t[]a", 16);
    for (int i = 0; i < 10000; ++i) {
        std::string line;
        for (size_t n = random() % 7; n > 0; --n) line += alphabet[random() % alphabet.size()];
        SM::TIniLineKind expected = SM::TIniLineKind::Error;
        for (int p = 2; p >= 0; --p) {
            patterns[p].SetSubject(line);
            if (patterns[p].Match()) expected = kinds[p];
        }
        EXPECT_EQ(SM::ParseIniLine(line).Kind, expected) << SM::Printable(line);
    }
}

TEST(ListOfPairOfStrings, KeepsKeysSortedAndUnique) {
    TTraceCapture trace;
    TListOfPairOfStrings list;
    EXPECT_FALSE(list.HasKey("a"));
    EXPECT_TRUE(trace.Lines().empty());
    EXPECT_EQ(list.getData("a"), "");
    EXPECT_EQ(trace.Lines(),
              (std::vector<std::string>{
                  "Warning : TListOfPairOfStrings.getData: parametre n'existe pas : a"}));
    trace.Reset();

    list.add("b", "2");
    list.add("a", "1");
    list.add("c", "3");
    list.add("B", "upper");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.KeyAt(0), "B");
    EXPECT_EQ(list.KeyAt(1), "a");
    EXPECT_EQ(list.KeyAt(2), "b");
    EXPECT_EQ(list.KeyAt(3), "c");
    EXPECT_EQ(list.getData("b"), "2");
    EXPECT_EQ(list.getData("B"), "upper");
    EXPECT_TRUE(trace.Lines().empty());

    list.add("a", "new");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.getData("a"), "new");
    EXPECT_EQ(trace.Boxes(), (std::vector<std::string>{
                                 "*ERROR*String_Manager_Unit:TListOfPairOfStrings.add:cl\xE9 deja "
                                 "existante : a"}));
    trace.Reset();

    list.add("", "x");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(trace.Boxes(),
              (std::vector<std::string>{
                  "*ERROR*String_Manager_Unit:TListOfPairOfStrings.add: cl\xE9 vide"}));
    trace.Reset();

    list.add("d", "");
    EXPECT_EQ(list.Count(), 5);
    EXPECT_TRUE(list.HasKey("d"));
    EXPECT_EQ(trace.Lines(),
              (std::vector<std::string>{
                  "Warning : String_Manager_Unit:TListOfPairOfStrings.add: data vide"}));
    EXPECT_TRUE(trace.Boxes().empty());
    // A prefix sorts before the longer key.
    list.add("bb", "x");
    EXPECT_EQ(list.KeyAt(3), "bb");
}

TEST(ListOfPairOfStrings, FindPosAgreesWithABinarySearchOnRandomLists) {
    TTraceCapture trace;  // keeps the duplicate reports out of the way
    std::mt19937 random(12345);
    const std::string alphabet = "aAbz\xE9";
    const auto randomKey = [&] {
        std::string key;
        const int length = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < length; ++i) key += alphabet[random() % alphabet.size()];
        return key;
    };
    for (int round = 0; round < 300; ++round) {
        TListOfPairOfStrings list;
        std::vector<std::string> keys;
        const int n = static_cast<int>(random() % 40);
        for (int i = 0; i < n; ++i) {
            const std::string key = randomKey();
            list.add(key, "v");
            if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
        }
        std::sort(keys.begin(), keys.end());
        ASSERT_EQ(list.Count(), static_cast<int>(keys.size()));
        for (int i = 0; i < list.Count(); ++i)
            ASSERT_EQ(list.KeyAt(i), keys[static_cast<size_t>(i)]);
        for (int probe = 0; probe < 20; ++probe) {
            const std::string key = randomKey();
            const auto expected = std::lower_bound(keys.begin(), keys.end(), key) - keys.begin();
            ASSERT_EQ(list.FindPos(key, 0, list.Count() - 1), expected) << key;
            ASSERT_EQ(list.HasKey(key), std::binary_search(keys.begin(), keys.end(), key));
        }
    }
}
