// The statistical exports over long lists, beside a plain strtod loop over the same text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "PluginAPI/PluginAPI.h"
#include "pfunc/catalogue.h"

#define FUNCPLUG_STATS_BENCH_DECLARE(name, ...) extern "C" void name();
FUNCPLUG_CATALOGUE(FUNCPLUG_STATS_BENCH_DECLARE)

namespace {

// Values of the form ddd.dddddd, as in bench/sum_vs_numpy.py.
const std::string& ListText(int fields) {
    static std::string texts[2];
    std::string& text = texts[fields > 1000000];
    if (text.empty()) {
        char number[32];
        for (int i = 0; i < fields; ++i) {
            std::snprintf(number, sizeof number, "%s%d.%06d", i ? "|" : "", 100 + i % 900, (i * 7919) % 1000000);
            text += number;
        }
    }
    return text;
}

template <void (*Export)()>
void BM_Export(benchmark::State& state) {
    const std::string& text = ListText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SetFile(text.c_str());
        Export();
        benchmark::DoNotOptimize(GetFile());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Several iterations each: the first call at a new size pays for faulting in the text's and the
// list's fresh pages, which later calls reuse.
BENCHMARK_TEMPLATE(BM_Export, getSum)->Arg(1000000)->Arg(10000000)->MinTime(2)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, getMean)->Arg(1000000)->Arg(10000000)->MinTime(2)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, getVariance)->Arg(1000000)->Arg(10000000)->MinTime(2)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, getSumsAndSquares)->Arg(1000000)->Arg(10000000)->MinTime(2)->Unit(benchmark::kMillisecond);

// What a C programmer would write: strtod over the text, summing in double.
void BM_StrtodSum(benchmark::State& state) {
    const std::string& text = ListText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const char* p = text.c_str();
        double sum = 0;
        char* end;
        for (;;) {
            sum += std::strtod(p, &end);
            if (*end != '|') break;
            p = end + 1;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StrtodSum)->Arg(1000000)->Arg(10000000)->MinTime(2)->Unit(benchmark::kMillisecond);

}  // namespace
