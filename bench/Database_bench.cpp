// The in-memory database on a table of 100,000 records of 4 fields: loading with
// its four typed indexes, and each search kind, each beside one plain pass of
// the same matching over the index (the least any search of that kind can cost).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "analysis/Text_Distance_Unit.h"
#include "common/String_Manager_Unit.h"
#include "tables/Database_Unit.h"

namespace {

constexpr int kRecords = 100000;

// A name of 5 to 12 letters, an integer, a real with a comma, and a code.
TLineList MakeLines() {
    std::vector<std::string> lines{"Nom;Nombre;Reel;Code"};
    uint64_t state = 12345;
    const auto next = [&state](uint64_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % n;
    };
    for (int i = 0; i < kRecords; ++i) {
        std::string name;
        const uint64_t length = 5 + next(8);
        for (uint64_t k = 0; k < length; ++k) name += char('A' + next(26));
        lines.push_back(name + ";" + std::to_string(next(1000000)) + ";" +
                        std::to_string(next(1000)) + "," + std::to_string(next(100)) + ";AV" +
                        std::to_string(100 + next(9000)));
    }
    return TLineList(lines);
}

const TLineList& Lines() {
    static const TLineList lines = MakeLines();
    return lines;
}

TMyDatabase& Table() {
    static const std::unique_ptr<TMyDatabase> table = [] {
        auto db = std::make_unique<TMyDatabase>("");
        db->LoadFromStrings(Lines());
        return db;
    }();
    return *table;
}

void BM_LoadAndIndex(benchmark::State& state) {
    for (auto _ : state) {
        TMyDatabase db("");
        db.LoadFromStrings(Lines());
        benchmark::DoNotOptimize(db.RecordCount());
    }
}
BENCHMARK(BM_LoadAndIndex)->Unit(benchmark::kMillisecond)->Iterations(2);

// The loading without the indexes: splitting the lines into fields.
void BM_SplitFieldsOnly(benchmark::State& state) {
    for (auto _ : state) {
        size_t total = 0;
        for (int i = 1; i < Lines().Count(); ++i)
            for (int k = 1; k <= 4; ++k)
                total += UnescapeNewLines(TStringManager::GetField(Lines().Get(i), k, ';')).size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_SplitFieldsOnly)->Unit(benchmark::kMillisecond);

// One field's index (the integers, CompareTyped's costliest case) built as the
// table builds it, each text's typed key read once; and, for scale, the same
// sort comparing pairs of texts, which reads the keys of both at each comparison.
void BM_BuildOneIndex(benchmark::State& state) {
    for (auto _ : state) {
        Table().BuildIndex(1);
        benchmark::DoNotOptimize(Table().Index(1).data());
    }
}
BENCHMARK(BM_BuildOneIndex)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_SortOneIndexByPairs(benchmark::State& state) {
    for (auto _ : state) {
        TIndexList list = Table().Index(1);
        std::reverse(list.begin(), list.end());
        std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
            return TStringManager::CompareTyped(a.Text, b.Text) < 0;
        });
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_SortOneIndexByPairs)->Unit(benchmark::kMillisecond)->Iterations(2);

void Search(benchmark::State& state, const std::string& field, const std::string& pattern,
            TSearchKind kind) {
    for (auto _ : state) {
        Table().Search(field, pattern, kind);
        benchmark::DoNotOptimize(Table().ResultCount());
    }
    state.counters["found"] = Table().ResultCount();
}

// One pass of a pattern over the index, nothing kept.
void MatchPass(benchmark::State& state, const std::string& regex) {
    for (auto _ : state) {
        int found = 0;
        for (const auto& entry : Table().Index(0))
            found += TStringManager::MatchRegex(regex, entry.Text);
        benchmark::DoNotOptimize(found);
    }
}

void BM_Kind0_WholeMatch(benchmark::State& s) {
    Search(s, "Nom", "AB.*", skWholeMatch);
}
void BM_Kind0_Pass(benchmark::State& s) {
    MatchPass(s, "^AB.*$");
}
void BM_Kind1_Dichotomic(benchmark::State& s) {
    Search(s, "Nom", "ABC", skDichotomic);
}
void BM_Kind2_RegEx(benchmark::State& s) {
    Search(s, "Nom", "^A.C", skRegEx);
}
void BM_Kind2_Pass(benchmark::State& s) {
    MatchPass(s, "^A.C");
}
void BM_Kind4_Contains(benchmark::State& s) {
    Search(s, "Nom", "QQ", skContains);
}
void BM_Kind4_Pass(benchmark::State& s) {
    MatchPass(s, "^.*QQ.*$");
}

void BM_Kind5_ContainedIn(benchmark::State& s) {
    Search(s, "Nom", "XXABCDEFGHIJKLXX", skContainedIn);
}
// Kind 5 makes one pattern of every entry: the pass compiles each.
void BM_Kind5_Pass(benchmark::State& state) {
    for (auto _ : state) {
        int found = 0;
        for (const auto& entry : Table().Index(0))
            found += TStringManager::MatchRegex("^.*" + entry.Text + ".*$", "XXABCDEFGHIJKLXX");
        benchmark::DoNotOptimize(found);
    }
}

void BM_Kind3_Similarity(benchmark::State& s) {
    Search(s, "Nom", "ABCDEFGH", skSimilarity);
}
void BM_Kind3_Pass(benchmark::State& state) {
    const TTextDistanceManager manager;
    for (auto _ : state) {
        double total = 0;
        for (const auto& entry : Table().Index(0))
            total += manager.Distance("ABCDEFGH", entry.Text);
        benchmark::DoNotOptimize(total);
    }
}

}  // namespace

BENCHMARK(BM_Kind0_WholeMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Kind0_Pass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Kind1_Dichotomic)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Kind2_RegEx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Kind2_Pass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Kind4_Contains)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Kind4_Pass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Kind5_ContainedIn)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Kind5_Pass)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Kind3_Similarity)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Kind3_Pass)->Unit(benchmark::kMillisecond)->Iterations(3);
