// Calendar dates and their text forms. Pure functions; thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace marksend {

struct DateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const DateTime&) const = default;
};

// "dd/MM/" followed by the Buddhist-era year (Gregorian year + 543).
std::string BuddhistBirthDateText(const DateTime& date);

// "dd/MM/yyyy", plus " HH:mm:ss" when the time is not midnight.
std::string DateTimeText(const DateTime& date);

// Parses an ISO-8601 date or date-time ("yyyy-MM-dd", optionally followed by
// "T" or " " and "HH:mm[:ss[.fff]]"). Throws Error on any other text.
// A trailing "Z" is accepted; fractions of a second are dropped.
DateTime ParseIsoDateTime(const std::string& text);

// The same without throwing (for hot paths): false, out untouched, on bad text.
bool TryParseIsoDateTime(std::string_view text, DateTime& out);

// Today's local date, at midnight.
DateTime Today();

}  // namespace marksend
