// The property check of the fuzz targets: a failed property aborts, so that
// libFuzzer keeps the input that broke it. Single-threaded, like the targets.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace marksend::fuzz {

// Aborts with what was expected and the text it was checked on when ok is false.
inline void Check(bool ok, const char* property, std::string_view text = {}) {
  if (ok) return;
  std::fprintf(stderr, "property failed: %s\n  on: \"%.*s\"\n", property, static_cast<int>(text.size()),
               text.data());
  std::abort();
}

}  // namespace marksend::fuzz
