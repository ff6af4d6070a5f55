#include "bench/measurements.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "bench/bench_host.h"
#include "bench/child_process.h"
#include "bench/floor_replay.h"
#include "bench/process_memory.h"
#include "bench/recording_session.h"
#include "bench/statement_file.h"
#include "export/export_thread.h"
#include "platform/db/connection.h"
#include "platform/db/sqlite_provider.h"
#include "platform/error.h"

namespace marksend::bench {

namespace fs = std::filesystem;

namespace {

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Text(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6f", value);
  return buffer;
}

void OpenFile(db::Connection& connection, const fs::path& db) {
  connection.ProviderName = "Access";
  connection.Database = fs::absolute(db).string();
  connection.Open();
}

int ChildRecord(const fs::path& db, const fs::path& out, const std::string& year, const fs::path& file) {
  auto recorder = std::make_unique<RecordingSession>(db::OpenSqliteSession(fs::absolute(db)));
  RecordingSession& recording = *recorder;
  db::Connection connection;
  connection.Open(std::move(recorder));
  BenchHost host(out.string(), year, true);
  const auto start = std::chrono::steady_clock::now();
  TExportThread(host, connection).Execute();
  const double seconds = Since(start);
  host.RequireFinished();
  WriteStatements(file, recording.Statements());
  PrintFigures({{"students", std::to_string(host.Students())},
                {"score_rows", std::to_string(host.ScoreRows())},
                {"statements", std::to_string(recording.Statements().size())},
                {"seconds", Text(seconds)}});
  return 0;
}

int ChildExport(const fs::path& db, const fs::path& out, const std::string& year) {
  db::Connection connection;
  OpenFile(connection, db);
  BenchHost host(out.string(), year, false);
  const long before = ResidentKib();
  const double cpuBefore = ProcessorSeconds();
  const auto start = std::chrono::steady_clock::now();
  TExportThread(host, connection).Execute();
  const double seconds = Since(start);
  const double cpu = ProcessorSeconds() - cpuBefore;
  host.RequireFinished();
  PrintFigures({{"seconds", Text(seconds)},
                {"cpu_seconds", Text(cpu)},
                {"rss_before_kib", std::to_string(before)},
                {"peak_kib", std::to_string(PeakResidentKib())}});
  return 0;
}

int ChildFloor(const fs::path& db, const fs::path& file) {
  const std::vector<std::string> statements = ReadStatements(file);
  const long before = ResidentKib();
  const double cpuBefore = ProcessorSeconds();
  const double seconds = ReplayStatements(db, statements);
  const double cpu = ProcessorSeconds() - cpuBefore;
  PrintFigures({{"seconds", Text(seconds)},
                {"cpu_seconds", Text(cpu)},
                {"rss_before_kib", std::to_string(before)},
                {"peak_kib", std::to_string(PeakResidentKib())}});
  return 0;
}

}  // namespace

Measurement MeasurementOf(const Figures& figures) {
  return {std::stod(Figure(figures, "seconds")), std::stod(Figure(figures, "cpu_seconds")),
          std::stol(Figure(figures, "rss_before_kib")), std::stol(Figure(figures, "peak_kib"))};
}

Recording RecordRun(const fs::path& db, const fs::path& out, const std::string& year, const fs::path& statementsFile) {
  fs::create_directories(out);
  const auto figures = ParseFigures(RunCapture(
      {SelfPath().string(), "--child", "record", db.string(), out.string(), year, statementsFile.string()}));
  return {std::stoi(Figure(figures, "students")), std::stoi(Figure(figures, "score_rows")),
          std::stoul(Figure(figures, "statements"))};
}

Measurement MeasureExport(const fs::path& db, const fs::path& out, const std::string& year) {
  fs::create_directories(out);
  return MeasurementOf(
      ParseFigures(RunCapture({SelfPath().string(), "--child", "export", db.string(), out.string(), year})));
}

Measurement MeasureFloor(const fs::path& db, const fs::path& statementsFile) {
  return MeasurementOf(
      ParseFigures(RunCapture({SelfPath().string(), "--child", "floor", db.string(), statementsFile.string()})));
}

Measurement MeasureWindow(const fs::path& windowProgram, const fs::path& db, const fs::path& out,
                          const std::string& year) {
  fs::create_directories(out);
  return MeasurementOf(ParseFigures(RunCapture({windowProgram.string(), db.string(), out.string(), year})));
}

int RunChild(int argc, char** argv) {
  const std::string kind = argc > 0 ? argv[0] : "";
  try {
    if (kind == "record" && argc == 5) return ChildRecord(argv[1], argv[2], argv[3], argv[4]);
    if (kind == "export" && argc == 4) return ChildExport(argv[1], argv[2], argv[3]);
    if (kind == "floor" && argc == 3) return ChildFloor(argv[1], argv[2]);
    std::fprintf(stderr, "marksend-bench: unknown child measurement\n");
    return 64;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "marksend-bench (%s): %s\n", kind.c_str(), e.what());
    return 1;
  }
}

}  // namespace marksend::bench
