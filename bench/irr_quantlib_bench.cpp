// The rate of return beside a peer: QuantLib's Brent solver on a Horner present
// value, bracketed from 0 with step 0.01 to an accuracy of 1e-12, on the same
// flows in the same process. After the runs a table gives the ratio per horizon.

#include "irr_flows.h"
#include "worksheet/calculation.h"

#include <benchmark/benchmark.h>
#include <ql/math/solvers1d/brent.hpp>

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace orvex;
using FlowMaker = std::vector<double> (*)(std::size_t);

// Σ x_k / (1 + r)^k by Horner's rule.
struct HornerPresentValue {
    const std::vector<double>* x;
    double operator()(double r) const
    {
        const double v = 1.0 / (1.0 + r);
        double sum = 0.0;
        for (std::size_t k = x->size(); k-- > 0;)
            sum = sum * v + (*x)[k];
        return sum;
    }
};

double quantlibRate(const std::vector<double>& x)
{
    QuantLib::Brent solver;
    solver.setMaxEvaluations(1000);
    solver.setLowerBound(-1.0 + 1e-9); // rates above −100 %, where the value is defined
    return solver.solve(HornerPresentValue { &x }, 1e-12, 0.0, 0.01);
}

std::optional<double> tryRate(
    double (*solve)(const std::vector<double>&), const std::vector<double>& x)
{
    try {
        return solve(x);
    } catch (...) {
        return std::nullopt;
    }
}

double orvexRate(const std::vector<double>& x) { return internalRateOfReturn(x); }

struct Family {
    const char* name;
    FlowMaker flows;
};
constexpr Family kFamilies[] = {
    { "conventional", bench::conventionalFlows },
    { "non-conventional", bench::nonConventionalFlows },
};

struct Solver {
    const char* name;
    double (*solve)(const std::vector<double>&);
};
constexpr Solver kSolvers[] = { { "orvex", orvexRate }, { "quantlib", quantlibRate } };

// Remembers the CPU time per solve of every run (the median when repeated) while
// the console shows the runs as usual.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times; // "family/solver/periods" → µs

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median)
                continue;
            const std::string key = run.run_name.function_name + "/" + run.run_name.args;
            if (median || !times.count(key))
                times[key] = run.GetAdjustedCPUTime();
        }
    }
};

void printRatios(const RatioReporter& reporter)
{
    std::printf("\nRate of return, CPU time per solve (median when repeated)\n");
    std::printf("%-17s %8s %12s %12s %9s  %s\n", "flows", "periods", "Orvex us", "QuantLib us",
        "QL/Orvex", "rates (Orvex, QuantLib)");
    for (const Family& family : kFamilies) {
        for (long n : bench::kHorizons) {
            const std::string tail = "/" + std::to_string(n);
            const auto ours
                = reporter.times.find(std::string("irr/") + family.name + "/orvex" + tail);
            const auto peer
                = reporter.times.find(std::string("irr/") + family.name + "/quantlib" + tail);
            if (ours == reporter.times.end() || peer == reporter.times.end())
                continue;
            const auto x = family.flows(static_cast<std::size_t>(n));
            const auto a = tryRate(orvexRate, x), b = tryRate(quantlibRate, x);
            std::printf("%-17s %8ld %12.3f %12.3f %8.2fx  %.15g, %.15g\n", family.name, n,
                ours->second, peer->second, peer->second / ours->second, a.value_or(NAN),
                b.value_or(NAN));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    for (const Family& family : kFamilies) {
        for (const Solver& solver : kSolvers) {
            const std::string name = std::string("irr/") + family.name + "/" + solver.name;
            auto* b = benchmark::RegisterBenchmark(
                name.c_str(), [family, solver](benchmark::State& st) {
                    const auto x = family.flows(static_cast<std::size_t>(st.range(0)));
                    if (!tryRate(solver.solve, x)) {
                        st.SkipWithError("no rate found");
                        return;
                    }
                    for (auto _ : st)
                        benchmark::DoNotOptimize(solver.solve(x));
                });
            for (long n : bench::kHorizons)
                b->Arg(n);
            b->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
