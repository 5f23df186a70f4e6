// DIMACS CNF: reading the classic layout, the refusals with their line numbers,
// and the round trips through DIMACS and constraint text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Ini_Manager_Unit.h"
#include "common/Random_Source.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/Sat_Reference.h"
#include "support/Trace_Capture.h"

namespace {

std::string DataFile(const std::string& name) {
    return std::string(KAVELIN_TEST_DATA) + "/sat/" + name;
}

TLineList FileLines(const std::string& name) {
    TLineList lines;
    lines.LoadFromFile(DataFile(name));
    return lines;
}

}  // namespace

TEST(DimacsRead, ClassicLayoutGivesTheEquivalentConstraintText) {
    TTraceCapture capture;
    TSatProblem problem;
    ASSERT_TRUE(ReadDimacs(FileLines("classic.cnf"), "classic.cnf", problem));
    EXPECT_EQ(problem.VariableCount, 5);
    EXPECT_EQ(problem.Clauses,
              (std::vector<TClause>{{1, -5, 4}, {-1, 5, 3, 4}, {-3, -4}, {2, -3}}));
    EXPECT_EQ(ConstraintLines(problem), FileLines("classic.txt").Lines());
    EXPECT_TRUE(capture.Boxes().empty());

    // An empty clause is a lone 0; no clause at all is a header alone.
    ASSERT_TRUE(ReadDimacs(TLineList({"p cnf 2 2", "0 1 -2 0"}), "inline", problem));
    EXPECT_EQ(problem.Clauses, (std::vector<TClause>{{}, {1, -2}}));
    ASSERT_TRUE(ReadDimacs(TLineList({"p cnf 0 0"}), "inline", problem));
    EXPECT_EQ(problem, (TSatProblem{0, {}}));
}

TEST(DimacsRead, MalformedFilesAreRefusedWithTheirLineAndChangeNothing) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"beyond_variables.cnf", " line 4: literal 6 beyond the 5 variables of the header"},
        {"no_header.cnf", " line 2: clause before the \"p cnf\" header"},
        {"bad_token.cnf", " line 2: \"x2\" is not a literal"},
        {"clause_count.cnf", " line 1: the header declares 3 clauses, the file holds 2"},
        {"unterminated.cnf", " line 3: the last clause is not ended by 0"},
        {"short_header.cnf", " line 1: the header must read \"p cnf VARIABLES CLAUSES\""},
    };
    for (const auto& [name, message] : cases) {
        TTraceCapture capture;
        TSatProblem problem{2, {{1}}};
        EXPECT_FALSE(ReadDimacs(FileLines(name), name, problem)) << name;
        EXPECT_EQ(capture.Boxes(),
                  std::vector<std::string>{"*ERROR*Dimacs_Unit:ReadDimacs:" + name + message});
        EXPECT_EQ(problem, (TSatProblem{2, {{1}}}));
    }
    TTraceCapture capture;
    TSatProblem problem;
    EXPECT_FALSE(ReadDimacs(TLineList({"c only", "", "c comments"}), "empty", problem));
    EXPECT_FALSE(ReadDimacs(TLineList({"p cnf 2 1", "p cnf 2 1", "1 0"}), "twice", problem));
    EXPECT_FALSE(ReadDimacs(TLineList({"p cnf 1000001 0"}), "huge", problem));
    EXPECT_FALSE(ReadDimacs(TLineList({"p cnf 3 1", "1 -2147483648 0"}), "lowest", problem));
    EXPECT_FALSE(
        ReadDimacs(TLineList({"p cnf 3 1", std::string("1 2\0\x1F\x7F 0", 9)}), "nul", problem));
    EXPECT_EQ(
        capture.Boxes(),
        (std::vector<std::string>{
            "*ERROR*Dimacs_Unit:ReadDimacs:empty: no \"p cnf\" header",
            "*ERROR*Dimacs_Unit:ReadDimacs:twice line 2: second header, the first is on line 1",
            "*ERROR*Dimacs_Unit:ReadDimacs:huge line 1: 1000001 variables, more than 1000000",
            "*ERROR*Dimacs_Unit:ReadDimacs:lowest line 2: literal -2147483648 beyond the 3 "
            "variables of the header",
            "*ERROR*Dimacs_Unit:ReadDimacs:nul line 2: \"2\\x00\\x1F\\x7F\" is not a literal"}));
}

TEST(DimacsWrite, RandomProblemsRoundTripThroughDimacsAndConstraintText) {
    TTraceCapture capture;
    EXPECT_EQ(DimacsLines(TSatProblem{3, {{1, -3}, {}}}),
              (std::vector<std::string>{"p cnf 3 2", "1 -3 0", "0"}));
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        RandomSeed(seed);
        const TSatProblem problem = RandomSatProblem(1 + RandomInt(40), 1 + RandomInt(30), 0, 12);
        TSatProblem dimacs;
        ASSERT_TRUE(ReadDimacs(TLineList(DimacsLines(problem)), "written", dimacs));
        EXPECT_EQ(dimacs, problem);
        TSatProblem constraints;
        ASSERT_EQ(ReadConstraints(TIniManager(TLineList(ConstraintLines(problem))), constraints),
                  TConstraintRead::Read);
        EXPECT_EQ(constraints, problem);
    }
    EXPECT_TRUE(IsDimacsFileName("uf20-01.CNF"));
    EXPECT_FALSE(IsDimacsFileName("problem.txt"));
    EXPECT_FALSE(IsDimacsFileName("cnf"));
    EXPECT_TRUE(capture.Boxes().empty());
}
