#include "common/Ini_Manager_Unit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/File_Io.h"
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
    EXPECT_EQ(ini.Sections()[0].Name(), "Clause 3");
    EXPECT_EQ(ini.Sections()[1].Name(), "General Datas");
    EXPECT_EQ(ini.Sections()[2].Name(), "ZZZ");
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

namespace {

// The reader as first written, kept as the reference: each section is inserted
// into the list at the position that the bisection gives over the list as it
// stands, and each pair is added to its section's pair list as its line is read.
struct TReferenceSection {
    std::string Name;
    TListOfPairOfStrings Pairs;
};

std::vector<std::unique_ptr<TReferenceSection>> ReferenceRead(
    const std::vector<std::string>& lines) {
    std::vector<std::unique_ptr<TReferenceSection>> list;
    std::unique_ptr<TReferenceSection> current;
    const auto keepCurrent = [&] {
        if (current && !current->Name.empty()) {
            const std::string name = TIniManager::MatchName(current->Name);
            const int32_t p = BisectSortedPos(
                name, 0, static_cast<int32_t>(list.size()) - 1,
                [&](int32_t i) -> std::string { return TIniManager::MatchName(list[i]->Name); });
            list.insert(list.begin() + p, std::move(current));
        }
        current.reset();
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool bom = i == 0 && lines[i].compare(0, 3, "\xEF\xBB\xBF") == 0;
        const auto line = TStringManager::ParseIniLine(bom ? lines[i].substr(3) : lines[i]);
        if (line.Kind == TStringManager::TIniLineKind::Section) {
            keepCurrent();
            current = std::make_unique<TReferenceSection>();
            current->Name = line.Name;
        } else if (line.Kind == TStringManager::TIniLineKind::KeyValue && current &&
                   !line.Name.empty() && !line.Value.empty()) {
            current->Pairs.add(line.Name, line.Value);
        }
    }
    keepCurrent();
    return list;
}

}  // namespace

TEST(IniManager, ReadsAsInsertingOneByOneOnRandomTextsWithRepeats) {
    std::mt19937 random(13);
    const std::vector<std::string> names = {"a",
                                            "A",
                                            " a ",
                                            "b",
                                            "B b",
                                            "c",
                                            "",
                                            " ",
                                            "[x] [y",
                                            "\xC9t\xE9",
                                            "z",
                                            "Long Section Name B",
                                            "long section name",
                                            "long section name a"};
    const std::vector<std::string> keys = {"k", "K", "k2", "Literal0", "a=b", ";c"};
    const auto pick = [&](const std::vector<std::string>& from) {
        return from[random() % from.size()];
    };
    // Long texts of names and keys that differ in a few bytes, as numbered
    // clauses do, some beyond their 16th byte: sorted otherwise than short ones.
    const auto numbered = [&](const char* stem) {
        const char* suffixes[] = {"", "a", "ab", "b"};
        return stem + std::to_string(1000 + random() % 20) + suffixes[random() % 4];
    };
    for (int round = 0; round < 404; ++round) {
        // Few names and keys, so that sections and keys repeat often.
        const size_t count = round < 390 ? 1 + random() % 120 : round < 400 ? 3000 : 6000;
        const size_t nameCount = 1 + random() % names.size();
        std::vector<std::string> lines;
        for (size_t i = 0; round >= 400 && i < count; ++i) {
            // Mostly headers, or one section of many pairs.
            if (round % 2 == 0 ? random() % 8 < 6 : i == 0)
                lines.push_back("[" + numbered(random() % 2 ? "Clause Name " : "clause name ") +
                                "]");
            else
                lines.push_back(numbered("keyname_long") + "=" + std::to_string(random() % 10));
        }
        for (size_t i = 0; round < 400 && i < count; ++i) {
            switch (random() % 8) {
                case 0:
                case 1:
                    lines.push_back(" [" + names[random() % nameCount] + "] ");
                    break;
                case 2:
                    lines.push_back(";" + pick(keys) + "=comment");
                    break;
                case 3:
                    lines.push_back(random() % 2 ? "" : "garbage");
                    break;
                default:
                    lines.push_back(pick(keys) + (random() % 2 ? "=" : " = ") +
                                    std::to_string(random() % 10));
            }
        }
        if (round % 7 == 0 && !lines.empty()) lines[0] = "\xEF\xBB\xBF" + lines[0];

        TTraceCapture expectedTrace;
        const auto expected = ReferenceRead(lines);
        const std::vector<std::string> expectedBoxes = expectedTrace.Boxes();
        expectedTrace.Reset();
        const TIniManager ini{TLineList(lines)};
        EXPECT_EQ(expectedTrace.Boxes(), expectedBoxes) << "round " << round;
        ASSERT_EQ(ini.Sections().size(), expected.size()) << "round " << round;
        for (size_t s = 0; s < expected.size(); ++s) {
            const TIniSection& got = ini.Sections()[s];
            ASSERT_EQ(got.Name(), expected[s]->Name) << "round " << round << " section " << s;
            ASSERT_EQ(got.Pairs().Count(), expected[s]->Pairs.Count());
            for (int32_t p = 0; p < got.Pairs().Count(); ++p) {
                EXPECT_EQ(got.Pairs().KeyAt(p), expected[s]->Pairs.KeyAt(p));
                EXPECT_EQ(got.Pairs().DataAt(p), expected[s]->Pairs.DataAt(p));
            }
        }
        // KeyExists asks the first section of the name in list order.
        for (const std::string& name : names)
            for (const std::string& key : keys) {
                bool walked = false;
                for (const auto& s : expected)
                    if (TIniManager::MatchName(s->Name) == TIniManager::MatchName(name)) {
                        walked = s->Pairs.HasKey(key);
                        break;
                    }
                EXPECT_EQ(ini.KeyExists(name, key), walked) << name << "/" << key;
            }
        // A section that stands for both lookups answers every key as they do;
        // a name read once always has one.
        for (const std::string& name : names) {
            const TIniSection* found = ini.SectionForKeys(name);
            const auto sameName = [&](const auto& s) {
                return TIniManager::MatchName(s->Name) == TIniManager::MatchName(name);
            };
            if (std::count_if(expected.begin(), expected.end(), sameName) == 1) {
                EXPECT_NE(found, nullptr) << name;
            }
            if (!found) continue;
            for (const std::string& key : keys) {
                ASSERT_EQ(found->Pairs().HasKey(key), ini.KeyExists(name, key)) << name;
                if (ini.KeyExists(name, key)) {
                    EXPECT_EQ(found->Pairs().getData(key), ini.Get(name, key)) << name;
                }
            }
        }
    }
}
