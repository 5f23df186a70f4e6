// The INI reader against a plain loop that runs the reader's three line patterns
// with PCRE directly on every line of the same text, on four texts: the
// constraint text of problems with 16 literals per clause, of 1000 clauses
// (18,003 lines) and of 55,555 clauses (about a million lines); a million
// key=value lines in one section, in random order; a million section headers
// naming half as many sections, so that most names repeat. Target: the reader
// at most 4 times the plain loop on each ("ratio" against "at_most").
#include <benchmark/benchmark.h>
#include <pcre.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/Line_List.h"
#include "common/Ini_Manager_Unit.h"
#include "common/Pattern_Matcher_Unit.h"
#include "support/Trace_Capture.h"

namespace {

constexpr int kLiteralsPerClause = 16;
constexpr int kVariables = 100;

enum TTextKind { kConstraints, kKeyValues, kSections };

std::vector<std::string> MakeText(TTextKind kind, int size) {
    std::mt19937 random(2026);
    std::vector<std::string> text;
    switch (kind) {
        case kConstraints:
            text = {"[General Datas]", "Clause Number=" + std::to_string(size),
                    "Total Literal Number=" + std::to_string(kVariables)};
            for (int i = 0; i < size; ++i) {
                text.push_back("[Clause " + std::to_string(i) + "]");
                text.push_back("Nb Literals=" + std::to_string(kLiteralsPerClause));
                for (int j = 0; j < kLiteralsPerClause; ++j) {
                    const int v = 1 + static_cast<int>(random() % kVariables);
                    text.push_back("Literal" + std::to_string(j) + "=" +
                                   std::to_string(random() % 2 ? v : -v));
                }
            }
            break;
        case kKeyValues: {
            text.push_back("[Values]");
            std::vector<int> keys(static_cast<size_t>(size - 1));
            for (size_t i = 0; i < keys.size(); ++i) keys[i] = static_cast<int>(i);
            std::shuffle(keys.begin(), keys.end(), random);
            for (const int k : keys)
                text.push_back("key" + std::to_string(k) + "=" + std::to_string(random()));
            break;
        }
        case kSections:
            for (int i = 0; i < size; ++i)
                text.push_back("[Section " + std::to_string(random() % (size / 2)) + "]");
            break;
    }
    return text;
}

const std::vector<std::string>& Text(TTextKind kind, int size) {
    static std::map<std::pair<int, int>, std::vector<std::string>> texts;
    auto& text = texts[{kind, size}];
    if (text.empty()) text = MakeText(kind, size);
    return text;
}

// Seconds of processor time that this thread has used: on a shared machine the
// time other programs take of the cores counts for neither side.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The reference: the section, comment and key/value patterns, compiled and
// studied once with the reader's options, matched on every line.
class TPlainLoopOfThreeMatches {
  public:
    TPlainLoopOfThreeMatches() {
        const char* patterns[3] = {"^[ \\t]*\\[(.+)\\][ \\t]*$", "^\\;.*$",
                                   "^[ \\t]*(.+)[ \\t]*=[ \\t]*(.+)[ \\t]*$"};
        for (int i = 0; i < 3; ++i) {
            const char* error = nullptr;
            int offset = 0;
            fCode[i] = pcre_compile(patterns[i], PCRE_NEWLINE_ANY, &error, &offset, nullptr);
            fExtra[i] = pcre_study(fCode[i], 0, &error);
        }
    }
    ~TPlainLoopOfThreeMatches() {
        for (int i = 0; i < 3; ++i) {
            pcre_free_study(fExtra[i]);
            pcre_free(fCode[i]);
        }
    }
    TPlainLoopOfThreeMatches(const TPlainLoopOfThreeMatches&) = delete;
    TPlainLoopOfThreeMatches& operator=(const TPlainLoopOfThreeMatches&) = delete;

    int Run(const std::vector<std::string>& lines) const {
        int offsets[300];
        int matched = 0;
        for (const std::string& line : lines)
            for (int i = 0; i < 3; ++i)
                matched +=
                    pcre_exec(fCode[i], fExtra[i], line.data(), static_cast<int>(line.size()), 0,
                              PCRE_NOTEMPTY, offsets, 300) > 0;
        return matched;
    }

  private:
    pcre* fCode[3];
    pcre_extra* fExtra[3];
};

// The reader and the plain loop on the same text, one after the other in each
// iteration, each timed in processor time. The counters: the time of each per
// iteration, "ratio" = reader over plain loop, and "at_most" = its target.
void BM_ReaderOverPlainLoop(benchmark::State& state, TTextKind kind) {
    constexpr double kTarget = 4.0;
    const std::vector<std::string>& text = Text(kind, static_cast<int>(state.range(0)));
    const TLineList lines(text);
    const TPlainLoopOfThreeMatches plain;
    // Repeated keys would be reported; none of these texts repeats a key.
    TTraceCapture quiet;
    double readerSeconds = 0;
    double plainSeconds = 0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        benchmark::DoNotOptimize(plain.Run(text));
        const double t1 = ThreadSeconds();
        {
            TIniManager ini(lines);
            benchmark::DoNotOptimize(ini.SectionCount());
        }
        const double t2 = ThreadSeconds();
        plainSeconds += t1 - t0;
        readerSeconds += t2 - t1;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["lines"] = static_cast<double>(text.size());
    state.counters["reader_ms"] = 1e3 * readerSeconds / runs;
    state.counters["plain_ms"] = 1e3 * plainSeconds / runs;
    state.counters["ratio"] = readerSeconds / plainSeconds;
    state.counters["at_most"] = kTarget;
}

// Clauses of the constraint texts: 18,003 and 999,993 lines.
BENCHMARK_CAPTURE(BM_ReaderOverPlainLoop, constraints, kConstraints)
    ->Arg(1000)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReaderOverPlainLoop, constraints, kConstraints)
    ->Arg(55555)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReaderOverPlainLoop, key_values, kKeyValues)
    ->Arg(1000000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReaderOverPlainLoop, sections, kSections)
    ->Arg(1000000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

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
