// Sample schools for the benchmark, made once by marksend-sample and kept in
// a cache folder, keyed by size, seed, year and the generator's build time.
// Thread rule: one thread at a time per cache folder.
#pragma once

#include <cstdint>
#include <filesystem>

namespace marksend::bench {

struct SampleSchool {
  int students = 300;
  std::uint64_t seed = 1;
  int year = 2567;
};

// The cached school so described, made first when missing or made by an older
// generator (older files of the same description are removed). Throws Error when the
// generator fails.
std::filesystem::path CachedSchool(const std::filesystem::path& cacheDir, const std::filesystem::path& generator,
                                   const SampleSchool& school);

}  // namespace marksend::bench
