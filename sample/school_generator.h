// Writes the sample school database: a Thai secondary school with students
// of ม.1 to ม.6 over three academic years. Thread rule: one call at a time
// per output file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

namespace marksend::sample {

struct SampleOptions {
  int students = 300;      // students with a class room in the chosen year
  std::uint64_t seed = 1;  // the same seed and options give the same bytes
  int year = 2566;         // the chosen Buddhist-era academic year
  // Called now and then with the persons written so far and their total.
  std::function<void(int done, int total)> progress;
};

// Creates the database at path, which must not exist yet. Throws Error on
// any failure; the caller removes a half-written file.
void WriteSampleSchool(const std::filesystem::path& path, const SampleOptions& options);

}  // namespace marksend::sample
