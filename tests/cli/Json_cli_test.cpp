// --json as a script reads it: one document on standard output, parsed by a
// JSON library of its own, with the figures of the text form.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/Real_Format.h"
#include "cli/Cli_Run.h"
#include "support/Global_Guards.h"

using nlohmann::json;

namespace {

const std::string kData = KAVELIN_TEST_DATA;

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> FieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    return fields;
}

// The text form of a call and its document, with --json after the
// subcommand; the same document comes with --json before it.
struct TBoth {
    std::string fText;
    json fJson;
};
TBoth Both(std::vector<std::string> words) {
    TBoth both;
    const TCliRun text = RunCliWords(words);
    EXPECT_EQ(text.fStatus, 0) << text.fErr;
    both.fText = text.fOut;
    std::vector<std::string> before = words;
    size_t at = 0;
    while (at < words.size() && words[at].rfind("--", 0) == 0) at += 2;  // --seed N
    before.insert(before.begin() + static_cast<std::ptrdiff_t>(at), "--json");
    words.push_back("--json");
    const TCliRun after = RunCliWords(words);
    EXPECT_EQ(after.fStatus, 0) << after.fErr;
    EXPECT_EQ(after.fErr, "");
    EXPECT_EQ(RunCliWords(before).fOut, after.fOut);
    both.fJson = json::parse(after.fOut);  // the whole output is one document
    EXPECT_TRUE(both.fJson.is_object()) << after.fOut;
    return both;
}

// A JSON number in the real format of the text (the tool runs with the C locale).
std::string Real(const json& value) {
    return FloatToStr(value.get<double>());
}

}  // namespace

TEST(CliJson, EveryRecordHasTheFiguresOfItsText) {
    const TSeparatorGuard separator('.');

    TBoth both = Both({"text-distance", "le chat dort", "le chien dort"});
    EXPECT_EQ(Real(both.fJson.at("score")) + "\n", both.fText);

    for (const char* type : {"0", "23", "53"}) {
        both = Both({"check-type", "FRANCE", type});
        EXPECT_EQ(both.fJson.at("result").get<bool>() ? "true\n" : "false\n", both.fText);
        EXPECT_EQ(both.fJson.at("type").get<int>(), std::stoi(type));
        EXPECT_FALSE(both.fJson.at("type_name").get<std::string>().empty());
    }

    for (const char* kind : {"0", "3", "5"}) {
        both =
            Both({"db", "search", kData + "/tables/countries.db", "Nom Pays", "LA FRANCE", kind});
        std::string records;
        for (const json& r : both.fJson.at("records"))
            records += std::to_string(r.get<int>()) + "\n";
        EXPECT_EQ(records, both.fText) << kind;
        EXPECT_EQ(both.fJson.at("kind").get<int>(), std::stoi(kind));
    }

    both = Both({"split", "Prix: 12,50 \xE2\x82\xAC"});
    std::string words;
    for (const json& w : both.fJson.at("words"))
        words += std::to_string(w.at("class").get<int>()) + "\t" +
                 std::to_string(w.at("start").get<int>()) + "\t" +
                 std::to_string(w.at("end").get<int>()) + "\t" +
                 std::to_string(w.at("length").get<int>()) + "\t" +
                 w.at("text").get<std::string>() + "\n";
    EXPECT_EQ(words, both.fText);

    both = Both({"--seed", "7", "genetic"});
    EXPECT_EQ("Optimum : " + Real(both.fJson.at("optimum")) + "\n", both.fText);
    both = Both({"--seed", "7", "genetic", "--runs", "3"});
    const json& optimum = both.fJson.at("optimum");
    EXPECT_EQ(both.fJson.at("runs").get<int>(), 3);
    EXPECT_EQ("runs 3 optimum min " + Real(optimum.at("min")) + " median " +
                  Real(optimum.at("median")) + " max " + Real(optimum.at("max")) + "\n" +
                  "mean |optimum - sqrt(2)| " + Real(both.fJson.at("mean_distance_to_sqrt2")) +
                  "\n",
              both.fText);

    both = Both({"--seed", "5", "analyse", kData + "/pictures/photo.jpg", "--min", "40"});
    std::string analysis =
        "Covered : " + std::to_string(both.fJson.at("covered").get<int>()) + "\n";
    for (const json& p : both.fJson.at("parts"))
        analysis += std::to_string(p.at("left").get<int>()) + " " +
                    std::to_string(p.at("top").get<int>()) + " " +
                    std::to_string(p.at("right").get<int>()) + " " +
                    std::to_string(p.at("bottom").get<int>()) + "\n";
    EXPECT_EQ(analysis, both.fText);
    EXPECT_FALSE(both.fJson.at("parts").empty());

    both = Both({"--seed", "5", "brain", kData + "/brain/example.ini"});
    const std::vector<std::string> lines = LinesOf(both.fText);
    const json& neurons = both.fJson.at("neurons");
    ASSERT_EQ(neurons.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const json& n = neurons[i];
        EXPECT_EQ(
            FieldsOf(lines[i]),
            (std::vector<std::string>{
                std::to_string(n.at("zone").get<int>()), std::to_string(n.at("id").get<int64_t>()),
                Real(n.at("x")), Real(n.at("y")), Real(n.at("z")),
                std::to_string(n.at("column").get<int>()), std::to_string(n.at("row").get<int>())}))
            << i;
    }
}

TEST(CliJson, ProfileGoesToStandardErrorAsADocumentOfTheSameSections) {
    const TCliRun text = RunCliWords({"--profile", "text-distance", "chat", "chien"});
    const TCliRun document = RunCliWords({"--profile", "--json", "text-distance", "chat", "chien"});
    EXPECT_EQ(document.fStatus, 0);
    EXPECT_EQ(json::parse(document.fOut).at("score").get<double>(),
              json::parse(RunCliWords({"--json", "text-distance", "chat", "chien"}).fOut)
                  .at("score")
                  .get<double>());
    const json profile = json::parse(document.fErr).at("profile");
    const std::vector<std::string> table = LinesOf(text.fErr);
    ASSERT_EQ(profile.size() + 1, table.size()) << text.fErr;
    for (size_t i = 0; i < profile.size(); ++i) {
        const std::vector<std::string> fields = FieldsOf(table[i + 1]);
        ASSERT_EQ(fields.size(), 5u);
        EXPECT_EQ(profile[i].at("section").get<std::string>(), fields[0]);
        EXPECT_EQ(std::to_string(profile[i].at("calls").get<int>()), fields[1]);
        for (const char* figure : {"total_ms", "mean_ms", "max_ms"})
            EXPECT_GE(profile[i].at(figure).get<double>(), 0) << figure;
    }
}

TEST(CliJson, TextsAreEscapedAndAccentsAreUtf8) {
    const json words =
        json::parse(RunCliWords({"split", "a\"b\\c \xC3\xA9t\xC3\xA9", "--json"}).fOut);
    std::string joined;
    for (const json& w : words.at("words")) joined += w.at("text").get<std::string>();
    EXPECT_EQ(joined, "a\"b\\c \xC3\xA9t\xC3\xA9");
}
