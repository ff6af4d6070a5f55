#include "platform/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace marksend {
namespace {

constexpr int kSignificant = 18;

// The value rounded to `places` decimals, halves away from zero, judged on
// its 18-significant-digit decimal form (so a double stored just below a
// half rounds down, as the decimal form shows it). Trailing zero decimals are
// left out. Non-finite values have no number to show and are written as "0".
std::string Format(double value, int places) {
  if (!std::isfinite(value)) return "0";
  const bool negative = std::signbit(value);
  // d.ddddddddddddddddde±x: 18 digits with the point after the first.
  char sci[40] = {};  // to_chars writes no terminator; atoi below needs one
  const auto res = std::to_chars(sci, sci + sizeof sci, std::fabs(value), std::chars_format::scientific,
                                 kSignificant - 1);
  if (res.ec != std::errc()) return "0";
  char digits[kSignificant];
  digits[0] = sci[0];
  for (int i = 1; i < kSignificant; ++i) digits[i] = sci[i + 1];
  const int exponent = std::atoi(sci + kSignificant + 2);  // after "d." + 17 digits + "e"

  // The value is 0.d0d1...d17 * 10^(exponent + 1). Keep the digits down to
  // 10^-places; `kept` may be negative (the value is far below the unit) or
  // exceed the digits held (nothing to round).
  const int kept = exponent + 1 + places;
  std::string number;  // the kept digits, scaled by 10^places
  if (kept >= kSignificant) {
    number.assign(digits, kSignificant);
    number.append(static_cast<std::size_t>(kept - kSignificant), '0');
  } else {
    if (kept > 0) number.assign(digits, static_cast<std::size_t>(kept));
    if (kept >= 0 && digits[kept] >= '5') {
      std::size_t i = number.size();
      while (i > 0 && number[i - 1] == '9') number[--i] = '0';
      if (i == 0) number.insert(number.begin(), '1');
      else ++number[i - 1];
    }
  }
  // At least one digit before the point.
  if (number.size() < static_cast<std::size_t>(places) + 1)
    number.insert(0, static_cast<std::size_t>(places) + 1 - number.size(), '0');

  std::string out;
  out.reserve(number.size() + 2);
  if (negative && number.find_first_not_of('0') != std::string::npos) out += '-';
  const std::size_t whole = number.size() - static_cast<std::size_t>(places);
  out.append(number, 0, whole);
  std::size_t last = number.find_last_not_of('0');
  if (last != std::string::npos && last >= whole) {
    out += '.';
    out.append(number, whole, last + 1 - whole);
  }
  return out;
}

}  // namespace

std::string FormatWhole(double value) { return Format(value, 0); }

std::string FormatOneDecimal(double value) { return Format(value, 1); }

}  // namespace marksend
