// The INI reader on the constraint text of a 1000-clause problem with 16 literals
// per clause (18,003 lines), against a plain loop that runs the reader's three
// line patterns with PCRE directly on every line of the same text. Target: the
// reader within 3 times the plain loop.
#include <benchmark/benchmark.h>
#include <pcre.h>

#include <random>
#include <string>
#include <vector>

#include "common/Ini_Manager_Unit.h"
#include "common/Line_List.h"
#include "common/Pattern_Matcher_Unit.h"

namespace {

constexpr int kClauses = 1000;
constexpr int kLiteralsPerClause = 16;
constexpr int kVariables = 100;

const std::vector<std::string>& ConstraintText() {
    static const std::vector<std::string> lines = [] {
        std::mt19937 random(2026);
        std::vector<std::string> text = {"[General Datas]",
                                         "Clause Number=" + std::to_string(kClauses),
                                         "Total Literal Number=" + std::to_string(kVariables)};
        for (int i = 0; i < kClauses; ++i) {
            text.push_back("[Clause " + std::to_string(i) + "]");
            text.push_back("Nb Literals=" + std::to_string(kLiteralsPerClause));
            for (int j = 0; j < kLiteralsPerClause; ++j) {
                const int v = 1 + static_cast<int>(random() % kVariables);
                text.push_back("Literal" + std::to_string(j) + "=" +
                               std::to_string(random() % 2 ? v : -v));
            }
        }
        return text;
    }();
    return lines;
}

void BM_IniManagerReadsConstraintText(benchmark::State& state) {
    const TLineList lines(ConstraintText());
    for (auto _ : state) {
        TIniManager ini(lines);
        benchmark::DoNotOptimize(ini.SectionCount());
    }
    state.SetItemsProcessed(state.iterations() * lines.Count());
}
BENCHMARK(BM_IniManagerReadsConstraintText)->Unit(benchmark::kMillisecond);

// The reference: the section, comment and key/value patterns, compiled and
// studied once with the reader's options, matched on every line.
void BM_PlainLoopOfThreeMatches(benchmark::State& state) {
    const char* patterns[3] = {"^[ \\t]*\\[(.+)\\][ \\t]*$", "^\\;.*$",
                               "^[ \\t]*(.+)[ \\t]*=[ \\t]*(.+)[ \\t]*$"};
    pcre* code[3];
    pcre_extra* extra[3];
    for (int i = 0; i < 3; ++i) {
        const char* error = nullptr;
        int offset = 0;
        code[i] = pcre_compile(patterns[i], PCRE_NEWLINE_ANY, &error, &offset, nullptr);
        extra[i] = pcre_study(code[i], 0, &error);
    }
    const std::vector<std::string>& lines = ConstraintText();
    int offsets[300];
    for (auto _ : state) {
        int matched = 0;
        for (const std::string& line : lines)
            for (int i = 0; i < 3; ++i)
                matched += pcre_exec(code[i], extra[i], line.data(), static_cast<int>(line.size()),
                                     0, PCRE_NOTEMPTY, offsets, 300) > 0;
        benchmark::DoNotOptimize(matched);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
    for (int i = 0; i < 3; ++i) {
        pcre_free_study(extra[i]);
        pcre_free(code[i]);
    }
}
BENCHMARK(BM_PlainLoopOfThreeMatches)->Unit(benchmark::kMillisecond);

// A catastrophic pattern from user data, which the match limit ends as a failed
// match, beside a plain pattern on the same 41-character subject. Target: well
// under a second for the catastrophic one.
void BM_MatchFortyAsAndAB(benchmark::State& state, const char* pattern) {
    TPatternMatcher matcher;
    matcher.SetRegEx(pattern);
    matcher.Study();
    matcher.SetSubject(std::string(40, 'a') + "b");
    for (auto _ : state) benchmark::DoNotOptimize(matcher.Match());
}
BENCHMARK_CAPTURE(BM_MatchFortyAsAndAB, catastrophic, "^(a+)+$")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MatchFortyAsAndAB, plain, "^a+b$")->Unit(benchmark::kMillisecond);

}  // namespace
