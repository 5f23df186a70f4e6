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

// A golden dump holds what the INI reader reports as the trace window shows it.
// The tool prints the record on standard output and each report on standard
// error, one line each: an error block (banner, message, closing line) becomes
// its message, a warning stays whole.
struct TStreams {
    std::string fOut;
    std::string fErr;
};
TStreams StreamsOf(const std::string& golden) {
    TStreams streams;
    std::istringstream lines(golden);
    std::string line;
    while (std::getline(lines, line)) {
        if (line == "*******ERROR*******") {
            std::getline(lines, line);
            streams.fErr += "kavelin-cli: ini: " + line + "\n";
            std::getline(lines, line);  // the closing line
        } else if (line.rfind("Warning : ", 0) == 0) {
            streams.fErr += "kavelin-cli: ini: " + line + "\n";
        } else {
            streams.fOut += line + "\n";
        }
    }
    return streams;
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
        TStreams streams = StreamsOf(expected);
        // A file in which the reader finds no section at all is no INI file.
        if (expected.empty())
            streams.fErr = "kavelin-cli: ini: '" + entry.path().string() +
                           "' holds no section: it is no INI file\n";
        const TCliRun run = RunIni({"dump", entry.path().string()});
        EXPECT_EQ(run.fOut, streams.fOut) << name;
        EXPECT_EQ(run.fErr, streams.fErr) << name;
        // A reported error shows in the exit status.
        const bool reported =
            expected.empty() || expected.find("*******ERROR*******\n") != std::string::npos;
        EXPECT_EQ(run.fStatus, reported ? 1 : 0) << name;
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

    // The reports go to standard error alone, one line each, and nothing is printed.
    run = RunIni({"get", file, "zeta", "nothing"});
    EXPECT_EQ(run.fOut, "");
    EXPECT_EQ(run.fErr,
              "kavelin-cli: ini: Warning : TListOfPairOfStrings.getData: parametre n'existe pas : "
              "nothing\n"
              "kavelin-cli: ini: TIniManager.Get : [zeta]/nothing n'existe pas\n");
    EXPECT_EQ(run.fStatus, 1);

    // The duplicate key's report comes with the value.
    run = RunIni({"get", kIniData + "duplicate_keys.ini", "keys", "alpha"});
    EXPECT_EQ(run.fOut, "3\n");
    EXPECT_EQ(run.fErr.rfind("kavelin-cli: ini: String_Manager_Unit:", 0), 0u) << run.fErr;
    EXPECT_EQ(run.fStatus, 1);

    // A missing file is said once, before the reader looks for sections in it.
    const std::string missing = kIniData + "no_such_file.ini";
    for (const std::vector<std::string>& call :
         std::vector<std::vector<std::string>>{{"get", missing, "a", "b"}, {"dump", missing}}) {
        run = RunIni(call);
        EXPECT_EQ(run.fOut, "");
        EXPECT_EQ(run.fErr, "kavelin-cli: ini: file '" + missing + "' does not exist\n");
        EXPECT_EQ(run.fStatus, 1);
    }
    // A picture is no INI file.
    run = RunIni({"dump", std::string(KAVELIN_TEST_DATA) + "/pictures/photo.jpg"});
    EXPECT_EQ(run.fOut, "");
    EXPECT_EQ(run.fStatus, 1);
    EXPECT_NE(run.fErr.find("holds no section: it is no INI file"), std::string::npos) << run.fErr;
}

TEST(IniCli, BadArgumentsAreUsageErrors) {
    EXPECT_EQ(RunIni({}).fStatus, 2);
    EXPECT_EQ(RunIni({"get", "onlyfile"}).fStatus, 2);
    EXPECT_EQ(RunIni({"dump"}).fStatus, 2);
    const TCliRun run = RunIni({"list", "x"});
    EXPECT_EQ(run.fStatus, 2);
    EXPECT_NE(run.fErr.find("unknown action 'list'"), std::string::npos);
}
