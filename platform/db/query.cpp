#include "platform/db/query.h"

#include <algorithm>

#include "platform/error.h"

namespace marksend::db {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return out;
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
  std::string text;
  for (size_t i = 0; i < sql_.size(); ++i) {
    if (i) text += '\n';
    text += sql_[i];
  }
  result_ = connection_.OpenSession().Execute(text);
  columnIndex_.clear();
  for (size_t i = 0; i < result_.columns.size(); ++i)
    columnIndex_.emplace(Lower(result_.columns[i]), i);  // the first of a repeated name wins
  rows_ = result_.RowCount();
  row_ = 0;
  active_ = true;
}

void Query::Close() {
  active_ = false;
  result_ = ResultSet{};
  columnIndex_.clear();
  rows_ = row_ = 0;
}

Field Query::FieldByName(std::string_view name) const {
  if (!active_) throw Error("The query is not open; cannot read the column \"" + std::string(name) + "\".");
  auto found = columnIndex_.find(Lower(name));
  if (found == columnIndex_.end())
    throw Error("The result has no column \"" + std::string(name) + "\".");
  return Field(*this, found->second, std::string(name));
}

const Value& Query::Cell(size_t column) const {
  if (rows_ == 0) return kNull;
  const size_t row = std::min(row_, rows_ - 1);  // past the end the last row stays current
  return result_.cells[row * result_.columns.size() + column];
}

}  // namespace marksend::db
