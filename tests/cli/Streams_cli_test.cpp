// Every subcommand as a script meets it: a good call and wrong ones, each with
// what lands on standard output, the lines on standard error and the exit
// status; the help of every subcommand in its three spellings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli_Run.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = KAVELIN_TEST_DATA;
const std::string kCountries = kData + "/tables/countries.db";
const std::string kPhoto = kData + "/pictures/photo.jpg";
const std::string kBrain = kData + "/brain/example.ini";
const std::string kIni = kData + "/ini/section_order.ini";
const std::string kSound = kData + "/sound/piece1000.wav";
// Any output but none.
const std::string kSomething = "\x01something";

struct TCase {
    std::vector<std::string> fArgs;
    int fStatus;
    std::string fOut;       // exactly, or kSomething
    int fErrLines;          // each "kavelin-cli: ..." and one line
    std::string fErrHas;    // a part of standard error ("" for none)
    std::string fEnv = "";  // more of the environment
};

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Columns of a UTF-8 line: its characters.
size_t Columns(const std::string& line) {
    return static_cast<size_t>(std::count_if(line.begin(), line.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Temp(const std::string& name) {
    return (fs::temp_directory_path() /
            ("kavelin_streams_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

}  // namespace

TEST(CliStreams, EverySubcommandKeepsItsStreamsAndItsStatus) {
    const std::string points = Temp("points.txt"), plot = Temp("plot.png");
    const std::string missing = Temp("missing");
    const std::vector<TCase> cases = {
        // The tool itself.
        {{}, 2, "", 1, "kavelin-cli: no subcommand given"},
        {{"frobnicate"}, 2, "", 1, "unknown subcommand 'frobnicate'"},
        {{"--frob", "real", "1"}, 2, "", 1, "unknown option '--frob'"},
        {{"--seed", "x", "real", "1"}, 2, "", 1, "--seed needs a whole number"},
        {{"help", "frobnicate"}, 2, "", 1, "unknown subcommand 'frobnicate'"},
        {{"--json", "real", "1"}, 2, "", 1, "kavelin-cli: real: --json is not available"},
        // text-distance
        {{"text-distance", "chat", "chien"}, 0, "44.4444444444444\n", 0, ""},
        {{"text-distance", "a"}, 2, "", 1, "kavelin-cli: text-distance: expects two texts"},
        {{"text-distance", "a", "b", "c"}, 2, "", 1, "expects two texts"},
        // check-type
        {{"check-type", " 12 ", "9"}, 0, "true\n", 0, ""},
        {{"check-type", "x", "54"}, 2, "", 1, "to 53 (neither country nor empty), not '54'"},
        {{"check-type", "x", "-1"}, 2, "", 1, "TYPE must be a number from 0 (integer)"},
        {{"check-type", "x", "1e1"}, 2, "", 1, "not '1e1'"},
        {{"check-type", "x"}, 2, "", 1, "expects TEXT TYPE"},
        // db
        {{"db", "search", kCountries, "Nom Pays", "FRANCE", "0"}, 0, "0\n2\n", 0, ""},
        {{"db", "search", kCountries, "Nom Pays", "FRANCE", "6"}, 2, "", 1, "5 contained in"},
        {{"db", "search", missing, "Nom", "x", "0"},
         1,
         "",
         1,
         "table '" + missing + "' does not exist"},
        {{"db", "search", kCountries, "Nom", "x", "0"},
         1,
         "",
         1,
         "impossible de trouver le champ Nom"},
        {{"db", "search", kCountries, "Nom Pays", "(", "2"}, 1, "", 1, "Error in regex"},
        {{"db", "find", kCountries, "Nom Pays", "x", "0"}, 2, "", 1, "expects the action search"},
        // ini
        {{"ini", "get", kIni, "alpha", "a"}, 0, "1\n", 0, ""},
        {{"ini", "dump", missing}, 1, "", 1, "file '" + missing + "' does not exist"},
        {{"ini", "dump", kPhoto}, 1, "", 1, "holds no section"},
        {{"ini", "list", kIni}, 2, "", 1, "unknown action 'list'"},
        // sat
        {{"sat", "generate", "3", "4", "1", "2"}, 0, kSomething, 0, ""},
        {{"sat", "generate", "3", "x", "1", "2"}, 2, "", 1, "kavelin-cli: sat: "},
        {{"sat"}, 2, "", 1, "kavelin-cli: sat: "},
        // genetic
        {{"--seed", "7", "genetic"}, 0, kSomething, 0, ""},
        {{"genetic", "--runs", "0"}, 2, "", 1, "--runs needs a whole number from 1 to 100000"},
        {{"genetic", "more"}, 2, "", 1, "unexpected argument 'more'"},
        // analyse
        {{"analyse", kPhoto, "--min", "5"}, 2, "", 1, "--min needs a whole number from 10"},
        {{"analyse", kPhoto, "--out", Temp("x.jpg")}, 2, "", 1, "must end in .png"},
        {{"analyse", kPhoto, "--frob"}, 2, "", 1, "unknown option '--frob'"},
        {{"analyse", missing}, 1, "", 1, "picture '" + missing + "' does not exist"},
        {{"analyse"}, 2, "", 1, "expects one picture file"},
        // points
        {{"points", kPhoto, points}, 0, "", 0, ""},
        {{"points", kPhoto, Temp("p.png")}, 2, "", 1, "must end in .txt"},
        {{"points", missing, points}, 1, "", 1, "picture '" + missing + "' does not exist"},
        {{"points", kPhoto}, 2, "", 1, "expects a picture file and DST.txt"},
        // brain
        {{"--seed", "5", "brain", kBrain}, 0, kSomething, 0, ""},
        {{"brain", missing}, 1, "", 1, "configuration file '" + missing + "' does not exist"},
        {{"brain"}, 2, "", 1, "expects one configuration FILE"},
        // split
        {{"split", "ab 12"}, 0, "0\t1\t4\t3\tab \n3\t4\t6\t2\t12\n", 0, ""},
        {{"split", "a", "b"}, 2, "", 1, "expects one TEXT"},
        // real
        {{"real", "2.5"}, 0, "2.5\n", 0, ""},
        {{"real", "1x"}, 2, "", 1, "'1x' is not a number"},
        // capture, with no sound server to reach
        {{"capture", Temp("piece.wav")},
         1,
         "",
         1,
         "the sound server cannot be reached",
         "PULSE_SERVER=unix:/nonexistent/kavelin"},
        {{"capture", Temp("piece.txt")}, 2, "", 1, "must end in .wav"},
        {{"capture"}, 2, "", 1, "expects one file name"},
        // plot
        {{"plot", kSound, plot}, 0, "Taille Stream : 1000\n", 0, ""},
        {{"plot", kSound, Temp("plot.jpg")}, 2, "", 1, "must end in .png, not"},
        {{"plot", missing, plot}, 1, "", 1, "sound file '" + missing + "' does not exist"},
        {{"plot", kSound, plot, "--width", "1"}, 2, "", 1, "--width needs a whole number from 2"},
    };
    for (const TCase& c : cases) {
        std::string call;
        for (const std::string& word : c.fArgs) call += " [" + word + "]";
        const TCliRun run = RunCliWords(c.fArgs, false, "LC_ALL=C LANG=C " + c.fEnv);
        EXPECT_EQ(run.fStatus, c.fStatus) << call << "\n" << run.fErr;
        if (c.fOut == kSomething) {
            EXPECT_NE(run.fOut, "") << call;
        } else {
            EXPECT_EQ(run.fOut, c.fOut) << call;
        }
        const std::vector<std::string> errors = LinesOf(run.fErr);
        EXPECT_EQ(static_cast<int>(errors.size()), c.fErrLines) << call << "\n" << run.fErr;
        for (const std::string& line : errors) {
            EXPECT_EQ(line.rfind("kavelin-cli: ", 0), 0u) << call << "\n" << line;
            // The engines' error banners stay out of both streams.
            EXPECT_EQ(line.find("*ERROR*"), std::string::npos) << call;
        }
        EXPECT_EQ(run.fOut.find("*******ERROR*******"), std::string::npos) << call;
        EXPECT_EQ(run.fOut.find("Warning : "), std::string::npos) << call;
        if (!c.fErrHas.empty()) {
            EXPECT_NE(run.fErr.find(c.fErrHas), std::string::npos) << call << "\n" << run.fErr;
        }
        // Nothing is written under a name that names another format.
        for (const std::string& word : c.fArgs) {
            if (c.fErrHas.rfind("must end in", 0) == 0 && word.rfind(Temp(""), 0) == 0) {
                EXPECT_FALSE(fs::exists(word)) << call;
            }
        }
    }
    for (const std::string& file : {points, plot}) fs::remove(file);
}

TEST(CliStreams, EverySubcommandHasItsHelpWithinEightyColumns) {
    const TCliRun general = RunCliWords({"--help"});
    ASSERT_EQ(general.fStatus, 0);
    EXPECT_EQ(general.fErr, "");
    EXPECT_EQ(RunCliWords({"help"}).fOut, general.fOut);
    EXPECT_EQ(RunCliWords({"-h"}).fOut, general.fOut);
    // The general help lists each subcommand on one line of its own.
    std::vector<std::string> names;
    bool listing = false;
    for (const std::string& line : LinesOf(general.fOut)) {
        EXPECT_LE(Columns(line), 80u) << line;
        if (line == "Subcommands:") {
            listing = true;
        } else if (listing && line.empty()) {
            listing = false;
        } else if (listing) {
            ASSERT_EQ(line.rfind("  ", 0), 0u) << "a subcommand's summary on two lines: " << line;
            ASSERT_NE(line[2], ' ') << "a subcommand's summary on two lines: " << line;
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"analyse", "brain", "capture", "check-type", "db",
                                               "genetic", "ini", "plot", "points", "real", "sat",
                                               "split", "text-distance"}));
    for (const char* status : {"0 done", "1 the work failed", "2 usage", "130 interrupted"})
        EXPECT_NE(general.fOut.find(status), std::string::npos) << status;

    for (const std::string& name : names) {
        const TCliRun help = RunCliWords({"help", name});
        EXPECT_EQ(help.fStatus, 0) << name;
        EXPECT_EQ(help.fErr, "") << name;
        EXPECT_EQ(help.fOut.rfind("Usage: kavelin-cli [OPTIONS] " + name, 0), 0u) << help.fOut;
        EXPECT_NE(help.fOut.find("Exit status:"), std::string::npos) << name;
        for (const std::string& line : LinesOf(help.fOut)) EXPECT_LE(Columns(line), 80u) << line;
        // Also after other arguments, as in "sat solve --help".
        for (const std::vector<std::string>& call : std::vector<std::vector<std::string>>{
                 {name, "--help"}, {name, "-h"}, {name, "x", "--help"}}) {
            const TCliRun same = RunCliWords(call);
            EXPECT_EQ(same.fStatus, 0) << name << " " << call.back();
            EXPECT_EQ(same.fOut, help.fOut) << name << " " << call.back();
        }
    }
    // The meanings of the kinds and of the types are where they are looked for.
    const std::string db = RunCliWords({"help", "db"}).fOut;
    for (const char* kind : {"0  whole match", "1  prefix", "2  regular expression",
                             "3  similarity", "4  contains", "5  contained in"})
        EXPECT_NE(db.find(kind), std::string::npos) << kind;
    const std::string types = RunCliWords({"check-type", "--help"}).fOut;
    for (const char* type : {" 0 integer", "23 country", "26 CIP code", "53 neither country"})
        EXPECT_NE(types.find(type), std::string::npos) << type;
}
