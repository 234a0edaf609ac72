#pragma once

#include <QString>

// The table `./pag bench` ends with: one line per figure a benchmark measures against a target.
namespace BenchSummary {

// Prints the figure at once and appends it as one JSON object to the file named by the environment
// variable PAG_BENCH_SUMMARY, when set, so the run can print every figure together at its end.
// `target` is the target as a reader states it ("<= 1.0x", ">= 10000 calls/s"); `met` says whether
// this run met it.
void figure(const QString &name, double value, const QString &unit, const QString &target, bool met);

} // namespace BenchSummary
