// Fuzzes the number patterns on doubles taken 8 bytes at a time from the
// input. Properties: formatting never throws; a finite value gives a plain
// number text (optional "-", digits without leading zeros, for "###0.#" at
// most one non-zero decimal; never "-0") whose sign is the value's and whose
// value is the input rounded to the pattern's step; a non-finite one "0".
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/number_format.h"

namespace {

using marksend::fuzz::Check;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// -?(0|[1-9][0-9]*)(\.[1-9])?, the decimal part only when allowed.
bool IsPlainNumber(const std::string& text, bool decimal) {
  std::size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
  const std::size_t start = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::size_t digits = i - start;
  if (digits == 0 || (digits > 1 && text[start] == '0')) return false;
  if (i == text.size()) return true;
  return decimal && i + 2 == text.size() && text[i] == '.' && text[i + 1] >= '1' && text[i + 1] <= '9';
}

void CheckPattern(double value, bool decimal) {
  std::string text;
  try {
    text = decimal ? marksend::FormatOneDecimal(value) : marksend::FormatWhole(value);
  } catch (...) {
    Check(false, "formatting never throws");
  }
  if (!std::isfinite(value)) {
    Check(text == "0", "a non-finite value is written as 0", text);
    return;
  }
  Check(IsPlainNumber(text, decimal), "a finite value gives a plain number text", text);
  Check(text != "-0", "never -0", text);
  Check(text[0] != '-' || value < 0, "only a negative value gets a minus", text);
  // The text is the value rounded to the step (1 or 0.1): within half a
  // step, plus the error of the 18-digit decimal form and of reading it back.
  const double step = decimal ? 0.1 : 1.0;
  const double shown = std::strtod(text.c_str(), nullptr);
  Check(std::fabs(shown - value) <= step / 2 + std::fabs(value) * 1e-15, "the text is the value rounded", text);
  if (shown != 0) Check((shown < 0) == (value < 0), "the text keeps the value's sign", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (std::size_t at = 0; at + sizeof(double) <= size; at += sizeof(double)) {
    double value;
    std::memcpy(&value, data + at, sizeof value);
    CheckPattern(value, false);
    CheckPattern(value, true);
  }
  return 0;
}
