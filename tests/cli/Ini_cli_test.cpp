// kavelin-cli ini get / ini dump as a script uses them: the golden INI files under
// tests/data/ini, each with the expected standard output beside it (NAME.dump).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/Cli_Run.h"

namespace {

const std::string kIniData = std::string(KAVELIN_TEST_DATA) + "/ini/";

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TCliRun RunIni(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "ini");
    return RunCliWords(arguments);
}

}  // namespace

TEST(IniCli, DumpMatchesEveryGoldenFile) {
    int cases = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kIniData)) {
        if (entry.path().extension() != ".ini") continue;
        ++cases;
        const std::string name = entry.path().stem().string();
        std::filesystem::path expectedPath = entry.path();
        expectedPath.replace_extension(".dump");
        ASSERT_TRUE(std::filesystem::exists(expectedPath)) << "no expected dump for " << name;
        const std::string expected = ReadText(expectedPath.string());
        const TCliRun run = RunIni({"dump", entry.path().string()});
        EXPECT_EQ(run.fOut, expected) << name;
        // A reported error shows as trace lines, as a box on standard error, and
        // in the exit status.
        const bool reported = expected.find("*******ERROR*******\n") != std::string::npos;
        EXPECT_EQ(run.fStatus, reported ? 1 : 0) << name;
        EXPECT_EQ(run.fErr.find("*ERROR*") != std::string::npos, reported) << name;
    }
    EXPECT_GE(cases, 11);
}

TEST(IniCli, GetPrintsTheValueThenTheReports) {
    const std::string file = kIniData + "section_order.ini";
    TCliRun run = RunIni({"get", file, " ALPHA ", "a"});
    EXPECT_EQ(run.fOut, "1\n");
    EXPECT_EQ(run.fStatus, 0);
    EXPECT_EQ(run.fErr, "");

    // Accented texts: UTF-8 at the terminal, Windows-1252 inside.
    run =
        RunIni({"get", kIniData + "accents_and_empties.ini", "caf\xC3\xA9", "d\xC3\xA9j\xC3\xA0"});
    EXPECT_EQ(run.fOut, "\xC3\xA9t\xC3\xA9\n");
    EXPECT_EQ(run.fStatus, 0);

    // A file name is the system's bytes, whatever its letters.
    const std::filesystem::path accented = std::filesystem::temp_directory_path() /
                                           "kavelin_donn\xC3\xA9"
                                           "es.ini";
    std::filesystem::copy_file(file, accented, std::filesystem::copy_options::overwrite_existing);
    run = RunIni({"get", accented.string(), "alpha", "a"});
    std::filesystem::remove(accented);
    EXPECT_EQ(run.fOut, "1\n");
    EXPECT_EQ(run.fStatus, 0);

    run = RunIni({"get", file, "zeta", "nothing"});
    EXPECT_EQ(run.fOut,
              "Warning : TListOfPairOfStrings.getData: parametre n'existe pas : nothing\n"
              "*******ERROR*******\n"
              "TIniManager.Get : [zeta]/nothing n'existe pas\n"
              "*******************\n");
    EXPECT_EQ(run.fErr, "*ERROR*TIniManager.Get : [zeta]/nothing n'existe pas\n");
    EXPECT_EQ(run.fStatus, 1);

    // The duplicate key's report comes with the value.
    run = RunIni({"get", kIniData + "duplicate_keys.ini", "keys", "alpha"});
    EXPECT_EQ(run.fOut.rfind("3\n*******ERROR*******\n", 0), 0u) << run.fOut;
    EXPECT_EQ(run.fStatus, 1);

    const std::string missing = kIniData + "no_such_file.ini";
    run = RunIni({"get", missing, "a", "b"});
    EXPECT_EQ(run.fOut,
              "*******ERROR*******\n"
              "Ini_Manager_Unit:LoadFromFile:Bad filename : " +
                  missing +
                  "\n"
                  "*******************\n"
                  "*******ERROR*******\n"
                  "Ini_Manager_Unit:TIniManager.Get:Pas de sections\n"
                  "*******************\n");
    EXPECT_EQ(run.fStatus, 1);
}

TEST(IniCli, BadArgumentsAreUsageErrors) {
    EXPECT_EQ(RunIni({}).fStatus, 2);
    EXPECT_EQ(RunIni({"get", "onlyfile"}).fStatus, 2);
    EXPECT_EQ(RunIni({"dump"}).fStatus, 2);
    const TCliRun run = RunIni({"list", "x"});
    EXPECT_EQ(run.fStatus, 2);
    EXPECT_NE(run.fErr.find("unknown action 'list'"), std::string::npos);
}
