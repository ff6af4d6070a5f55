// A statement on a Connection and its fetched rows, after the query component
// it stands in for. Open fetches every row, so RecordCount is known at once.
// Thread rule: one thread at a time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/db/connection.h"
#include "platform/db/value.h"

namespace marksend::db {

class Query;

// One column of a query's current row; reads follow the rules of value.h.
class Field {
 public:
  std::string AsString() const { return marksend::db::AsText(value()); }
  std::int64_t AsInteger() const { return marksend::db::AsInteger(value(), name_); }
  double AsFloat() const { return marksend::db::AsFloat(value(), name_); }
  DateTime AsDate() const { return marksend::db::AsDate(value(), name_); }
  bool IsNull() const { return std::holds_alternative<Null>(value()); }

 private:
  friend class Query;
  Field(const Query& query, size_t column, std::string name)
      : query_(query), column_(column), name_(std::move(name)) {}
  const Value& value() const;
  const Query& query_;
  size_t column_;
  std::string name_;
};

class Query {
 public:
  explicit Query(Connection& connection) : connection_(connection) {}

  // The statement as a list of lines, joined by line breaks when opened.
  std::vector<std::string>& SQL() { return sql_; }
  void AddLine(std::string line) { sql_.push_back(std::move(line)); }

  // Closes if open, clears the statement, then sets the given lines.
  void SetStatement(std::vector<std::string> lines);

  // Runs the statement and fetches all rows; the cursor is on the first row.
  void Open();
  void Close();
  bool Active() const { return active_; }

  int RecordCount() const { return static_cast<int>(rows_); }
  void First() { row_ = 0; }
  void Next() {
    if (row_ < rows_) ++row_;
  }
  bool Eof() const { return row_ >= rows_; }

  // The named column (case-insensitive) of the current row. Throws Error when
  // the query is closed or the result has no such column. Without rows every
  // column reads as NULL.
  Field FieldByName(std::string_view name) const;

 private:
  friend class Field;
  const Value& Cell(size_t column) const;

  Connection& connection_;
  std::vector<std::string> sql_;
  bool active_ = false;
  ResultSet result_;
  std::vector<std::string> lowerColumns_;  // the column names in lower case
  std::string text_;                       // the joined statement, kept for its buffer
  size_t rows_ = 0;
  size_t row_ = 0;
};

}  // namespace marksend::db
