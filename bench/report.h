// The benchmark's figures and their two forms: a Markdown table for people
// and JSON for machines. Thread-safe (pure, apart from the output).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/measurements.h"

namespace marksend::bench {

// Every run of one kind on one school, and their median.
struct Series {
  std::vector<Measurement> runs;
  double MedianSeconds() const;
  double MedianCpuSeconds() const;
  long PeakKib() const;    // the highest peak of the runs
  long GrowthKib() const;  // the highest peak less the memory held before
};

struct SizeFigures {
  int size = 0;  // students asked of the generator
  Recording recording;
  std::uint64_t documentBytes = 0;  // tev10xml.xml + subjectxml.xml
  Series engine;                    // the export, headless
  Series floor;                     // the statements through the C API
  std::optional<Series> window;     // the export with the window as its host
  std::optional<double> lookupSeconds;
  int lookupRequests = 0;
};

struct RunInfo {
  std::string command;  // the command line that made the figures
  std::string machine;  // a short description of the machine
  int runs = 0;
};

void PrintTable(std::FILE* out, const RunInfo& info, const std::vector<SizeFigures>& sizes);
// Throws Error when the file cannot be written.
void WriteJson(const std::filesystem::path& path, const RunInfo& info, const std::vector<SizeFigures>& sizes);

}  // namespace marksend::bench
