// The character classes and quoted runs of SQL text, shared by the statement
// rewriters of the SQLite provider. Pure; thread-safe.
#pragma once

#include <cstddef>
#include <string_view>

namespace marksend::db::sql {

inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool IsWordStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}
inline bool IsWordChar(unsigned char c) { return IsWordStart(c) || IsDigit(c) || c == '$'; }
inline bool IsSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Past a quoted run opened at pos (the opening quote); a doubled closing quote
// stands for itself when doubling. An unterminated run takes the rest.
inline std::size_t QuotedEnd(std::string_view sql, std::size_t pos, char close, bool doubling) {
  for (std::size_t i = pos + 1; i < sql.size(); ++i) {
    if (sql[i] != close) continue;
    if (doubling && i + 1 < sql.size() && sql[i + 1] == close) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return sql.size();
}

}  // namespace marksend::db::sql
