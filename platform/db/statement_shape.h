// The shape of a SELECT statement for the SQLite provider's plan cache:
// statements that differ only in the whole numbers they compare with share
// one prepared statement, those numbers bound as its parameters (as SQL
// Server's simple parameterization does). Pure; thread-safe.
//
// Only a whole number right after a comparison operator (= == <> != < > <=
// >=) and after the statement's own FROM is lifted: there a bound value means
// exactly what the written one does, while a number in the result columns
// would change a column's name, and ORDER BY 1 or LIMIT 5 mean something
// else as parameters. A statement with parameters of its own, or that is not
// a SELECT, has no shape.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace marksend::db {

struct StatementShape {
  std::string text;                  // the statement with each lifted number written "?"
  std::vector<std::int64_t> values;  // the lifted numbers, in order
};

// Fills shape and returns true when the statement is a SELECT with at least
// one number to lift; returns false otherwise (shape then holds nothing of use).
bool ShapeOfStatement(std::string_view sql, StatementShape& shape);

}  // namespace marksend::db
