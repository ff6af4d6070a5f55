// Finding a column by name when a query is reopened over and over, as the
// export does: each Open answers with its own columns.
#include <gtest/gtest.h>

#include "platform/db/query.h"
#include "platform/error.h"
#include "support/test_support.h"

namespace marksend::db {
namespace {

class QueryColumns : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeSqliteDatabase(dir_ / "c.db", "CREATE TABLE T (A INTEGER, B TEXT); INSERT INTO T VALUES (1, 'b');");
    connection_.ProviderName = "Access";
    connection_.Database = (dir_ / "c.db").string();
    connection_.Open();
  }
  test::TempDir dir_;
  Connection connection_;
};

TEST_F(QueryColumns, TheFirstOfARepeatedNameWins) {
  Query q(connection_);
  q.SetStatement({"SELECT B AS x, A AS X FROM T WHERE A = 1"});
  q.Open();
  EXPECT_EQ(q.FieldByName("X").AsString(), "b");
}

TEST_F(QueryColumns, AReopenedQueryHasOnlyItsNewColumns) {
  Query q(connection_);
  const struct {
    const char* sql;
    const char* column;
    const char* missing;
    const char* value;
  } steps[] = {
      {"SELECT A AS LongColumnNameOne, B FROM T WHERE A = 1", "longcolumnnameone", "A", "1"},
      {"SELECT B AS LongColumnNameOne FROM T WHERE A = 1", "LONGCOLUMNNAMEONE", "B", "b"},
      {"SELECT A, B FROM T WHERE A = 1", "b", "LongColumnNameOne", "b"},
  };
  for (const auto& step : steps) {
    q.SetStatement({step.sql});
    q.Open();
    EXPECT_EQ(q.FieldByName(step.column).AsString(), step.value) << step.sql;
    EXPECT_THROW(q.FieldByName(step.missing), Error) << step.sql;
  }
}

}  // namespace
}  // namespace marksend::db
