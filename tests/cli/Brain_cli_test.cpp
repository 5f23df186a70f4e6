// kavelin-cli split and kavelin-cli brain as a script uses them: UTF-8 at the
// terminal, tab-separated fields, the drawing order, repeatable runs with a seed,
// and the configuration's reports.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli_Run.h"

namespace {

const std::string kBrainData = std::string(KAVELIN_TEST_DATA) + "/brain/";

std::vector<std::vector<std::string>> Rows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t')) fields.push_back(cell);
        rows.push_back(fields);
    }
    return rows;
}

}  // namespace

TEST(BrainCli, SplitListsTheWordsOfOneText) {
    TCliRun run = RunCliWords({"split", "Prix: 12,50 \xE2\x82\xAC"});
    EXPECT_EQ(run.fStatus, 0);
    EXPECT_EQ(run.fOut,
              "0\t1\t5\t4\tPrix\n1\t5\t6\t1\t:\n0\t6\t7\t1\t \n3\t7\t9\t2\t12\n1\t9\t10\t1\t,\n"
              "3\t10\t12\t2\t50\n0\t12\t13\t1\t \n10\t13\t14\t1\t\xE2\x82\xAC\n");
    // Accented letters count one byte each, as in the data files.
    run = RunCliWords({"split", "\xC3\xA9t\xC3\xA9 1999!?"});
    EXPECT_EQ(run.fOut, "0\t1\t5\t4\t\xC3\xA9t\xC3\xA9 \n3\t5\t9\t4\t1999\n1\t9\t11\t2\t!?\n");
    // An argument that is not UTF-8 is taken as the code page's bytes; a byte the
    // code page leaves undefined comes back as the character it was given as.
    EXPECT_EQ(RunCliWords({"split", "\xE9t\xE9"}).fOut, "0\t1\t4\t3\t\xC3\xA9t\xC3\xA9\n");
    EXPECT_EQ(RunCliWords({"split", "a\u0081b"}).fOut,
              "0\t1\t2\t1\ta\n10\t2\t3\t1\t\xC2\x81\n0\t3\t4\t1\tb\n");
    EXPECT_EQ(RunCliWords({"split", ""}).fOut, "-1\t0\t0\t0\t\n");
    EXPECT_EQ(RunCliWords({"split"}).fStatus, 2);
    EXPECT_EQ(RunCliWords({"split", "a", "b"}).fStatus, 2);
}

TEST(BrainCli, BrainListsTheNeuronsInDrawingOrder) {
    const TCliRun run = RunCliWords({"--seed", "5", "brain", kBrainData + "example.ini"});
    EXPECT_EQ(run.fStatus, 0);
    const auto rows = Rows(run.fOut);
    ASSERT_EQ(rows.size(), 26u);
    std::string zones, ids;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 7u);
        zones += row[0];
        ids += row[1] + " ";
        for (int c = 2; c <= 4; ++c) {
            const double v = std::stod(row[size_t(c)]);
            EXPECT_GE(v, 0);
            EXPECT_LT(v, 100);
        }
    }
    EXPECT_EQ(zones, "22222222000000000011111333");
    EXPECT_EQ(ids, "16 17 18 19 20 21 22 23 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 24 25 26 ");
    // The same seed builds the same brain.
    EXPECT_EQ(RunCliWords({"--seed", "5", "brain", kBrainData + "example.ini"}).fOut, run.fOut);
    EXPECT_NE(RunCliWords({"--seed", "6", "brain", kBrainData + "example.ini"}).fOut, run.fOut);
}

TEST(BrainCli, AMissingConfigurationIsReportedAndFails) {
    const TCliRun run = RunCliWords({"brain", kBrainData + "none.ini"});
    EXPECT_EQ(run.fStatus, 1);
    EXPECT_EQ(run.fOut, "");
    EXPECT_EQ(run.fErr, "kavelin-cli: brain: configuration file '" + kBrainData +
                            "none.ini' does not exist\n");
    EXPECT_EQ(RunCliWords({"brain"}).fStatus, 2);
}
