// The benchmark's command line. Thread-safe (pure).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace marksend::bench {

struct BenchOptions {
  std::vector<int> sizes{300, 3000, 10000};  // students per sample school
  std::uint64_t seed = 1;
  int year = 2567;
  int runs = 3;            // each figure is the median of this many runs
  int windowSize = 3000;   // the school the window is measured on (if in sizes)
  int siteSize = 10000;    // the school the site is measured on (if in sizes)
  int requests = 20;       // POSTs timed for the site
  std::filesystem::path cacheDir;  // empty: bench-cache beside the bin folder
  std::optional<std::filesystem::path> json;
};

inline constexpr const char* kBenchUsage =
    "usage: marksend-bench [--sizes 300,3000,10000] [--json FILE] [--runs 3] [--seed 1] [--year 2567]\n"
    "                      [--window-size 3000] [--site-size 10000] [--requests 20] [--cache DIR]\n"
    "  A size of 0 for --window-size or --site-size leaves that measurement out.\n";

// Parses the arguments after the program name; throws Error naming a bad one.
BenchOptions ParseBenchOptions(const std::vector<std::string>& args);

}  // namespace marksend::bench
