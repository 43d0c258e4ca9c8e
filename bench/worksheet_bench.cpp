#include "worksheet/calculation.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace orvex;

// 99 used rows spanning periods −32768 … 32767.
Worksheet wideSheet(bool solve)
{
    Worksheet s;
    s.setRate("0.5");
    s.setCell(1, kColTipo, "1. Pago Unico");
    s.setCell(1, kColValor, "-50000000");
    s.setCell(1, kColInicio, "-32768");
    for (int r = 2; r <= 99; ++r) {
        const bool geometric = r % 2 == 0;
        s.setCell(r, kColTipo, geometric ? "4. Serie Gradiente Geométrica" : "2. Serie Uniforme");
        s.setCell(r, kColValor, std::to_string(100 + r));
        s.setCell(r, kColInicio, std::to_string(-32768 + 300 * r));
        s.setCell(r, kColFinal, "32767");
        s.setCell(r, kColPorcentaje, geometric ? "0.01" : "");
    }
    if (solve)
        s.setCell(99, kColValor, "Incognita");
    return s;
}

void BM_CalculosSolve(benchmark::State& st)
{
    const Worksheet sheet = wideSheet(true);
    SharedState state;
    for (auto _ : st) {
        const CalcOutcome out = calculos(sheet, state);
        benchmark::DoNotOptimize(out.respuesta);
        if (out.failed)
            st.SkipWithError(out.failure.c_str());
    }
}
BENCHMARK(BM_CalculosSolve)->Unit(benchmark::kMillisecond);

void BM_CalculosEvaluation(benchmark::State& st)
{
    const Worksheet sheet = wideSheet(false);
    SharedState state;
    for (auto _ : st) {
        const CalcOutcome out = calculos(sheet, state);
        benchmark::DoNotOptimize(out.evaluation);
        if (out.failed)
            st.SkipWithError(out.failure.c_str());
    }
}
BENCHMARK(BM_CalculosEvaluation)->Unit(benchmark::kMillisecond);

// A loan paid by a level instalment at 1 % a period: one sign change.
std::vector<double> conventional(std::size_t n)
{
    std::vector<double> x(n, 12.0);
    x[0] = -1000.0;
    return x;
}

// A mid-life outlay and a final cost: three sign changes, the search must scan.
std::vector<double> nonConventional(std::size_t n)
{
    std::vector<double> x(n, 300.0);
    x[0] = -1000.0;
    x[n / 2] = -500.0;
    x[n - 1] = -100.0;
    return x;
}

void BM_IrrConventional(benchmark::State& st)
{
    const auto x = conventional(static_cast<std::size_t>(st.range(0)));
    for (auto _ : st)
        benchmark::DoNotOptimize(internalRateOfReturn(x));
}
BENCHMARK(BM_IrrConventional)->Arg(10)->Arg(1000)->Arg(65536)->Unit(benchmark::kMicrosecond);

void BM_IrrNonConventional(benchmark::State& st)
{
    const auto x = nonConventional(static_cast<std::size_t>(st.range(0)));
    for (auto _ : st)
        benchmark::DoNotOptimize(internalRateOfReturn(x));
}
BENCHMARK(BM_IrrNonConventional)->Arg(10)->Arg(1000)->Arg(65536)->Unit(benchmark::kMicrosecond);

} // namespace
