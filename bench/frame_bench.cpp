// The cost of the frame: cutting and parsing long lists, and one elementary round trip beside
// what a C programmer would write instead.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "PluginAPI/PluginAPI.h"
#include "pfunc/catalogue.h"
#include "pfunc/frame.h"

#define FUNCPLUG_BENCH_DECLARE(name, ...) extern "C" void name();
FUNCPLUG_CATALOGUE(FUNCPLUG_BENCH_DECLARE)

namespace {

std::string ListText(int fields) {
    std::string text;
    char number[32];
    for (int i = 0; i < fields; ++i) {
        std::snprintf(number, sizeof number, "%d.%06d|", 100 + i % 900, (i * 7919) % 1000000);
        text += number;
    }
    return text;
}

// Parse of a whole list argument: TakeField and TextToFloat on every field.
void BM_ParseList(benchmark::State& state) {
    std::string text = ListText(static_cast<int>(state.range(0)));
    SetFile(text.c_str());
    for (auto _ : state) benchmark::DoNotOptimize(pfunc::frame::WholeDar().Length());
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseList)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Cut fields: a text of n fields cut one at a time (what a long cut-field argument costs).
void BM_CutFields(benchmark::State& state) {
    std::string text = ListText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SetFile(text.c_str());
        long double sum = 0;
        while (GetFile()[0] != '\0') sum += pfunc::frame::CutFloat();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CutFields)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_RoundTripGetPower(benchmark::State& state) {
    for (auto _ : state) {
        SetFile("2|10");
        getPower();
        benchmark::DoNotOptimize(GetFile());
    }
}
BENCHMARK(BM_RoundTripGetPower);

// The obvious C alternative: parse both numbers, powl, format with 15 significant digits.
void BM_RoundTripStrtodPowl(benchmark::State& state) {
    char input[] = "2|10";
    char output[64];
    for (auto _ : state) {
        benchmark::DoNotOptimize(input);
        char* end;
        long double base = std::strtod(input, &end);
        long double exponent = std::strtod(end + 1, nullptr);
        std::snprintf(output, sizeof output, "%.15Lg", powl(base, exponent));
        benchmark::DoNotOptimize(output);
    }
}
BENCHMARK(BM_RoundTripStrtodPowl);

void BM_RoundTripGetSqrtOfSmallNumber(benchmark::State& state) {
    for (auto _ : state) {
        SetFile("0.000123");
        getSqrt();
        benchmark::DoNotOptimize(GetFile());
    }
}
BENCHMARK(BM_RoundTripGetSqrtOfSmallNumber);

}  // namespace


