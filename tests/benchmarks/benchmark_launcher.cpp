// Benchmarks of the launcher against the recording fake (Google Benchmark).
// Built in the host presets; scripts/benchmark.sh runs them in a release
// build and tabulates them. Nothing here is asserted: times are reported.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "installer/credentials.h"
#include "installer/installer_arguments.h"
#include "tests/fake_platform.h"
#include "tests/launcher_run.h"

namespace {

// Arguments of the kinds a deployment passes (switches, properties, values
// and paths with blanks that get quoted), repeated until their bytes add up
// to exactly `total`; the last one is cut to fit.
std::vector<std::string> ArgumentsOfTotalSize(std::size_t total)
{
    static const std::string kinds[] = {
        "/qn",
        "INSTALLDIR=D:\\Aplicativos Veslor\\Tolmo",
        "/norestart",
        "NOTA=instalado pelo Setup.exe em lote",
        "REBOOT=ReallySuppress",
        "/l*v C:\\Logs de instala\xE7\xE3o\\tolmo.log",
    };
    std::vector<std::string> arguments;
    std::size_t size = 0;
    for (std::size_t i = 0; size < total; ++i) {
        const std::string& kind = kinds[i % std::size(kinds)];
        arguments.push_back(kind.substr(0, total - size));
        size += arguments.back().size();
    }
    return arguments;
}

// BuildInstallerArguments over argument vectors of range(0) bytes in all.
void BuildArguments(benchmark::State& state, bool codePage932)
{
    fake::Reset();
    if (codePage932) {
        fake::UseCodePage932();
    }
    const auto total = static_cast<std::size_t>(state.range(0));
    const ArgumentVector vector(ArgumentsOfTotalSize(total));
    for (auto _ : state) {
        std::string arguments(packageArguments);
        Credentials credentials;
        BuildInstallerArguments(vector.Count(), vector.Values(), arguments, credentials);
        benchmark::DoNotOptimize(arguments.data());
        benchmark::ClobberMemory();
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_BuildArguments_SingleByte(benchmark::State& state)
{
    BuildArguments(state, false);
}

void BM_BuildArguments_CodePage932(benchmark::State& state)
{
    BuildArguments(state, true);
}

void ArgumentSizes(benchmark::internal::Benchmark* benchmark)
{
    for (const int total : {1, 64, 256, 1024, 2048, 4096, 8192, 16384, 32767}) {
        benchmark->Arg(total);
    }
    benchmark->Complexity(benchmark::oN);
}

BENCHMARK(BM_BuildArguments_SingleByte)->Apply(ArgumentSizes);
BENCHMARK(BM_BuildArguments_CodePage932)->Apply(ArgumentSizes);

// The whole run as Setup.exe makes it: the application object constructed,
// the framework's entry point run with the arguments, the object destroyed.
// range(0): 0 for a plain start, 1 for a start with a logon.
void BM_LauncherRun(benchmark::State& state)
{
    std::vector<std::string> arguments{"/qn", "INSTALLDIR=D:\\My Apps"};
    if (state.range(0) != 0) {
        arguments.emplace_back("/USUARIO=setup@OFFICE;s3cr3t");
    }
    const ArgumentVector vector(arguments);
    for (auto _ : state) {
        // The fake's record of the previous run is dropped outside the timing.
        state.PauseTiming();
        fake::Reset();
        state.ResumeTiming();
        benchmark::DoNotOptimize(RunLauncher(vector));
    }
}

BENCHMARK(BM_LauncherRun)->ArgName("logon")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
