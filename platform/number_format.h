// The number patterns of the documents. Pure functions; thread-safe.
// Large values print every digit (no exponent); NaN and infinities, which no
// grade can be, are written as "0".
#pragma once

#include <string>

namespace marksend {

// "###0": the value rounded to a whole number, halves away from zero, decided
// on the value's decimal form to 18 significant digits. Never "-0".
std::string FormatWhole(double value);

// "###0.#": the value rounded to one decimal the same way; the decimal point
// is left out when that decimal is 0. "." separates; never "-0".
std::string FormatOneDecimal(double value);

}  // namespace marksend
