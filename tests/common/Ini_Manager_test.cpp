#include "common/Ini_Manager_Unit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/File_Io.h"
#include "support/Trace_Capture.h"

namespace {

const std::string kError = "*******ERROR*******";
const std::string kErrorEnd = "*******************";

TLineList Lines(std::vector<std::string> lines) {
    return TLineList(std::move(lines));
}

std::vector<std::string> ErrorLines(const std::string& text) {
    return {kError, text, kErrorEnd};
}

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("kavelin_ini_test_" + name)).string();
}

}  // namespace

TEST(IniManager, ReadsSectionsAndFindsThemByLowerCasedTrimmedName) {
    TTraceCapture trace;
    const TIniManager ini(
        Lines({"; a comment", "[General Datas]", "Clause Number=2", "  Total Literal Number = 3  ",
               "[Clause 3]", "Nb Literals=12", "Literal0=-1", "", "[ZZZ]", "k=v"}));
    EXPECT_TRUE(trace.Lines().empty());
    EXPECT_EQ(ini.SectionCount(), 3);
    EXPECT_EQ(ini.Get("general datas", "Clause Number"), "2");
    EXPECT_EQ(ini.Get("  GENERAL DATAS\t", "Total Literal Number"), "3");
    EXPECT_EQ(ini.Get("clause 3", "Nb Literals"), "12");
    EXPECT_TRUE(ini.KeyExists(" CLAUSE 3 ", "Literal0"));
    EXPECT_FALSE(ini.KeyExists("Clause 3", "literal0"));  // keys are exact
    EXPECT_FALSE(ini.KeyExists("Clause 4", "Literal0"));
    EXPECT_EQ(ini.GetInt("Clause 3", "Literal0"), -1);
    EXPECT_EQ(ini.GetIntStrict("Clause 3", "Nb Literals"), 12);
    EXPECT_TRUE(trace.Lines().empty());

    // The list is sorted by the match names.
    ASSERT_EQ(ini.Sections().size(), 3u);
    EXPECT_EQ(ini.Sections()[0]->Name(), "Clause 3");
    EXPECT_EQ(ini.Sections()[1]->Name(), "General Datas");
    EXPECT_EQ(ini.Sections()[2]->Name(), "ZZZ");
}

TEST(IniManager, MissingSectionsAndKeysAreReportedAndGiveNeutralValues) {
    TTraceCapture trace;
    const TIniManager ini(
        Lines({"[S]", "twelve=12", "zero=0", "lead=012", "plus=+12", "real=12.0", "big=2147483648",
               "small=-2147483648", "huge=123456789012345678"}));
    EXPECT_EQ(ini.Get("S", "nope"), "");
    EXPECT_EQ(trace.Lines(),
              (std::vector<std::string>{
                  "Warning : TListOfPairOfStrings.getData: parametre n'existe pas : nope", kError,
                  "TIniManager.Get : [S]/nope n'existe pas", kErrorEnd}));
    trace.Reset();
    EXPECT_EQ(ini.Get("T", "twelve"), "");  // missing section: no pair-list warning
    EXPECT_EQ(trace.Lines(), ErrorLines("TIniManager.Get : [T]/twelve n'existe pas"));
    EXPECT_EQ(trace.Boxes(),
              (std::vector<std::string>{"*ERROR*TIniManager.Get : [T]/twelve n'existe pas"}));
    trace.Reset();

    EXPECT_EQ(ini.GetInt("S", "twelve"), 12);
    EXPECT_EQ(ini.GetInt("S", "zero"), 0);
    EXPECT_EQ(ini.GetInt("S", "small"), INT32_MIN);
    EXPECT_TRUE(trace.Lines().empty());
    for (const char* key : {"lead", "plus", "real", "big", "huge"}) {
        trace.Reset();
        EXPECT_EQ(ini.GetInt("S", key), 0) << key;
        // Outside the 32-bit range is reported like any other non-integer.
        EXPECT_EQ(
            trace.Lines(),
            ErrorLines(std::string("Ini_Manager_Unit:TIniManager:GetInt:Can't Find S ") + key));
    }
    trace.Reset();
    EXPECT_EQ(ini.GetInt("S", "nope"), 0);
    EXPECT_EQ(trace.Boxes(), (std::vector<std::string>{
                                 "*ERROR*TIniManager.Get : [S]/nope n'existe pas",
                                 "*ERROR*Ini_Manager_Unit:TIniManager:GetInt:Can't Find S nope"}));

    // GetIntStrict of a missing key: -1 and its own message only.
    trace.Reset();
    EXPECT_EQ(ini.GetIntStrict("S", "nope"), -1);
    EXPECT_EQ(trace.Lines(),
              ErrorLines("TIniManager.GetIntStrict : [section][key] inexistant : S - nope"));
    trace.Reset();
    EXPECT_EQ(ini.GetIntStrict("S", "plus"), 0);  // exists, not an integer: GetInt's reports
    EXPECT_EQ(trace.Boxes().size(), 1u);
}

