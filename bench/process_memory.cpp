#include "bench/process_memory.h"

#include <fstream>
#include <string>

#include <sys/resource.h>

namespace marksend::bench {

namespace {

long StatusField(const char* key) {
  std::ifstream status("/proc/self/status");
  const std::string prefix = std::string(key) + ":";
  for (std::string line; std::getline(status, line);)
    if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
  return 0;
}

}  // namespace

long ResidentKib() { return StatusField("VmRSS"); }

long PeakResidentKib() {
  if (const long hwm = StatusField("VmHWM")) return hwm;
  rusage usage{};
  return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0;
}

double ProcessorSeconds() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace marksend::bench
