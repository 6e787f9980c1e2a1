#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Passes everything to the console and keeps the median CPU time of each benchmark:
// the contenders are single-threaded, and CPU time leaves out the moments when other
// work on the machine has the processor.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    // Plain text: the lines are read by people and by scripts alike.
    MedianReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Runs every registered benchmark through this reporter, then lets the
    // library go.
    void runAll()
    {
        benchmark::RunSpecifiedBenchmarks(this);
        benchmark::Shutdown();
    }

    double median(const std::string& name) const
    {
        const auto it = m_medians.find(name);
        return it == m_medians.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_medians;
};

// Reads the command line with the contenders' repetitions interleaved by
// default, so that a slow spell of the machine falls on all of them alike; a
// later flag on the command line wins. False when an argument is unknown.
inline bool initialiseInterleaved(int argc, char** argv)
{
    static std::string interleave = "--benchmark_enable_random_interleaving=true";
    static std::vector<char*> args;
    args.assign(argv, argv + argc);
    args.insert(args.begin() + 1, interleave.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    return !benchmark::ReportUnrecognizedArguments(count, args.data());
}

// Five repetitions, medians only: what the contenders of one comparison share.
inline benchmark::internal::Benchmark* repeated(benchmark::internal::Benchmark* bench,
                                                benchmark::TimeUnit unit, double minTime)
{
    return bench->Unit(unit)->Repetitions(5)->ReportAggregatesOnly(true)->MinTime(minTime);
}
