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

    double median(const std::string& name) const
    {
        const auto it = m_medians.find(name);
        return it == m_medians.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_medians;
};
