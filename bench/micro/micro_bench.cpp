// The core's hot paths, each beside the standard library call that bounds it from below.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "calc.h"

namespace {

const std::vector<std::string> kTypical = {"70", " 172.5", "abc"};

void TextToNumberTypical(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& text : kTypical) {
            benchmark::DoNotOptimize(velandra::TextToNumber(text));
        }
    }
}
BENCHMARK(TextToNumberTypical);

// The floor: from_chars on the same texts, the blank skipped by hand as it cannot.
void FromCharsTypical(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& text : kTypical) {
            double value = 0;
            const char* first = text.data();
            while (*first == ' ') ++first;
            std::from_chars(first, text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
        }
    }
}
BENCHMARK(FromCharsTypical);

void TextToNumberLong(benchmark::State& state) {
    const std::string digits(static_cast<std::size_t>(state.range(0)), '7');
    for (auto _ : state) benchmark::DoNotOptimize(velandra::TextToNumber(digits));
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(TextToNumberLong)->RangeMultiplier(16)->Range(1 << 8, 1 << 20)->Complexity();

void FromCharsLong(benchmark::State& state) {
    const std::string digits(static_cast<std::size_t>(state.range(0)), '7');
    for (auto _ : state) {
        double value = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(FromCharsLong)->RangeMultiplier(16)->Range(1 << 8, 1 << 20);

void NumberToText(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(velandra::NumberToText(1.818118685772619));
}
BENCHMARK(NumberToText);

void ToChars(benchmark::State& state) {
    for (auto _ : state) {
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, 1.818118685772619,
                                          std::chars_format::general, 15);
        benchmark::DoNotOptimize(std::string(text, result.ptr));
    }
}
BENCHMARK(ToChars);

// A whole click against a view that only keeps texts.
class QuietView : public velandra::FormView {
  public:
    std::string GetText(velandra::BoxId box) const override {
        return box == velandra::BoxId::TxtPeso ? "70" : "170";
    }
    void SetText(velandra::BoxId, const std::string& text) override { result = text; }
    void ShowInfoMessage(const std::string&, const std::string&) override {}
    void EndProgram() override {}
    std::string result;
};

void OnCalcola(benchmark::State& state) {
    QuietView view;
    velandra::Calculator calculator(view);
    for (auto _ : state) {
        calculator.OnCalcola();
        benchmark::DoNotOptimize(view.result);
    }
}
BENCHMARK(OnCalcola);

// The floor of a click: the same texts fetched, read, computed and written with the standard
// library alone.
void OnCalcolaFloor(benchmark::State& state) {
    QuietView view;
    for (auto _ : state) {
        const std::string peso = view.GetText(velandra::BoxId::TxtPeso);
        const std::string altezza = view.GetText(velandra::BoxId::TxtAltezza);
        double w = 0, h = 0;
        std::from_chars(peso.data(), peso.data() + peso.size(), w);
        std::from_chars(altezza.data(), altezza.data() + altezza.size(), h);
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, std::sqrt(w * h / 3600),
                                          std::chars_format::general, 15);
        view.SetText(velandra::BoxId::TxtVelandra, std::string(text, result.ptr));
        benchmark::DoNotOptimize(view.result);
    }
}
BENCHMARK(OnCalcolaFloor);

}  // namespace

BENCHMARK_MAIN();
