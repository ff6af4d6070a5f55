// marksend-bench: times the export on sample schools of several sizes, beside
// the floor its statements set, with the window as host, and the site's
// look-up; prints a Markdown table (and JSON with --json).
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_options.h"
#include "bench/child_process.h"
#include "bench/measurements.h"
#include "bench/report.h"
#include "bench/sample_cache.h"
#include "bench/site_lookup.h"
#include "platform/error.h"

namespace marksend::bench {
namespace {

namespace fs = std::filesystem;

std::string Machine() {
  std::ifstream cpu("/proc/cpuinfo");
  std::string model;
  for (std::string line; std::getline(cpu, line);) {
    if (line.rfind("model name", 0) == 0) {
      model = line.substr(line.find(':') + 2);
      break;
    }
  }
  return std::to_string(std::thread::hardware_concurrency()) + " cores" + (model.empty() ? "" : ", " + model);
}

std::uint64_t DocumentBytes(const fs::path& folder) {
  return fs::file_size(folder / "tev10xml.xml") + fs::file_size(folder / "subjectxml.xml");
}

int Run(const BenchOptions& options, const std::string& command) {
  const fs::path bin = SelfPath().parent_path();
  const fs::path cache = options.cacheDir.empty() ? bin.parent_path() / "bench-cache" : options.cacheDir;
  const fs::path windowProgram = bin / "marksend-bench-window";
  const fs::path router = fs::path(MARKSEND_SOURCE_DIR) / "web" / "router.php";
  const std::string year = std::to_string(options.year);

  std::vector<SizeFigures> all;
  for (const int size : options.sizes) {
    const fs::path db = CachedSchool(cache, bin / "marksend-sample", {size, options.seed, options.year});
    const std::string stem = (cache / db.stem()).string();
    SizeFigures figures;
    figures.size = size;
    std::fprintf(stderr, "marksend-bench: %d students: recording the statements\n", size);
    figures.recording = RecordRun(db, stem + ".site", year, stem + ".statements");
    figures.documentBytes = DocumentBytes(stem + ".site");

    const bool window = size == options.windowSize;
    if (window && !fs::exists(windowProgram))
      std::fprintf(stderr, "marksend-bench: the window is not measured: %s was not built\n",
                   windowProgram.string().c_str());
    if (window && fs::exists(windowProgram)) figures.window.emplace();
    // The kinds take turns, so that a slow spell of the machine is shared.
    for (int run = 1; run <= options.runs; ++run) {
      std::fprintf(stderr, "marksend-bench: %d students: run %d of %d\n", size, run, options.runs);
      figures.engine.runs.push_back(MeasureExport(db, stem + ".export", year));
      figures.floor.runs.push_back(MeasureFloor(db, stem + ".statements"));
      if (figures.window) figures.window->runs.push_back(MeasureWindow(windowProgram, db, stem + ".window", year));
    }
    if (size == options.siteSize) {
      std::fprintf(stderr, "marksend-bench: %d students: timing the site's look-up\n", size);
      const LookupResult lookup = MeasureLookup(stem + ".site", router, options.requests);
      figures.lookupSeconds = lookup.medianSeconds;
      figures.lookupRequests = lookup.requests;
    }
    all.push_back(std::move(figures));
  }

  const RunInfo info{command, Machine(), options.runs};
  PrintTable(stdout, info, all);
  if (options.json) WriteJson(*options.json, info, all);
  return 0;
}

}  // namespace
}  // namespace marksend::bench

int main(int argc, char** argv) {
  using namespace marksend::bench;
  if (argc > 1 && std::string(argv[1]) == "--child") return RunChild(argc - 2, argv + 2);
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string command = "marksend-bench";
  for (const auto& a : args) command += " " + a;
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kBenchUsage, stdout);
    return 0;
  }
  BenchOptions options;
  try {
    options = ParseBenchOptions(args);
  } catch (const marksend::Error& e) {
    std::fprintf(stderr, "marksend-bench: %s\n%s", e.what(), kBenchUsage);
    return 64;
  }
  try {
    return Run(options, command);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "marksend-bench: %s\n", e.what());
    return 1;
  }
}
