#include "platform/db/value.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/error.h"

namespace marksend::db {

namespace {

// Char columns of SQL Server come padded with spaces; a number text may too.
std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

[[noreturn]] void ThrowUnreadable(const std::string& column, const std::string& shown, const char* what) {
  throw Error("The column \"" + column + "\" holds " + shown + ", which cannot be read as " + what + ".");
}

std::string Quoted(const std::string& text) { return "the text \"" + text + "\""; }

bool ParseIntegerText(std::string_view text, std::int64_t& out) {
  text = TrimSpaces(text);
  const bool plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  if (text.empty() || (plus && text.front() == '-')) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ParseNumberText(std::string_view text, double& out) {
  text = TrimSpaces(text);
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  // Only decimal notation: from_chars would also take "inf" and "nan".
  if (digits.empty() || !((digits.front() >= '0' && digits.front() <= '9') || digits.front() == '.')) return false;
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), out, std::chars_format::general);
  return ec == std::errc() && end == text.data() + text.size();
}

std::string FloatText(double value) {
  char buffer[32];
  // Same digits as printf("%.15g").
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string AsText(const Value& value) {
  switch (value.index()) {
    case 0:
      return {};
    case 1: {
      char buffer[24];
      const auto result = std::to_chars(buffer, buffer + sizeof buffer, *std::get_if<std::int64_t>(&value));
      return std::string(buffer, result.ptr);
    }
    case 2:
      return FloatText(*std::get_if<double>(&value));
    case 3:
      return *std::get_if<std::string>(&value);
    default:
      return DateTimeText(*std::get_if<DateTime>(&value));
  }
}

std::int64_t AsInteger(const Value& value, const std::string& column) {
  switch (value.index()) {
    case 0:
      return 0;
    case 1:
      return *std::get_if<std::int64_t>(&value);
    case 2: {
      const double number = *std::get_if<double>(&value);
      // round() takes halves away from zero; the bounds keep the cast defined.
      const double rounded = std::round(number);
      if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
        ThrowUnreadable(column, "the number " + FloatText(number), "a whole number");
      return static_cast<std::int64_t>(rounded);
    }
    case 3: {
      const auto& text = *std::get_if<std::string>(&value);
      std::int64_t result = 0;
      if (!ParseIntegerText(text, result)) ThrowUnreadable(column, Quoted(text), "a whole number");
      return result;
    }
    default:
      ThrowUnreadable(column, "the date " + DateTimeText(*std::get_if<DateTime>(&value)), "a whole number");
  }
}

double AsFloat(const Value& value, const std::string& column) {
  switch (value.index()) {
    case 0:
      return 0.0;
    case 1:
      return static_cast<double>(*std::get_if<std::int64_t>(&value));
    case 2:
      return *std::get_if<double>(&value);
    case 3: {
      const auto& text = *std::get_if<std::string>(&value);
      double result = 0.0;
      if (!ParseNumberText(text, result)) ThrowUnreadable(column, Quoted(text), "a number");
      return result;
    }
    default:
      ThrowUnreadable(column, "the date " + DateTimeText(*std::get_if<DateTime>(&value)), "a number");
  }
}

DateTime AsDate(const Value& value, const std::string& column) {
  switch (value.index()) {
    case 0:
      return DateTime{};
    case 1:
      ThrowUnreadable(column, "the number " + AsText(value), "a date");
    case 2:
      ThrowUnreadable(column, "the number " + AsText(value), "a date");
    case 3: {
      const auto& text = *std::get_if<std::string>(&value);
      DateTime result;
      if (!TryParseIsoDateTime(text, result)) ThrowUnreadable(column, Quoted(text), "a date (yyyy-MM-dd)");
      return result;
    }
    default:
      return *std::get_if<DateTime>(&value);
  }
}

}  // namespace marksend::db
