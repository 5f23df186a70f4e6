#include "common/Pattern_Matcher_Unit.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(PatternMatcher, CompilesOnceAndKeepsTheCompiledPatternForTheSameText) {
    TPatternMatcher m;
    EXPECT_EQ(m.MatchFlags(), pmoNoEmptyMatch);
    m.SetRegEx("^a+$");
    m.Study();
    EXPECT_TRUE(m.Compiled());
    EXPECT_TRUE(m.Studied());
    m.SetRegEx("^a+$");  // same text: compiled and studied state survive
    EXPECT_TRUE(m.Compiled());
    EXPECT_TRUE(m.Studied());
    m.SetRegEx("^b+$");  // another text: compiled again at the next Match
    EXPECT_FALSE(m.Compiled());
    EXPECT_FALSE(m.Studied());
    m.SetSubject("bbb");
    EXPECT_TRUE(m.Match());
    EXPECT_TRUE(m.Compiled());
    EXPECT_FALSE(m.Studied());  // matched without study data

    // Options: a different set forgets the compiled pattern; the same set does not.
    m.SetOptions(pmoCaseLess);
    EXPECT_FALSE(m.Compiled());
    m.SetSubject("BBB");
    EXPECT_TRUE(m.Match());
    m.SetOptions(pmoCaseLess);
    EXPECT_TRUE(m.Compiled());
    m.SetOptions(0);
    EXPECT_FALSE(m.Match());
}

TEST(PatternMatcher, CompileAndStudyErrorsAreExceptionsWithTheirMessages) {
    TPatternMatcher m;
    try {
        m.Match();
        FAIL() << "an empty pattern must raise";
    } catch (const EPatternMatcherError& e) {
        EXPECT_STREQ(
            e.what(),
            "TPatternMatcher.Compile() - Please specify a regular expression in RegEx first");
    }
    EXPECT_THROW(m.Study(), EPatternMatcherError);

    m.SetRegEx("ab(c");
    std::string compileMessage;
    try {
        m.Compile();
    } catch (const EPatternMatcherError& e) {
        compileMessage = e.what();
    }
    EXPECT_EQ(compileMessage, "TPatternMatcher.Compile() - Error in regex at offset 4: missing )");
    EXPECT_FALSE(m.Compiled());
    // Match compiles first and raises the same message.
    m.SetSubject("abc");
    try {
        m.Match();
        FAIL();
    } catch (const EPatternMatcherError& e) {
        EXPECT_EQ(e.what(), compileMessage);
    }
}

TEST(PatternMatcher, EmptyMatchesAreRefused) {
    TPatternMatcher m;
    m.SetRegEx("^x*$");
    m.Study();
    m.SetSubject("");
    EXPECT_FALSE(m.Match());
    m.SetSubject("xx");
    EXPECT_TRUE(m.Match());
    EXPECT_EQ(m.Group(0), "xx");
    // A pattern that could match empty somewhere finds the first non-empty match.
    m.SetRegEx("y*");
    m.SetSubject("abyy");
    EXPECT_TRUE(m.Match());
    EXPECT_EQ(m.Group(0), "yy");
    EXPECT_EQ(m.GroupPosition(0), 3);
}

TEST(PatternMatcher, GroupsAreOneBasedAndMissingGroupsEmpty) {
    TPatternMatcher m;
    m.SetRegEx("^(a+)$|^(b+)$");
    m.Study();
    m.SetSubject("bbb");
    ASSERT_TRUE(m.Match());
    EXPECT_EQ(m.GroupCount(), 2);
    EXPECT_EQ(m.Group(0), "bbb");
    EXPECT_EQ(m.Group(1), "");
    EXPECT_EQ(m.GroupPosition(1), 0);
    EXPECT_EQ(m.Group(2), "bbb");
    EXPECT_EQ(m.GroupPosition(2), 1);
    EXPECT_EQ(m.GroupLength(2), 3);
    EXPECT_EQ(m.Group(5), "");
    EXPECT_THROW(m.Group(-1), EAssertionFailed);

    m.SetRegEx("=(.*)");
    m.SetSubject("key=value");
    ASSERT_TRUE(m.Match());
    EXPECT_EQ(m.GroupPosition(0), 4);
    EXPECT_EQ(m.GroupPosition(1), 5);
    EXPECT_EQ(m.Group(1), "value");
}

