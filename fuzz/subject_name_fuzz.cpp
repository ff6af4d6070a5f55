// Fuzzes the subject-name cleaning. Properties: the cleaned name holds no
// character below "0" (so no "&", "/", blank or control character), is
// well-formed UTF-8, and is already what code page 874 can carry.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "export/subject_name.h"
#include "fuzz/fuzz_check.h"
#include "platform/codepage874.h"
#include "platform/utf8.h"

using marksend::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);
  const std::string cleaned = marksend::CleanSubjectName(name);
  for (const char c : cleaned)
    Check(static_cast<unsigned char>(c) >= '0', "the cleaned name holds no character below \"0\"", cleaned);
  Check(marksend::utf8::IsValid(cleaned), "the cleaned name is well-formed UTF-8", cleaned);
  Check(marksend::cp874::RoundTrip(cleaned) == cleaned, "the cleaned name passes through code page 874",
        cleaned);
  return 0;
}
