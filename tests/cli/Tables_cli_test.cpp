// kavelin-cli db search and check-type as a user runs them.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <string>

namespace {

struct TRun {
    std::string fOut;
    int fStatus = -1;
};

TRun RunTool(const std::string& arguments) {
    const std::string command = std::string(KAVELIN_CLI) + " " + arguments + " 2>&1";
    TRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer{};
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.fOut.append(buffer.data(), got);
    const int status = pclose(pipe);
    run.fStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

const std::string kCountries = std::string(KAVELIN_TEST_DATA) + "/tables/countries.db";

}  // namespace

TEST(TablesCli, SearchPrintsRecordNumbersInResultOrder) {
    EXPECT_EQ(RunTool("db search " + kCountries + " 'Nom Pays' FRANCE 0").fOut, "0\n2\n");
    EXPECT_EQ(RunTool("db search " + kCountries + " 'Nom Pays' FRAN 1").fOut, "0\n2\n");
    EXPECT_EQ(RunTool("db search " + kCountries + " 'Nom Pays' 'LA FRANCE' 5").fOut, "3\n0\n2\n");
    const TRun similar = RunTool("db search " + kCountries + " 'Nom Pays' FRANCE 3");
    EXPECT_EQ(similar.fStatus, 0);
    EXPECT_EQ(similar.fOut.substr(0, 2), "2\n");  // of the two equal scores, the later entry first
    // A kind beyond 5 is a usage error that names the six kinds.
    const TRun beyond = RunTool("db search " + kCountries + " 'Nom Pays' FRANCE 9");
    EXPECT_EQ(beyond.fStatus, 2);
    EXPECT_NE(beyond.fOut.find("0 whole match, 1 prefix, 2 regular expression, 3 similarity, "
                               "4 contains, 5 contained in), not '9'"),
              std::string::npos)
        << beyond.fOut;
    // The real table of countries, in capitals.
    EXPECT_EQ(RunTool("db search Data/ListePays.db 'Nom Pays' FRANCE 0").fStatus, 0);
    EXPECT_NE(RunTool("db search Data/ListePays.db 'Nom Pays' FRANCE 0").fOut, "");
}

TEST(TablesCli, SearchReportsUnknownFieldsBadPatternsAndUsage) {
    const TRun unknown = RunTool("db search " + kCountries + " Pays FRANCE 0");
    EXPECT_EQ(unknown.fStatus, 1);
    EXPECT_NE(unknown.fOut.find("TMyDatabase.GetFieldPos:impossible de trouver le champ Pays"),
              std::string::npos);
    const TRun bad = RunTool("db search " + kCountries + " 'Nom Pays' '(' 2");
    EXPECT_EQ(bad.fStatus, 1);
    EXPECT_NE(bad.fOut.find("TPatternMatcher.Compile() - Error in regex"), std::string::npos);
    EXPECT_EQ(RunTool("db search " + kCountries + " 'Nom Pays' x 256").fStatus, 2);
    EXPECT_EQ(RunTool("db find " + kCountries + " 'Nom Pays' x 0").fStatus, 2);
}

TEST(TablesCli, CheckTypePrintsTrueOrFalse) {
    EXPECT_EQ(RunTool("check-type ' 12 ' 9").fOut, "true\n");
    EXPECT_EQ(RunTool("check-type -0 0").fOut, "false\n");
    EXPECT_EQ(RunTool("check-type '' 5").fOut, "true\n");
    EXPECT_EQ(RunTool("check-type 3400935 26").fOut, "true\n");
    EXPECT_EQ(RunTool("check-type france 23").fOut, "true\n");
    EXPECT_EQ(RunTool("check-type ALLEMAGNE 53").fOut, "false\n");
    EXPECT_EQ(RunTool("check-type 'Alg\xC3\xA9rie' 23").fOut,
              "false\n");  // the accent stays lower case
    EXPECT_EQ(RunTool("check-type 'ALG\xC3\x89RIE' 23").fOut, "true\n");
    // Type 54 is no check: a usage error naming the range's ends.
    const TRun beyond = RunTool("check-type x 54");
    EXPECT_EQ(beyond.fStatus, 2);
    EXPECT_EQ(beyond.fOut,
              "kavelin-cli: check-type: TYPE must be a number from 0 (integer) to 53 (neither "
              "country nor empty), not '54' (see kavelin-cli help check-type)\n");
    EXPECT_EQ(RunTool("check-type x").fStatus, 2);
    EXPECT_EQ(RunTool("check-type x -1").fStatus, 2);
}
