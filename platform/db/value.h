// One value read from a database, and the rules by which every provider
// turns it into text, an integer, a float or a date. Thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/date_format.h"

namespace marksend::db {

struct Null {
  bool operator==(const Null&) const = default;
};

// A stored value: NULL, an integer, a floating-point number, a text (UTF-8)
// or a date (from a column declared as a date or time).
using Value = std::variant<Null, std::int64_t, double, std::string, DateTime>;

// The reading rules (column names the column in an error message):
// NULL reads as "", 0, 0.0 and 30 December 1899; an integer as its digits; a
// float as "%.15g" and, as an integer, rounded half away from zero; a text as
// stored, and as a number only when it is a number text; a date as
// "dd/MM/yyyy" (plus " HH:mm:ss" when not midnight). Other reads throw Error.
std::string AsText(const Value& value);
std::int64_t AsInteger(const Value& value, const std::string& column);
double AsFloat(const Value& value, const std::string& column);
DateTime AsDate(const Value& value, const std::string& column);

}  // namespace marksend::db
