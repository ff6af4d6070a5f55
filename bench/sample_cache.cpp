#include "bench/sample_cache.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/child_process.h"
#include "platform/error.h"

namespace marksend::bench {

namespace fs = std::filesystem;

fs::path CachedSchool(const fs::path& cacheDir, const fs::path& generator, const SampleSchool& school) {
  std::error_code ec;
  const auto built = fs::last_write_time(generator, ec);
  if (ec) throw Error("The generator " + generator.string() + " is missing; build marksend-sample first.");
  const long long stamp = std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::file_clock::to_sys(built).time_since_epoch())
                              .count();
  const std::string prefix = "school-" + std::to_string(school.students) + "-seed" + std::to_string(school.seed) +
                             "-y" + std::to_string(school.year) + "-";
  const fs::path file = cacheDir / (prefix + std::to_string(stamp) + ".db");
  if (fs::exists(file, ec)) return file;

  fs::create_directories(cacheDir);
  for (const auto& entry : fs::directory_iterator(cacheDir)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0) fs::remove_all(entry.path(), ec);  // made by an older generator
  }
  std::fprintf(stderr, "marksend-bench: making a school of %d students in %s\n", school.students,
               file.string().c_str());
  RunCapture({generator.string(), "--out", file.string(), "--students", std::to_string(school.students), "--seed",
              std::to_string(school.seed), "--year", std::to_string(school.year)});
  return file;
}

}  // namespace marksend::bench
