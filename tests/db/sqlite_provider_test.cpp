#include "platform/db/sqlite_provider.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/db/connection.h"
#include "platform/error.h"
#include "support/test_support.h"

namespace marksend::db {
namespace {

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class SqliteProvider : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeSqliteDatabase(db_, R"(
      BEGIN;
      CREATE TABLE T (Id INTEGER, A TEXT, N INTEGER, R REAL, D date, Dt DateTime, S TIMESTAMP, Iso TEXT);
      INSERT INTO T VALUES (1, 'x', 5, 2.0, '2008-03-05', '2023-05-16T08:30:00', '2020-01-02 03:04:05.678Z',
                            '2008-03-05');
      INSERT INTO T VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
      CREATE VIEW VT AS SELECT D AS ViewDate, Iso FROM T;
      COMMIT;
    )");
    session_ = OpenSqliteSession(db_);
  }

  // The one value of a one-row, one-column statement.
  Value One(const std::string& sql) {
    const ResultSet result = session_->Execute(sql);
    EXPECT_EQ(result.columns.size(), 1u) << sql;
    EXPECT_EQ(result.RowCount(), 1u) << sql;
    return result.cells.empty() ? Value{} : result.cells[0];
  }

  test::TempDir dir_;
  std::filesystem::path db_ = dir_ / "fixture.db";
  std::unique_ptr<Session> session_;
};

TEST_F(SqliteProvider, PlusJoinsTextsAndAddsNumbers) {
  const struct {
    const char* expression;
    Value expected;
  } cases[] = {
      {"1 + 2", std::int64_t{3}},
      {"1 + 2.5", 3.5},
      {"0.5 + 0.25", 0.75},
      {"'a' + 'b'", std::string("ab")},
      {"'a' + 1", std::string("a1")},
      {"1.5 + 'x'", std::string("1.5x")},
      {"2.0 + 'x'", std::string("2x")},
      {"-3 + ''", std::string("-3")},
      {"'5' + 3", std::string("53")},
      {"NULL + 'x'", Null{}},
      {"'x' + NULL", Null{}},
      {"NULL + 1", Null{}},
      {"9223372036854775807 + 1", 9223372036854775808.0},
      {"'a' + 'b' + 1 + 2", std::string("ab12")},
      {"1 + 2 + 'a'", std::string("3a")},
      {"A + N + R + Iso FROM T WHERE Id = 1", std::string("x522008-03-05")},
      {"A + 'y' FROM T WHERE Id = 2", Null{}},
  };
  for (const auto& c : cases) EXPECT_EQ(One(std::string("SELECT ") + c.expression), c.expected) << c.expression;
}

TEST_F(SqliteProvider, ColumnsDeclaredAsDatesReadAsDates) {
  const ResultSet row = session_->Execute("SELECT D, Dt, S, Iso, N, R, A, D || '' FROM T WHERE Id = 1");
  ASSERT_EQ(row.RowCount(), 1u);
  EXPECT_EQ(row.columns, (std::vector<std::string>{"D", "Dt", "S", "Iso", "N", "R", "A", "D || ''"}));
  const std::vector<Value> expected = {DateTime{2008, 3, 5, 0, 0, 0}, DateTime{2023, 5, 16, 8, 30, 0},
                                       DateTime{2020, 1, 2, 3, 4, 5},  std::string("2008-03-05"),
                                       std::int64_t{5},                2.0,
                                       std::string("x"),               std::string("2008-03-05")};
  EXPECT_EQ(row.cells, expected);
  EXPECT_EQ(One("SELECT D FROM T WHERE Id = 2"), Value{Null{}});
  // A view passes the declared type of its column through.
  EXPECT_EQ(One("SELECT ViewDate FROM VT WHERE Iso IS NOT NULL"), Value{(DateTime{2008, 3, 5, 0, 0, 0})});
}

TEST_F(SqliteProvider, ErrorsCarryTheDatabaseMessageAndFirstLine) {
  const std::string message = ErrorOf([&] { session_->Execute("SELECT Nope FROM Missing\nWHERE Id = 1"); });
  EXPECT_TRUE(Contains(message, "no such table: Missing")) << message;
  EXPECT_TRUE(Contains(message, "SELECT Nope FROM Missing")) << message;
  EXPECT_FALSE(Contains(message, "WHERE")) << message;
  EXPECT_TRUE(Contains(ErrorOf([&] { session_->Execute("SELECT Nope FROM T"); }), "no such column: Nope"));
}

