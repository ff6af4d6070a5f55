// marksend-sample: writes a new sample school database for the export.
//   marksend-sample --out FILE [--students N] [--seed S] [--year YEAR]
// The file is written beside its final name and renamed over it, so an
// existing file is replaced whole or not at all.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include "platform/error.h"
#include "sample/school_generator.h"

namespace {

constexpr int kUsageExit = 64;

constexpr const char* kUsage =
    "usage: marksend-sample --out FILE [--students N] [--seed S] [--year YEAR]\n"
    "  --students N  students with a class room in YEAR (default 300)\n"
    "  --seed S      the same seed gives the same file (default 1)\n"
    "  --year YEAR   Buddhist-era academic year (default: the current one)\n";

// The academic year in which today falls, taking 16 May as its first day.
int CurrentAcademicYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  const int year = local.tm_year + 1900 + 543;
  const bool beforeStart = local.tm_mon + 1 < 5 || (local.tm_mon + 1 == 5 && local.tm_mday < 16);
  return beforeStart ? year - 1 : year;
}

bool ParseNumber(std::string_view text, long long low, long long high, long long& value) {
  if (text.empty() || text.size() > 18) return false;
  long long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n < low || n > high) return false;
  value = n;
  return true;
}

void Replace(const std::filesystem::path& out, const marksend::sample::SampleOptions& options) {
  namespace fs = std::filesystem;
  const fs::path temp = out.parent_path() / (out.filename().string() + ".tmp-" + std::to_string(getpid()));
  std::error_code ec;
  fs::remove(temp, ec);
  try {
    marksend::sample::WriteSampleSchool(temp, options);
    fs::rename(temp, out);
  } catch (...) {
    fs::remove(temp, ec);
    throw;
  }
}

}  // namespace

int main(int argc, char** argv) {
  marksend::sample::SampleOptions options;
  options.year = CurrentAcademicYear();
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (i + 1 >= argc) {
      std::cerr << "marksend-sample: " << arg << (arg.substr(0, 2) == "--" ? " needs a value\n" : ": unknown argument\n")
                << kUsage;
      return kUsageExit;
    }
    const std::string_view value = argv[++i];
    long long n = 0;
    if (arg == "--out" && !value.empty()) {
      out = value;
    } else if (arg == "--students" && ParseNumber(value, 1, 1'000'000, n)) {
      options.students = static_cast<int>(n);
    } else if (arg == "--seed" && ParseNumber(value, 0, 999'999'999'999'999'999, n)) {
      options.seed = static_cast<std::uint64_t>(n);
    } else if (arg == "--year" && ParseNumber(value, 2400, 2800, n)) {
      options.year = static_cast<int>(n);
    } else {
      std::cerr << "marksend-sample: bad argument " << arg << " " << value << "\n" << kUsage;
      return kUsageExit;
    }
  }
  if (out.empty()) {
    std::cerr << "marksend-sample: --out FILE is required\n" << kUsage;
    return kUsageExit;
  }
  if (options.students >= 2000) {
    options.progress = [](int done, int total) {
      std::fprintf(stderr, "marksend-sample: %d of %d persons written\n", done, total);
    };
  }
  try {
    Replace(std::filesystem::u8path(out), options);
  } catch (const std::exception& e) {
    std::cerr << "marksend-sample: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
