#include <benchmark/benchmark.h>

#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The start of a program that exports one label: `quindle export bench/one-label.json` to a PDF
// file, against StartBare, a bare Qt Gui program that writes the same label with QPdfWriter and
// libzint. Each iteration starts the program and waits for it to end: loading, initialising,
// drawing and writing, as a user calling the tool waits for them.

extern char** environ;

namespace {

// Runs the program with its arguments to its end; false if it could not start or failed.
bool Run(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Measure(benchmark::State& state, const std::vector<std::string>& arguments)
{
    for (auto _ : state)
        if (!Run(arguments)) {
            state.SkipWithError("the program failed");
            return;
        }
}

void QuindleExport(benchmark::State& state)
{
    Measure(state,
        { QUINDLE_TOOL, "export", QUINDLE_ONE_LABEL, "--output",
            std::string(QUINDLE_OUTPUT_DIR) + "/tool.pdf" });
}

void BareProgram(benchmark::State& state)
{
    Measure(state, { QUINDLE_BARE_PROGRAM, std::string(QUINDLE_OUTPUT_DIR) + "/bare.pdf" });
}

} // namespace

BENCHMARK(QuindleExport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BareProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // The programs run offscreen unless a platform is set, as the export benchmarks do.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
