#include "platform/date_format.h"

#include <ctime>

#include "platform/error.h"

namespace marksend {

namespace {

// Appends value as exactly `width` digits (values here are never negative
// and never wider than width once the ranges are checked).
void AppendDigits(std::string& out, int value, int width) {
  char digits[8];
  for (int i = width - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(digits, static_cast<size_t>(width));
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly `count` digits at text[pos]; false when any is not a digit.
bool ReadDigits(std::string_view text, size_t pos, size_t count, int& value) {
  if (pos + count > text.size()) return false;
  value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

std::string BuddhistBirthDateText(const DateTime& date) {
  std::string out;
  out.reserve(10);
  AppendDigits(out, date.day, 2);
  out += '/';
  AppendDigits(out, date.month, 2);
  out += '/';
  out += std::to_string(date.year + 543);
  return out;
}

std::string DateTimeText(const DateTime& date) {
  std::string out;
  out.reserve(19);
  AppendDigits(out, date.day, 2);
  out += '/';
  AppendDigits(out, date.month, 2);
  out += '/';
  AppendDigits(out, date.year, 4);
  if (date.hour != 0 || date.minute != 0 || date.second != 0) {
    out += ' ';
    AppendDigits(out, date.hour, 2);
    out += ':';
    AppendDigits(out, date.minute, 2);
    out += ':';
    AppendDigits(out, date.second, 2);
  }
  return out;
}

bool TryParseIsoDateTime(std::string_view text, DateTime& out) {
  DateTime d;
  d.hour = d.minute = d.second = 0;
  if (!ReadDigits(text, 0, 4, d.year) || text.size() < 10 || text[4] != '-' ||
      !ReadDigits(text, 5, 2, d.month) || text[7] != '-' || !ReadDigits(text, 8, 2, d.day))
    return false;
  if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysInMonth(d.year, d.month))
    return false;
  size_t pos = 10;
  if (pos < text.size()) {
    if (text[pos] != 'T' && text[pos] != ' ') return false;
    if (!ReadDigits(text, pos + 1, 2, d.hour) || pos + 3 >= text.size() || text[pos + 3] != ':' ||
        !ReadDigits(text, pos + 4, 2, d.minute))
      return false;
    pos += 6;
    if (pos < text.size() && text[pos] == ':') {
      if (!ReadDigits(text, pos + 1, 2, d.second)) return false;
      pos += 3;
      if (pos < text.size() && text[pos] == '.') {
        const size_t first = ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
        if (pos == first) return false;
      }
    }
    if (pos < text.size() && text[pos] == 'Z') ++pos;
    if (pos != text.size()) return false;
    if (d.hour > 23 || d.minute > 59 || d.second > 59) return false;
  }
  out = d;
  return true;
}

DateTime ParseIsoDateTime(const std::string& text) {
  DateTime result;
  if (!TryParseIsoDateTime(text, result))
    throw Error("\"" + text + "\" is not a date in the form yyyy-MM-dd or yyyy-MM-dd HH:mm:ss.");
  return result;
}

DateTime Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  DateTime today;
  today.year = local.tm_year + 1900;
  today.month = local.tm_mon + 1;
  today.day = local.tm_mday;
  today.hour = today.minute = today.second = 0;
  return today;
}

}  // namespace marksend