TEST(PatternMatcher, GroupsWithoutASuccessfulMatchFailCatchably) {
    TPatternMatcher m;
    m.SetRegEx("(a)");
    m.SetSubject("a");
    ASSERT_TRUE(m.Match());
    EXPECT_EQ(m.Group(1), "a");
    m.SetSubject("a");  // a new subject forgets the match
    EXPECT_FALSE(m.HasMatch());
    try {
        m.Group(1);
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "REQUIRE: There must be a successful match first");
    }
    EXPECT_THROW(m.GroupCount(), EAssertionFailed);
    m.SetSubject("b");
    EXPECT_FALSE(m.Match());
    EXPECT_THROW(m.Group(0), EAssertionFailed);
}

TEST(PatternMatcher, NewlinesOfEveryConventionEndALine) {
    TPatternMatcher m;
    m.SetRegEx("^b$");
    m.SetOptions(pmoMultiLine);
    for (const char* subject : {"a\nb", "a\r\nb", "a\rb"}) {
        m.SetSubject(subject);
        EXPECT_TRUE(m.Match()) << subject;
    }
    // Without multi-line, "$" still accepts one line end at the very end.
    TPatternMatcher single;
    single.SetRegEx("^b$");
    single.SetSubject("b\r\n");
    EXPECT_TRUE(single.Match());
    single.SetSubject("b\r\nc");
    EXPECT_FALSE(single.Match());
}

TEST(PatternMatcher, OnMatchIsCalledAfterEachSuccessfulMatch) {
    TPatternMatcher m;
    int calls = 0;
    m.OnMatch = [&](TPatternMatcher& sender) {
        EXPECT_EQ(&sender, &m);
        EXPECT_TRUE(sender.HasMatch());
        ++calls;
    };
    m.SetRegEx("z");
    m.SetSubject("zz");
    m.Match();
    m.SetSubject("a");
    m.Match();
    EXPECT_EQ(calls, 1);
}

TEST(PatternMatcher, CatastrophicBacktrackingEndsAsAFailedMatch) {
    TPatternMatcher m;
    m.SetRegEx("^(a+)+$");
    // 40 a's and a b: some 2^40 ways to split the run before failing.
    m.SetSubject(std::string(40, 'a') + "b");
    for (bool study : {false, true}) {
        if (study) m.Study();
        // Without the match limit this would run for hours: the test's time-out
        // catches that, and bench/ measures how soon the limit ends it.
        EXPECT_FALSE(m.Match());
        EXPECT_FALSE(m.HasMatch());
    }
    // The same pattern still matches where it can.
    m.SetSubject(std::string(40, 'a'));
    EXPECT_TRUE(m.Match());

    // Deep recursion (one level per repetition of a group) stops at the bound
    // instead of running off the stack.
    TPatternMatcher deep;
    deep.SetRegEx("^(?:a|b)*$");
    deep.Study();
    deep.SetSubject(std::string(1000000, 'a'));
    EXPECT_FALSE(deep.Match());
    deep.SetSubject(std::string(100, 'a'));
    EXPECT_TRUE(deep.Match());
}

TEST(PatternMatcher, MovingKeepsTheCompiledPattern) {
    TPatternMatcher a;
    a.SetRegEx("^(k)=(v)$");
    a.Study();
    TPatternMatcher b(std::move(a));
    EXPECT_TRUE(b.Studied());
    b.SetSubject("k=v");
    ASSERT_TRUE(b.Match());
    EXPECT_EQ(b.Group(2), "v");
    // The moved-from matcher holds nothing and can be used again.
    EXPECT_FALSE(a.Compiled());
    a.SetRegEx("x");
    a.SetSubject("x");
    EXPECT_TRUE(a.Match());

    TPatternMatcher c;
    c.SetRegEx("other");
    c.Study();
    c = std::move(b);
    c.SetSubject("k=v");
    EXPECT_TRUE(c.Match());
    EXPECT_EQ(c.RegEx(), "^(k)=(v)$");
}