TEST(IniManager, FailedLoadsLeaveNoSectionListAndEmptyTextsAnEmptyOne) {
    TTraceCapture trace;
    const TIniManager none(Lines({}));
    EXPECT_EQ(trace.Lines(), ErrorLines("Ini_Manager_Unit:LoadFromStrings:Strings vide"));
    EXPECT_FALSE(none.HasSectionList());
    EXPECT_EQ(none.SectionCount(), 0);
    EXPECT_FALSE(none.KeyExists("a", "b"));
    trace.Reset();
    EXPECT_EQ(none.Get("a", "b"), "");
    EXPECT_EQ(trace.Lines(), ErrorLines("Ini_Manager_Unit:TIniManager.Get:Pas de sections"));

    // Only comments, blank lines and pairs without a header: a list, but empty.
    trace.Reset();
    const TIniManager empty(Lines({"; c", "", "k=v", "   "}));
    EXPECT_TRUE(trace.Lines().empty());
    EXPECT_TRUE(empty.HasSectionList());
    EXPECT_EQ(empty.SectionCount(), 0);
    EXPECT_EQ(empty.Get("a", "k"), "");
    EXPECT_EQ(trace.Lines(), ErrorLines("TIniManager.Get : [a]/k n'existe pas"));

    trace.Reset();
    const TIniManager missing(TempPath("does_not_exist.ini"));
    EXPECT_EQ(trace.Lines(), ErrorLines("Ini_Manager_Unit:LoadFromFile:Bad filename : " +
                                        TempPath("does_not_exist.ini")));
    EXPECT_FALSE(missing.HasSectionList());

    // A folder is no file.
    trace.Reset();
    const std::string folder = std::filesystem::temp_directory_path().string();
    const TIniManager directory(folder);
    EXPECT_EQ(trace.Lines(), ErrorLines("Ini_Manager_Unit:LoadFromFile:Bad filename : " + folder));

    trace.Reset();
    const std::string emptyFile = TempPath("empty.ini");
    WriteFileAtomically(emptyFile, "");
    const TIniManager fromEmptyFile(emptyFile);
    EXPECT_EQ(trace.Lines(), ErrorLines("Ini_Manager_Unit:LoadFromFile:Fichier ini vide"));
    EXPECT_FALSE(fromEmptyFile.HasSectionList());
    std::remove(emptyFile.c_str());
}

TEST(IniManager, LineShapesFromFiles) {
    TTraceCapture trace;
    const std::string file = TempPath("shapes.ini");
    // Byte-order mark, CR-only line ends, a duplicate key, an unnamed section.
    WriteFileAtomically(file,
                        "\xEF\xBB\xBF[First]\rk=1\rk=2\r[ ]\rlost=1\r[Second]\r a = b = c \r");
    const TIniManager ini(file);
    std::remove(file.c_str());
    EXPECT_EQ(ini.SectionCount(), 2);
    EXPECT_EQ(ini.Get("first", "k"), "2");  // the later value wins, after a report
    EXPECT_EQ(trace.Boxes(), (std::vector<std::string>{
                                 "*ERROR*String_Manager_Unit:TListOfPairOfStrings.add:cl\xE9 deja "
                                 "existante : k"}));
    EXPECT_EQ(ini.Get("second", "a = b"), "c");
    EXPECT_FALSE(ini.KeyExists("", "lost"));
    EXPECT_FALSE(ini.KeyExists(" ", "lost"));

    // The mark counts only before the first line.
    trace.Reset();
    const TIniManager later(Lines({"[A]", "\xEF\xBB\xBF[B]", "k=v"}));
    EXPECT_EQ(later.SectionCount(), 1);
    EXPECT_TRUE(later.KeyExists("A", "k"));
}

TEST(IniManager, UnreadableFileIsAPlatformError) {
    // A name that exists but cannot be read raises the platform's error (the
    // windows show its message). Whoever runs the test, the process's own memory
    // file opens but cannot be read from its start.
    TTraceCapture trace;
    try {
        TIniManager ini("/proc/self/mem");
        ADD_FAILURE() << "an unreadable file was read";
    } catch (const EFileError& e) {
        EXPECT_STREQ(e.what(), "Cannot read file \"/proc/self/mem\": Input/output error");
    }
    EXPECT_TRUE(trace.Lines().empty());

    // A file without the right to read it, where the test runs without root's
    // right to read anything.
    const std::string file = TempPath("unreadable.ini");
    WriteFileAtomically(file, "[A]\r\nk=v\r\n");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    FILE* probe = std::fopen(file.c_str(), "rb");
    if (probe) {
        std::fclose(probe);
        std::remove(file.c_str());
        return;
    }
    EXPECT_THROW(TIniManager ini(file), EFileError);
    std::remove(file.c_str());
}
