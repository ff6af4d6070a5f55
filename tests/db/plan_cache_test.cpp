// The SQLite provider's plan cache: statements of one shape answer with
// their own numbers, their own column names and types, and leave no read
// lock behind.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/db/sqlite_provider.h"
#include "support/test_support.h"

namespace marksend::db {
namespace {

class PlanCache : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeSqliteDatabase(path_, R"(
      CREATE TABLE T (Id INTEGER, Name TEXT, Born DATE);
      INSERT INTO T VALUES (1, 'one', '2001-02-03'), (2, 'two', '2002-03-04'), (3, 'three', NULL);
    )");
    session_ = OpenSqliteSession(path_);
  }
  std::string NameOf(const std::string& sql) {
    const ResultSet r = session_->Execute(sql);
    if (r.RowCount() != 1) return "(" + std::to_string(r.RowCount()) + " rows)";
    return AsText(r.cells[0]);
  }

  test::TempDir dir_;
  std::filesystem::path path_ = dir_ / "school.db";
  std::unique_ptr<Session> session_;
};

TEST_F(PlanCache, EachStatementOfAShapeAnswersWithItsOwnNumbers) {
  const std::pair<int, const char*> cases[] = {{1, "one"}, {2, "two"}, {3, "three"}, {4, "(0 rows)"}, {1, "one"}};
  for (const auto& [id, name] : cases)
    EXPECT_EQ(NameOf("SELECT Name FROM T WHERE Id = " + std::to_string(id)), name) << id;
  EXPECT_EQ(session_->Execute("SELECT Name FROM T WHERE Id >= 2 AND Id < 3").RowCount(), 1u);
  EXPECT_EQ(session_->Execute("SELECT Name FROM T WHERE Id >= 1 AND Id < 3").RowCount(), 2u);
}

TEST_F(PlanCache, ColumnNamesAndDatesComeFromTheStatementItself) {
  const ResultSet first = session_->Execute("SELECT Born AS X, Name FROM T WHERE Id = 1");
  const ResultSet second = session_->Execute("SELECT Born AS Y, Name FROM T WHERE Id = 2");
  const ResultSet again = session_->Execute("SELECT Born AS X, Name FROM T WHERE Id = 2");
  EXPECT_EQ(first.columns, (std::vector<std::string>{"X", "Name"}));
  EXPECT_EQ(second.columns, (std::vector<std::string>{"Y", "Name"}));
  EXPECT_EQ(again.columns, (std::vector<std::string>{"X", "Name"}));
  EXPECT_EQ(AsText(again.cells[0]), "04/03/2002");
  EXPECT_EQ(AsText(again.cells[1]), "two");
}

TEST_F(PlanCache, ManyShapesStillAnswerRightlyAfterTheCacheIsFull) {
  for (int round = 0; round < 2; ++round)
    for (int shape = 0; shape < 80; ++shape) {
      const int id = 1 + (shape + round) % 3;
      const ResultSet r = session_->Execute("SELECT Id AS C" + std::to_string(shape) + " FROM T WHERE Id = " +
                                            std::to_string(id));
      ASSERT_EQ(r.RowCount(), 1u) << shape;
      EXPECT_EQ(AsInteger(r.cells[0], "C"), id) << shape;
      EXPECT_EQ(r.columns[0], "C" + std::to_string(shape));
    }
}

TEST_F(PlanCache, NoReadLockStaysAfterAStatement) {
  session_->Execute("SELECT Name FROM T WHERE Id = 1");
  session_->Execute("SELECT Name FROM T WHERE Id = 2");
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(path_.string().c_str(), &writer), SQLITE_OK);
  // An exclusive lock cannot be had while any reader holds a shared one.
  const int rc = sqlite3_exec(writer, "BEGIN EXCLUSIVE; UPDATE T SET Name = 'uno' WHERE Id = 1; COMMIT;", nullptr,
                              nullptr, nullptr);
  sqlite3_close(writer);
  EXPECT_EQ(rc, SQLITE_OK);
  EXPECT_EQ(NameOf("SELECT Name FROM T WHERE Id = 1"), "uno");
}

}  // namespace
}  // namespace marksend::db
