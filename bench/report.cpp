#include "bench/report.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/error.h"

namespace marksend::bench {

namespace {

double Mib(long kib) { return static_cast<double>(kib) / 1024.0; }
double MibOfBytes(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

std::string Format(const char* pattern, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

std::string JsonText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      out += Format("\\u%04x", static_cast<unsigned char>(c));
      continue;
    }
    out += c;
  }
  return out + "\"";
}

void SeriesJson(std::ostream& out, const char* name, const Series& s) {
  out << "      " << JsonText(name) << ": {\"median_seconds\": " << Format("%.4f", s.MedianSeconds())
      << ", \"seconds\": [";
  for (size_t i = 0; i < s.runs.size(); ++i) out << (i ? ", " : "") << Format("%.4f", s.runs[i].seconds);
  out << "], \"cpu_seconds\": [";
  for (size_t i = 0; i < s.runs.size(); ++i) out << (i ? ", " : "") << Format("%.4f", s.runs[i].cpuSeconds);
  out << "], \"peak_kib\": " << s.PeakKib() << ", \"growth_kib\": " << s.GrowthKib() << "}";
}

}  // namespace

namespace {

double Median(std::vector<double> times) {
  if (times.empty()) return 0;
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

}  // namespace

double Series::MedianSeconds() const {
  std::vector<double> times;
  for (const auto& r : runs) times.push_back(r.seconds);
  return Median(times);
}

double Series::MedianCpuSeconds() const {
  std::vector<double> times;
  for (const auto& r : runs) times.push_back(r.cpuSeconds);
  return Median(times);
}

long Series::PeakKib() const {
  long peak = 0;
  for (const auto& r : runs) peak = std::max(peak, r.peakKib);
  return peak;
}

long Series::GrowthKib() const {
  long growth = 0;
  for (const auto& r : runs) growth = std::max(growth, r.peakKib - r.residentBeforeKib);
  return growth;
}

void PrintTable(std::FILE* out, const RunInfo& info, const std::vector<SizeFigures>& sizes) {
  std::fprintf(out, "\n%s; median of %d runs; `%s`\n\n", info.machine.c_str(), info.runs, info.command.c_str());
  std::fprintf(out,
               "| students | score rows | statements | export s | floor s | statements/s | export/floor | same, CPU "
               "| window s | window/headless | same, CPU | peak MiB | growth MiB | documents MiB | growth/documents | look-up ms |\n");
  std::fprintf(out, "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (const auto& s : sizes) {
    const double engine = s.engine.MedianSeconds();
    const double floor = s.floor.MedianSeconds();
    const double docs = MibOfBytes(s.documentBytes);
    std::string window = "-", windowRatio = "-", windowCpu = "-", lookup = "-";
    if (s.window) {
      window = Format("%.2f", s.window->MedianSeconds());
      windowRatio = Format("%.2f", s.window->MedianSeconds() / engine);
      windowCpu = Format("%.2f", s.window->MedianCpuSeconds() / s.engine.MedianCpuSeconds());
    }
    if (s.lookupSeconds) lookup = Format("%.1f", *s.lookupSeconds * 1000.0);
    std::fprintf(out,
                 "| %d | %d | %zu | %.2f | %.2f | %.0f | %.2f | %.2f | %s | %s | %s | %.1f | %.1f | %.1f | %.2f | %s |\n",
                 s.recording.students, s.recording.scoreRows, s.recording.statements, engine, floor,
                 static_cast<double>(s.recording.statements) / engine, engine / floor,
                 s.engine.MedianCpuSeconds() / s.floor.MedianCpuSeconds(), window.c_str(), windowRatio.c_str(),
                 windowCpu.c_str(), Mib(s.engine.PeakKib()), Mib(s.engine.GrowthKib()), docs,
                 Mib(s.engine.GrowthKib()) / docs, lookup.c_str());
  }
  std::fprintf(out,
               "\nSeconds are wall-clock medians; \"same, CPU\" is the ratio of the median processor times (all "
               "threads), which other load on the machine disturbs less. peak: the export process's highest "
               "resident memory; growth: that peak less what the process held when the export began.\n");
  std::fflush(out);
}

void WriteJson(const std::filesystem::path& path, const RunInfo& info, const std::vector<SizeFigures>& sizes) {
  std::ostringstream out;
  out << "{\n  \"command\": " << JsonText(info.command) << ",\n  \"machine\": " << JsonText(info.machine)
      << ",\n  \"runs\": " << info.runs << ",\n  \"sizes\": [\n";
  for (size_t i = 0; i < sizes.size(); ++i) {
    const auto& s = sizes[i];
    const double engine = s.engine.MedianSeconds();
    out << "    {\n      \"students\": " << s.recording.students << ", \"score_rows\": " << s.recording.scoreRows
        << ", \"statements\": " << s.recording.statements << ", \"document_bytes\": " << s.documentBytes << ",\n";
    SeriesJson(out, "export", s.engine);
    out << ",\n";
    SeriesJson(out, "floor", s.floor);
    out << ",\n      \"statements_per_second\": "
        << Format("%.1f", static_cast<double>(s.recording.statements) / engine)
        << ", \"export_per_floor\": " << Format("%.4f", engine / s.floor.MedianSeconds());
    if (s.window) {
      out << ",\n";
      SeriesJson(out, "window", *s.window);
      out << ",\n      \"window_per_headless\": " << Format("%.4f", s.window->MedianSeconds() / engine);
    }
    out << ",\n      \"growth_per_documents\": "
        << Format("%.4f", static_cast<double>(s.engine.GrowthKib()) * 1024.0 / static_cast<double>(s.documentBytes));
    if (s.lookupSeconds)
      out << ",\n      \"lookup_median_seconds\": " << Format("%.5f", *s.lookupSeconds)
          << ", \"lookup_requests\": " << s.lookupRequests;
    out << "\n    }" << (i + 1 < sizes.size() ? "," : "") << "\n";
  }
  out << "  ]\n}\n";
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << out.str();
  file.close();
  if (!file) throw Error("Cannot write " + path.string() + ".");
}

}  // namespace marksend::bench
