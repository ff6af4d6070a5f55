#include "platform/db/statement_shape.h"

#include <charconv>

#include "platform/db/sql_characters.h"

namespace marksend::db {

namespace {

using sql::IsDigit;
using sql::IsSpace;
using sql::IsWordChar;
using sql::IsWordStart;
using sql::QuotedEnd;

bool SameWord(std::string_view word, std::string_view upper) {
  if (word.size() != upper.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if ((static_cast<unsigned char>(word[i]) & ~0x20) != static_cast<unsigned char>(upper[i])) return false;
  return true;
}

bool IsComparison(std::string_view op) {
  return op == "=" || op == "==" || op == "<>" || op == "!=" || op == "<" || op == ">" || op == "<=" ||
         op == ">=";
}

}  // namespace

bool ShapeOfStatement(std::string_view sql, StatementShape& shape) {
  shape.text.clear();
  shape.values.clear();
  const size_t n = sql.size();
  auto at = [&](size_t k) -> unsigned char { return k < n ? static_cast<unsigned char>(sql[k]) : 0; };
  size_t copied = 0;            // sql[0, copied) is in shape.text
  int depth = 0;                // parentheses
  bool first = true;            // no significant token yet
  bool pastFrom = false;        // the statement's own FROM has been seen
  std::string_view previous;    // the last significant token
  size_t i = 0;
  while (i < n) {
    const size_t start = i;
    const unsigned char c = at(i);
    if (IsSpace(c)) {
      while (i < n && IsSpace(at(i))) ++i;
      continue;
    }
    if (c == '-' && at(i + 1) == '-') {
      while (i < n && at(i) != '\n') ++i;
      continue;
    }
    if (c == '/' && at(i + 1) == '*') {
      const size_t close = sql.find("*/", i + 2);
      i = close == std::string_view::npos ? n : close + 2;
      continue;
    }
    if (c == '\'') {
      i = QuotedEnd(sql, i, '\'', true);
    } else if (c == '"' || c == '`') {
      i = QuotedEnd(sql, i, static_cast<char>(c), true);
    } else if (c == '[') {
      i = QuotedEnd(sql, i, ']', false);
    } else if (c == '?' || ((c == ':' || c == '@' || c == '$' || c == '#') && IsWordChar(at(i + 1)))) {
      return false;  // parameters of its own
    } else if (IsDigit(c) || (c == '.' && IsDigit(at(i + 1)))) {
      bool whole = c != '.';
      while (i < n && (IsWordChar(at(i)) || at(i) == '.')) {
        const unsigned char d = at(i);
        if (!IsDigit(d)) whole = false;
        if ((d == 'e' || d == 'E') && (at(i + 1) == '+' || at(i + 1) == '-')) ++i;  // an exponent's sign
        ++i;
      }
      std::int64_t value = 0;
      const char* begin = sql.data() + start;
      // Eighteen digits always fit; longer ones SQLite may read as a real.
      if (whole && pastFrom && IsComparison(previous) && i - start <= 18 &&
          std::from_chars(begin, sql.data() + i, value).ec == std::errc()) {
        shape.text.append(sql.substr(copied, start - copied));
        shape.text += '?';
        copied = i;
        shape.values.push_back(value);
      }
    } else if (IsWordStart(c)) {
      while (i < n && IsWordChar(at(i))) ++i;
      const std::string_view word = sql.substr(start, i - start);
      if (first && !SameWord(word, "SELECT")) return false;
      if (depth == 0 && SameWord(word, "FROM")) pastFrom = true;
    } else {
      const std::string_view two = sql.substr(i, 2);
      if (two == "<>" || two == "!=" || two == "<=" || two == ">=" || two == "==" || two == "||" || two == "<<" ||
          two == ">>" || two == "->")
        i += 2;
      else
        ++i;
      if (c == '(') ++depth;
      if (c == ')' && depth > 0) --depth;
    }
    if (first && !IsWordStart(c)) return false;
    first = false;
    previous = sql.substr(start, i - start);
  }
  if (shape.values.empty()) return false;
  shape.text.append(sql.substr(copied));
  return true;
}

}  // namespace marksend::db
