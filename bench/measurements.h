// The benchmark's measurements. Each runs in a fresh child process (this
// program again, or marksend-bench-window) so that each has a peak memory of
// its own; the parent side starts the child and reads back its figures.
// Thread rule: one thread at a time.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "bench/figures.h"

namespace marksend::bench {

struct Measurement {
  double seconds = 0;
  double cpuSeconds = 0;       // processor time of the measured part, all threads
  long residentBeforeKib = 0;  // when the measured part began
  long peakKib = 0;            // the child's peak resident memory
};

struct Recording {
  int students = 0;
  int scoreRows = 0;
  std::size_t statements = 0;
};

// One export through the real engine with a recording session, writing the
// real pages into out and every statement into statementsFile.
Recording RecordRun(const std::filesystem::path& db, const std::filesystem::path& out, const std::string& year,
                    const std::filesystem::path& statementsFile);
// One export through the engine with a host that does nothing.
Measurement MeasureExport(const std::filesystem::path& db, const std::filesystem::path& out, const std::string& year);
// The recorded statements replayed through the SQLite C API.
Measurement MeasureFloor(const std::filesystem::path& db, const std::filesystem::path& statementsFile);
// One export with the main window as its host, run by windowProgram.
Measurement MeasureWindow(const std::filesystem::path& windowProgram, const std::filesystem::path& db,
                          const std::filesystem::path& out, const std::string& year);

// The child's side: argv after "--child". Prints its figures as "key value"
// lines and returns the exit code.
int RunChild(int argc, char** argv);

// The seconds and memory figures of a measuring child; throws Error when one is missing.
Measurement MeasurementOf(const Figures& figures);

}  // namespace marksend::bench
