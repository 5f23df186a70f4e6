// The in-memory database: loading ';'-separated files, the checks of its
// accessors with their reports, the halving search and the six search kinds.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/Text_Distance_Unit.h"
#include "common/Pattern_Matcher_Unit.h"
#include "support/Trace_Capture.h"
#include "tables/Database_Unit.h"

namespace {

const std::string kData = KAVELIN_TEST_DATA "/tables/";

void Load(TMyDatabase& db, const std::vector<std::string>& lines) {
    db.LoadFromStrings(TLineList(lines));
}

}  // namespace

TEST(Database, LoadsFieldsRecordsShortLinesAndEscapes) {
    TTraceCapture capture;
    TMyDatabase shortRecord(kData + "short_record.db");
    EXPECT_EQ(shortRecord.FileName(), kData + "short_record.db");
    ASSERT_EQ(shortRecord.FieldCount(), 2);
    ASSERT_EQ(shortRecord.RecordCount(), 2);
    EXPECT_EQ(shortRecord.DBGetString(0, 1), "y");
    EXPECT_EQ(shortRecord.DBGetString(1, 0), "1");
    EXPECT_EQ(shortRecord.DBGetString(1, 1), "");

    TMyDatabase escapes(kData + "escapes_and_empty_line.db");
    EXPECT_EQ(escapes.FieldNames(), (std::vector<std::string>{"Nom", "Note"}));
    ASSERT_EQ(escapes.RecordCount(), 3);
    EXPECT_EQ(escapes.DBGetString(0, 0), "l1\r\nl2");
    EXPECT_EQ(escapes.DBGetString(1, 0), "a\r\n");
    // An empty line is a record of empty values; fields beyond the header's are dropped.
    EXPECT_EQ(escapes.DBGetString(0, 1), "");
    EXPECT_EQ(escapes.DBGetString(1, 1), "");
    EXPECT_EQ(escapes.DBGetString(1, 2), "1");
    EXPECT_EQ(escapes.IsDeleted(2), false);

    TMyDatabase crOnly(kData + "cr_line_ends.db");
    EXPECT_EQ(crOnly.RecordCount(), 2);
    EXPECT_EQ(crOnly.DBGetString(1, 1), "s");
    EXPECT_TRUE(capture.Boxes().empty());
}

TEST(Database, FieldsAndValuesAreBoundedBeforeLoading) {
    TTraceCapture capture;
    TMyDatabase db("");
    // Just inside: 100000 fields, each record line split once.
    std::string header = "f0";
    for (int k = 1; k < 100000; ++k) header += ";f" + std::to_string(k);
    Load(db, {header, "a;b\\nc", ";;x"});
    EXPECT_TRUE(capture.Boxes().empty());
    ASSERT_EQ(db.FieldCount(), 100000);
    EXPECT_EQ(db.FieldNames()[99999], "f99999");
    EXPECT_EQ(db.DBGetString(1, 0), "b\r\nc");
    EXPECT_EQ(db.DBGetString(2, 1), "x");
    EXPECT_EQ(db.DBGetString(99999, 1), "");

    // Beyond: one field more, or values past the bound through empty records.
    Load(db, {header + ";f100000", "a"});
    EXPECT_EQ(db.FieldCount(), 0);
    EXPECT_EQ(db.RecordCount(), 0);
    std::vector<std::string> lines(22);
    lines[0] = header;
    Load(db, lines);
    EXPECT_EQ(db.FieldCount(), 0);
    EXPECT_EQ(capture.Boxes(),
              (std::vector<std::string>{
                  "*ERROR*TMyDatabase.LoadFromStrings:100001 champs et 1 enregistrements, soit "
                  "100001 valeurs (au plus 100000 champs et 2000000 valeurs) : table vide",
                  "*ERROR*TMyDatabase.LoadFromStrings:100000 champs et 21 enregistrements, soit "
                  "2100000 valeurs (au plus 100000 champs et 2000000 valeurs) : table vide"}));
}

TEST(Database, MissingAndLinelessFilesGiveEmptyTables) {
    TTraceCapture capture;
    TMyDatabase missing(kData + "no_such_file.db");
    EXPECT_EQ(missing.FieldCount(), 0);
    EXPECT_EQ(missing.RecordCount(), 0);
    EXPECT_EQ(missing.FileName(), "");
    // A folder of the name is no table file either (it was read and failed).
    TMyDatabase folder(kData);
    EXPECT_EQ(folder.FieldCount(), 0);
    EXPECT_EQ(folder.FileName(), "");
    TMyDatabase empty(kData + "no_line.db");
    EXPECT_EQ(empty.FieldCount(), 0);
    EXPECT_EQ(empty.RecordCount(), 0);
    EXPECT_TRUE(capture.Boxes().empty());
    // Reading from an empty table reports and gives the empty text.
    EXPECT_EQ(empty.DBGetString(0, 0), "");
    EXPECT_TRUE(capture.HasLine("TMyDatabase.DBGetString: fDatas not assigned"));
    EXPECT_FALSE(empty.IsDeleted(0));
    EXPECT_TRUE(
        capture.HasLine("TMyDatabase.IsDeleted:trying to acces a non assigned dynamic array"));
    // An empty header gives no fields.
    TMyDatabase noFields("");
    Load(noFields, {"", "a"});
    EXPECT_EQ(noFields.FieldCount(), 0);
    EXPECT_EQ(noFields.RecordCount(), 0);
}

