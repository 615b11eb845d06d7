#pragma once

#include <string>
#include <vector>

// The rows of a Google Benchmark run printed with --benchmark_format=csv, for the footprint
// runner's table. Aggregates come as rows of their own, named "..._median" and so on.
struct BenchRow {
    std::string name;
    double milliseconds = 0; // real time, converted from the row's unit
    std::string label;
    bool failed = false;
    std::string errorMessage;
};

// The rows after the header line; lines before it, blank ones and those that are no row
// (which begin with the quoted name) are skipped. A row whose time cannot be read is kept as
// failed.
std::vector<BenchRow> parseBenchmarkCsv(const std::string &text);

// The row named `name`, or null.
const BenchRow *findRow(const std::vector<BenchRow> &rows, const std::string &name);
