#include "platform/db/statement_shape.h"

#include <gtest/gtest.h>

#include <optional>

namespace marksend::db {
namespace {

struct ShapeCase {
  const char* sql;
  std::optional<std::string> shape;  // none: the statement has no shape
  std::vector<std::int64_t> values;
};

TEST(StatementShape, LiftsOnlyWholeNumbersComparedWithAfterTheOwnFrom) {
  const ShapeCase cases[] = {
      {"SELECT a FROM t WHERE x = 5", "SELECT a FROM t WHERE x = ?", {5}},
      {"select a, 5 from t where x=12 AND y <> 7 AND z>=0", "select a, 5 from t where x=? AND y <> ? AND z>=?",
       {12, 7, 0}},
      {"SELECT a FROM t\nWHERE x == 3 OR x != 4 OR x < 1 OR x > 2 OR x <= 8",
       "SELECT a FROM t\nWHERE x == ? OR x != ? OR x < ? OR x > ? OR x <= ?", {3, 4, 1, 2, 8}},
      // Texts, quoted names and comments keep their digits.
      {"SELECT a FROM t WHERE b = '= 5' AND [c = 5] = 1 AND \"d\" = 2 -- = 6\n/* = 7 */",
       "SELECT a FROM t WHERE b = '= 5' AND [c = 5] = ? AND \"d\" = ? -- = 6\n/* = 7 */", {1, 2}},
      // A column position, a limit and a range keep their meaning.
      {"SELECT a FROM t WHERE x = 1 ORDER BY 1 LIMIT 5", "SELECT a FROM t WHERE x = ? ORDER BY 1 LIMIT 5", {1}},
      {"SELECT a FROM t WHERE x BETWEEN 1 AND 2 AND y = 3", "SELECT a FROM t WHERE x BETWEEN 1 AND 2 AND y = ?", {3}},
      // Numbers inside a subquery after the own FROM are lifted too.
      {"SELECT a FROM t WHERE x IN (SELECT y FROM u WHERE u.z = 9)",
       "SELECT a FROM t WHERE x IN (SELECT y FROM u WHERE u.z = ?)", {9}},
      {"SELECT a FROM t WHERE x = 007", "SELECT a FROM t WHERE x = ?", {7}},
      // Numbers that are not plain whole numbers stay as written.
      {"SELECT a FROM t WHERE x = 1.5 OR x = 1e3 OR x = 0x10 OR x = -5 OR x = .5", std::nullopt, {}},
      {"SELECT a FROM t WHERE x = 1234567890123456789", std::nullopt, {}},
      // The result columns name themselves after their text.
      {"SELECT x = 1 FROM t", std::nullopt, {}},
      {"SELECT (SELECT b FROM u WHERE u.a = 2) FROM t", std::nullopt, {}},
      // Parameters of its own, or not a SELECT: no shape.
      {"SELECT a FROM t WHERE x = ? AND y = 5", std::nullopt, {}},
      {"SELECT a FROM t WHERE x = :x AND y = 5", std::nullopt, {}},
      {"DELETE FROM t WHERE x = 5", std::nullopt, {}},
      {"WITH c AS (SELECT 1) SELECT a FROM t WHERE x = 5", std::nullopt, {}},
      {"SELECT a FROM t", std::nullopt, {}},
  };
  for (const auto& c : cases) {
    StatementShape shape;
    const bool shaped = ShapeOfStatement(c.sql, shape);
    EXPECT_EQ(shaped, c.shape.has_value()) << c.sql;
    if (!shaped || !c.shape) continue;
    EXPECT_EQ(shape.text, *c.shape) << c.sql;
    EXPECT_EQ(shape.values, c.values) << c.sql;
  }
}

TEST(StatementShape, AShapeReusedForAnotherStatementHoldsOnlyThatOne) {
  StatementShape shape;
  ASSERT_TRUE(ShapeOfStatement("SELECT a FROM t WHERE x = 1 AND y = 2", shape));
  ASSERT_TRUE(ShapeOfStatement("SELECT b FROM u WHERE z = 3", shape));
  EXPECT_EQ(shape.text, "SELECT b FROM u WHERE z = ?");
  EXPECT_EQ(shape.values, std::vector<std::int64_t>{3});
}

}  // namespace
}  // namespace marksend::db