TEST(Database, AccessorsReportBadPositionsAndChangeNothing) {
    TTraceCapture capture;
    TMyDatabase db("");
    Load(db, {"b", "v"});
    EXPECT_EQ(db.GetFieldPos("B"), -1);
    EXPECT_TRUE(capture.HasLine("TMyDatabase.GetFieldPos:impossible de trouver le champ B"));
    EXPECT_EQ(db.GetFieldPos("b"), 0);

    db.SetData(1, 0, "x");
    EXPECT_TRUE(capture.HasLine("TMyDatabase.SetData: Bad Field / pos : 1 0"));
    db.SetData(0, 1, "x");
    EXPECT_TRUE(capture.HasLine("TMyDatabase.SetData: Bad Field / pos : 0 1"));
    EXPECT_EQ(db.RecordCount(), 1);
    EXPECT_EQ(db.DBGetString(0, 0), "v");
    EXPECT_TRUE(db.IndexValid(0));

    EXPECT_EQ(db.DBGetString(3, 0), "");
    EXPECT_TRUE(capture.HasLine("TMyDatabase.DBGetString: champ hors limites3"));
    EXPECT_EQ(db.DBGetString(0, 4), "");
    EXPECT_TRUE(capture.HasLine("TMyDatabase.DBGetString: index hors limites 4"));
    EXPECT_FALSE(db.IsDeleted(-2));
    EXPECT_TRUE(
        capture.HasLine("TMyDatabase.IsDeleted:Index -2 en dehors des limites du dynamic array"));

    TMyDatabase headerOnly("");
    Load(headerOnly, {"f;g"});
    EXPECT_EQ(headerOnly.DBGetString(1, 0), "");
    EXPECT_TRUE(capture.HasLine("TMyDatabase.DBGetString: fDatas[1] not assigned"));
}

TEST(Database, ReplaceAllRestartsFromTheStart) {
    EXPECT_EQ(UnescapeNewLines("a\\n\\nb\\"), "a\r\n\r\nb\\");
    EXPECT_EQ(UnescapeNewLines("\\\\n"), "\\\r\n");
    // A replacement can complete an occurrence that began before it.
    EXPECT_EQ(ReplaceAll("aaab", "ab", "b"), "b");
    EXPECT_EQ(ReplaceAll("xyz", "", "q"), "xyz");
    EXPECT_EQ(PrefixCompare("AB", "ABC"), 0);
    EXPECT_EQ(PrefixCompare("", ""), 0);
    EXPECT_LT(PrefixCompare("", "A"), 0);
    EXPECT_GT(PrefixCompare("B", "AC"), 0);
}

TEST(Database, DichotomicFindFirstWidensOverTheWholeList) {
    TTraceCapture capture;
    const TIndexList list{{"AB", 0}, {"ABC", 1}, {"ABD", 2}, {"AC", 3}};
    using Run = std::pair<int32_t, int32_t>;
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "AB", 0, 3), Run(0, 2));
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "ABCD", 0, 3), Run(0, 1));
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "B", 0, 3), Run(-1, -1));
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "AA", 0, 3), Run(-1, -1));
    // A run found in a sub-range grows beyond it, up to the first entry that is
    // neither a prefix nor an extension of the key.
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "AB", 2, 3), Run(0, 2));
    // AB, a prefix of ABD, is met first; the run around it ends before ABC.
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "ABD", 0, 3), Run(0, 0));
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "ABD", 1, 3), Run(2, 2));
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "AC", 3, 3), Run(3, 3));
    EXPECT_TRUE(capture.Lines().empty());

    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(nullptr, "AB", 0, 0), Run(-1, -1));
    EXPECT_TRUE(
        capture.HasLine("TMyDatabase.DichotomicFindFirst:liste index non assign\xE9"
                        "e"));
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "AB", 2, 1), Run(-1, -1));
    EXPECT_TRUE(
        capture.HasLine("TMyDatabase.DichotomicFindFirst:Paire Start / Finish non valide : 2,1"));
    EXPECT_EQ(TMyDatabase::DichotomicFindFirst(&list, "AB", 0, 4), Run(-1, -1));

    // On a long list the halving still lands in the run.
    TIndexList many;
    for (int i = 0; i < 1000; ++i) many.emplace_back(std::string(1, char('A' + i / 40)) + "x", i);
    const Run found = TMyDatabase::DichotomicFindFirst(&many, "Mx", 0, 999);
    EXPECT_EQ(found, Run(480, 519));
}

