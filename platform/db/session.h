// An open connection of one database provider: the seam between the
// Connection/Query layer and SQLite or ODBC. A session is used by one thread
// at a time.
#pragma once

#include <string>
#include <vector>

#include "platform/db/value.h"

namespace marksend::db {

// All rows of one statement, fetched when the statement ran.
struct ResultSet {
  std::vector<std::string> columns;  // names as the database returned them
  std::vector<Value> cells;          // row after row, columns.size() each
  size_t RowCount() const { return columns.empty() ? 0 : cells.size() / columns.size(); }
};

class Session {
 public:
  virtual ~Session() = default;
  // Runs one statement and fetches all its rows; throws Error with the
  // database's own message when the statement fails.
  virtual ResultSet Execute(const std::string& sql) = 0;
};

}  // namespace marksend::db