TEST_F(SqliteProvider, IsReadOnlyAndRunsOneStatementAtATime) {
  EXPECT_TRUE(Contains(ErrorOf([&] { session_->Execute("INSERT INTO T (Id) VALUES (3)"); }), "readonly"));
  EXPECT_TRUE(Contains(ErrorOf([&] { session_->Execute("SELECT 1; DELETE FROM T"); }), "more than one statement"));
  EXPECT_EQ(session_->Execute("SELECT count(*) FROM T").cells, std::vector<Value>{std::int64_t{2}});
  EXPECT_EQ(One("SELECT 7;  -- done\n"), Value{std::int64_t{7}});
  EXPECT_EQ(session_->Execute("  -- nothing\n").RowCount(), 0u);
}

TEST(SqliteOpen, RecognisesTheHeader) {
  test::TempDir dir;
  test::MakeSqliteDatabase(dir / "real.db", "CREATE TABLE A (B INTEGER);");
  test::WriteFile(dir / "text.db", "SQLite format 2 and some more bytes");
  test::WriteFile(dir / "empty.db", "");
  EXPECT_TRUE(IsSqliteFile(dir / "real.db"));
  EXPECT_FALSE(IsSqliteFile(dir / "text.db"));
  EXPECT_FALSE(IsSqliteFile(dir / "empty.db"));
  EXPECT_FALSE(IsSqliteFile(dir / "missing.db"));
  EXPECT_FALSE(IsSqliteFile(dir.path()));
}

TEST(SqliteOpen, FailsAtOpenNamingThePath) {
  test::TempDir dir;
  test::WriteFile(dir / "text.db", "Just some text, long enough to hold a header.");
  test::WriteFile(dir / "empty.db", "");
  // A valid header over pages that are not a database.
  test::WriteFile(dir / "broken.db", std::string("SQLite format 3", 16) + std::string(4096, '\x7f'));
  std::filesystem::create_directory(dir / "folder.db");
  const struct {
    std::string name;
    std::string reason;
  } cases[] = {
      {"missing.db", "does not exist"}, {"folder.db", "folder"},         {"empty.db", "empty"},
      {"text.db", "not a SQLite database"}, {"broken.db", "cannot be read"},
  };
  for (const auto& c : cases) {
    const auto path = dir / c.name;
    const std::string message = ErrorOf([&] { OpenSqliteSession(path); });
    EXPECT_TRUE(Contains(message, path.string())) << message;
    EXPECT_TRUE(Contains(message, c.reason)) << message;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.db"));  // never created
  EXPECT_TRUE(Contains(ErrorOf([&] { OpenSqliteSession(""); }), "No database file"));
}

TEST(SqliteOpen, ConnectionAsAccessOpensOnlyExistingDatabases) {
  test::TempDir dir;
  test::MakeSqliteDatabase(dir / "ok.db", "CREATE TABLE A (B INTEGER); INSERT INTO A VALUES (4);");
  test::WriteFile(dir / "text.db", "Just some text, long enough to hold a header.");
  test::WriteFile(dir / "empty.db", "");
  std::filesystem::create_directory(dir / "folder.db");
  for (const std::string name : {"missing.db", "folder.db", "empty.db", "text.db", ""}) {
    Connection connection;
    connection.ProviderName = "Access";
    connection.Database = name.empty() ? "" : (dir / name).string();
    const std::string message = ErrorOf([&] { connection.Open(); });
    EXPECT_TRUE(name.empty() ? Contains(message, "No database file") : Contains(message, name)) << message;
    EXPECT_FALSE(connection.Connected()) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.db"));
  Connection connection;
  connection.ProviderName = "Access";
  connection.Database = (dir / "ok.db").string();
  connection.Open();
  ASSERT_TRUE(connection.Connected());
  EXPECT_EQ(connection.OpenSession().Execute("SELECT B FROM A").cells, std::vector<Value>{std::int64_t{4}});
}

}  // namespace
}  // namespace marksend::db