TEST(Database, SearchKindsSelectInTheirOrder) {
    TTraceCapture capture;
    TMyDatabase db(kData + "countries.db");
    ASSERT_EQ(db.RecordCount(), 5);
    const auto search = [&db](const std::string& pattern, TSearchKind kind) {
        db.Search("Nom Pays", pattern, kind);
        EXPECT_EQ(db.ResultCount(), static_cast<int32_t>(db.Results().size()));
        return db.Results();
    };
    using R = std::vector<int32_t>;
    // The index sorts the texts; equal texts keep their record order here.
    EXPECT_EQ(search("FRANCE", skWholeMatch), (R{0, 2}));
    EXPECT_EQ(search("FRAN", skWholeMatch), R{});
    EXPECT_EQ(search("FRAN", skDichotomic), (R{0, 2}));
    EXPECT_EQ(search("^[BS]", skRegEx), (R{1, 4}));
    EXPECT_EQ(search("ISS", skContains), R{4});
    // The empty value is never matched by a pattern, but as a pattern of its own
    // it is contained in any text.
    EXPECT_EQ(search(".*", skRegEx), (R{1, 0, 2, 4}));
    EXPECT_EQ(search("", skContains), (R{1, 0, 2, 4}));
    EXPECT_EQ(search("LA FRANCE!", skContainedIn), (R{3, 0, 2}));
    EXPECT_EQ(search("x", 6), R{});
    EXPECT_TRUE(capture.Boxes().empty());

    // A stale index is rebuilt by the next search.
    db.SetData(0, 1, "FRANCE");
    EXPECT_FALSE(db.IndexValid(0));
    EXPECT_EQ(search("FRANCE", skWholeMatch), (R{0, 1, 2}));
    EXPECT_TRUE(db.IndexValid(0));

    db.Search("Pays", "FRANCE", skWholeMatch);
    EXPECT_EQ(db.ResultCount(), 0);
    EXPECT_TRUE(capture.HasLine("TMyDatabase.GetFieldPos:impossible de trouver le champ Pays"));
    EXPECT_THROW(db.Search("Nom Pays", "(", skRegEx), std::exception);
}

TEST(Database, SimilaritySearchRanksEveryRecordMostSimilarFirst) {
    TMyDatabase db("");
    Load(db, {"w", "abc", "xyz", "abd", "abc", "ab"});
    db.Search("w", "abc", skSimilarity);
    const std::vector<int32_t>& results = db.Results();
    ASSERT_EQ(results.size(), 5u);
    std::vector<int32_t> sorted = results;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int32_t>{0, 1, 2, 3, 4}));
    const TTextDistanceManager manager;
    for (size_t i = 1; i < results.size(); ++i)
        EXPECT_GE(manager.Distance("abc", db.DBGetString(0, results[i - 1])),
                  manager.Distance("abc", db.DBGetString(0, results[i])));
    // Of two equal scores, the later index entry comes first.
    const TIndexList& index = db.Index(0);
    const auto at = [&index](int32_t record) {
        return std::find_if(index.begin(), index.end(),
                            [record](auto& p) { return p.Index == record; }) -
               index.begin();
    };
    ASSERT_EQ(db.DBGetString(0, results[0]), "abc");
    EXPECT_GT(at(results[0]), at(results[1]));
    EXPECT_EQ(results.back(), 1);  // xyz shares nothing
}

TEST(Database, DichotomicSearchOnAnEmptyIndexReports) {
    TTraceCapture capture;
    TMyDatabase db("");
    Load(db, {"f"});
    db.Search("f", "a", skDichotomic);
    EXPECT_EQ(db.ResultCount(), 0);
    EXPECT_TRUE(
        capture.HasLine("TMyDatabase.DichotomicFindFirst:Paire Start / Finish non valide : 0,-1"));
}

TEST(Database, IndexesSortByTypedValueAndSurviveMixedTexts) {
    TMyDatabase numbers("");
    Load(numbers, {"n", "10", "9", "2,5", "-1", "AV1000", "AV999"});
    std::vector<std::string> texts;
    for (const auto& p : numbers.Index(0)) texts.push_back(p.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"-1", "2,5", "9", "10", "AV999", "AV1000"}));

    // Numbers against texts compare by bytes, numbers among themselves by value:
    // 10 < 10a < 2,5 < 10 is a cycle. Sorting such a column must still keep
    // every record exactly once.
    std::vector<std::string> lines{"m"};
    const char* pieces[] = {"10", "10a", "2,5", "9", "1,75", "b", "007", "-3", "DE12345", "x9"};
    for (int i = 0; i < 3000; ++i) lines.push_back(pieces[(i * 7 + i / 10) % 10]);
    TMyDatabase mixed("");
    Load(mixed, lines);
    std::vector<int32_t> records;
    for (const auto& p : mixed.Index(0)) records.push_back(p.Index);
    std::sort(records.begin(), records.end());
    ASSERT_EQ(records.size(), 3000u);
    for (int32_t i = 0; i < 3000; ++i) EXPECT_EQ(records[static_cast<size_t>(i)], i);
}
