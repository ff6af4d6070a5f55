#include "platform/db/query.h"

#include <algorithm>

#include "platform/error.h"

namespace marksend::db {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

void AssignLower(std::string& out, std::string_view text) {
  out.assign(text);
  std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
}

// name equals lower (already in lower case) but for ASCII case.
bool EqualsLower(std::string_view name, std::string_view lower) {
  if (name.size() != lower.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (LowerAscii(name[i]) != lower[i]) return false;
  return true;
}

const Value kNull{Null{}};

}  // namespace

const Value& Field::value() const { return query_.Cell(column_); }

void Query::SetStatement(std::vector<std::string> lines) {
  Close();
  sql_ = std::move(lines);
}

void Query::Open() {
  if (active_) return;
  text_.clear();
  for (size_t i = 0; i < sql_.size(); ++i) {
    if (i) text_ += '\n';
    text_ += sql_[i];
  }
  result_ = connection_.OpenSession().Execute(text_);
  // A query is mostly reopened with the same columns; assigning in place
  // then reuses every buffer.
  lowerColumns_.resize(result_.columns.size());
  for (size_t i = 0; i < result_.columns.size(); ++i) AssignLower(lowerColumns_[i], result_.columns[i]);
  rows_ = result_.RowCount();
  row_ = 0;
  active_ = true;
}

void Query::Close() {
  active_ = false;
  result_ = ResultSet{};  // the column names stay for the next Open to reuse; unread while closed
  rows_ = row_ = 0;
}

Field Query::FieldByName(std::string_view name) const {
  if (!active_) throw Error("The query is not open; cannot read the column \"" + std::string(name) + "\".");
  // A handful of columns: a scan beats hashing, and the first of a repeated
  // name wins.
  for (size_t i = 0; i < lowerColumns_.size(); ++i)
    if (EqualsLower(name, lowerColumns_[i])) return Field(*this, i, std::string(name));
  throw Error("The result has no column \"" + std::string(name) + "\".");
}

const Value& Query::Cell(size_t column) const {
  if (rows_ == 0) return kNull;
  const size_t row = std::min(row_, rows_ - 1);  // past the end the last row stays current
  return result_.cells[row * result_.columns.size() + column];
}

}  // namespace marksend::db
