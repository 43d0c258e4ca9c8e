// Start-up of the desktop program: from launch until its main window has been
// painted, under Qt's offscreen platform. Each run starts the real program, which
// says "painted" and ends when ORVEX_STARTUP_PROBE is set.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Seconds from the start of the program until its line arrives; negative on failure.
double timeOneStart()
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char program[] = ORVEX_PROGRAM;
    char* argv[] = { program, nullptr };
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string line;
    char c = 0;
    while (!failed && read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    const auto painted = std::chrono::steady_clock::now();
    close(out[0]);
    int status = 0;
    if (!failed)
        waitpid(pid, &status, 0);
    if (failed || line != "painted")
        return -1;
    return std::chrono::duration<double>(painted - start).count();
}

void BM_StartupToPaintedWindow(benchmark::State& st)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("ORVEX_STARTUP_PROBE", "1", 1);
    for (auto _ : st) {
        const double seconds = timeOneStart();
        if (seconds < 0) {
            st.SkipWithError("the program did not report its window painted");
            return;
        }
        st.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartupToPaintedWindow)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
    ->Unit(benchmark::kMillisecond);

} // namespace
