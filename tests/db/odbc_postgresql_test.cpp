// The ODBC provider against a real server: a throwaway PostgreSQL cluster on
// a free loopback port, read through the PostgreSQL Unicode ODBC driver.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "db/odbc_test_helpers.h"
#include "platform/db/connection.h"
#include "platform/db/value.h"
#include "platform/error.h"
#include "support/postgres_cluster.h"
#include "support/test_support.h"

namespace marksend::db {
namespace {

using test::PostgresBin;
using test::PostgresCluster;
using test::TempDir;

const std::string kUser = "marksend";
const std::string kPassword = "pw;x}y{z=1";  // every character a connection string must guard
const std::string kDatabase = "โรงเรียน";

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// One cluster for the suite: starting a server is the slow part.
class OdbcPostgreSql : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const auto bin = PostgresBin();
    if (!bin) return;
    try {
      dir_ = std::make_unique<TempDir>();
      cluster_ = std::make_unique<PostgresCluster>(*bin, dir_->path(), kUser, kPassword);
      cluster_->Sql("postgres", "CREATE DATABASE \"" + kDatabase + "\";");
      cluster_->Sql(
          kDatabase,
          "CREATE TABLE grades (id integer, big bigint, small smallint, score real, ratio double precision,"
          " whole numeric(5,0), part numeric(6,2), huge numeric(30,0), name text, room varchar(20),"
          " born date, stamp timestamp, at time);\n"
          "INSERT INTO grades VALUES (1, 9000000000, -3, 1.5, 2.0, 42, 12.50, 123456789012345678901234567890,"
          " 'สมชาย ใจดี', 'ม.1/2', '2010-03-15', '2024-05-01 08:30:15', '07:45:00');\n"
          "INSERT INTO grades (id) VALUES (2);\n");
    } catch (const std::exception& e) {
      setUpError_ = e.what();
    }
  }
  static void TearDownTestSuite() {
    cluster_.reset();  // stops the server
    dir_.reset();
  }

  void SetUp() override {
    if (!PostgresBin()) GTEST_SKIP() << "the PostgreSQL server is not installed";
    ASSERT_TRUE(cluster_) << setUpError_;
    connection_.ProviderName = "SQL Server";
    connection_.Server = "127.0.0.1," + std::to_string(cluster_->port());
    connection_.Database = kDatabase;
    connection_.Username = kUser;
    connection_.Password = kPassword;
    connection_.Driver = "PostgreSQL Unicode";
  }

  static inline std::unique_ptr<TempDir> dir_;
  static inline std::unique_ptr<PostgresCluster> cluster_;
  static inline std::string setUpError_;
  Connection connection_;
};

TEST_F(OdbcPostgreSql, ReadsEveryKindOfValueByTheValueRules) {
  connection_.Open();
  const ResultSet rows = connection_.OpenSession().Execute("SELECT * FROM grades ORDER BY id");
  const std::vector<std::string> names = {"id",   "big",  "small", "score", "ratio", "whole", "part",
                                          "huge", "name", "room",  "born",  "stamp", "at"};
  ASSERT_EQ(rows.columns, names);
  ASSERT_EQ(rows.RowCount(), 2u);

  const std::vector<Value> first = {std::int64_t{1},
                                    std::int64_t{9000000000},
                                    std::int64_t{-3},
                                    1.5,
                                    2.0,
                                    std::int64_t{42},
                                    12.5,
                                    123456789012345678901234567890.0,
                                    std::string("สมชาย ใจดี"),
                                    std::string("ม.1/2"),
                                    DateTime{2010, 3, 15, 0, 0, 0},
                                    DateTime{2024, 5, 1, 8, 30, 15},
                                    DateTime{1899, 12, 30, 7, 45, 0}};
  const std::vector<std::string> texts = {"1",
                                          "9000000000",
                                          "-3",
                                          "1.5",
                                          "2",
                                          "42",
                                          "12.5",
                                          "1.23456789012346e+29",
                                          "สมชาย ใจดี",
                                          "ม.1/2",
                                          "15/03/2010",
                                          "01/05/2024 08:30:15",
                                          "30/12/1899 07:45:00"};
  for (size_t c = 0; c < names.size(); ++c) {
    EXPECT_EQ(rows.cells[c], first[c]) << names[c];
    EXPECT_EQ(AsText(rows.cells[c]), texts[c]) << names[c];
    // The second row is NULL but for its id.
    EXPECT_EQ(rows.cells[names.size() + c], c == 0 ? Value(std::int64_t{2}) : Value(Null{})) << names[c];
  }
}

TEST_F(OdbcPostgreSql, LongTextArrivesWhole) {
  connection_.Open();
  // Thai and a character outside the BMP, long enough to come in many pieces.
  const ResultSet rows = connection_.OpenSession().Execute("SELECT repeat('ไทย😀', 3000) AS long_text");
  ASSERT_EQ(rows.RowCount(), 1u);
  EXPECT_EQ(rows.cells[0], Value(Repeat("ไทย😀", 3000)));
}

TEST_F(OdbcPostgreSql, ServerErrorsCarryTheDriversReason) {
  connection_.Open();
  try {
    connection_.OpenSession().Execute("SELECT * FROM no_such_table");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("[42P01]"), std::string::npos) << message;
    EXPECT_NE(message.find("no_such_table"), std::string::npos) << message;
  }

  Connection wrong;
  wrong.Server = connection_.Server;
  wrong.Database = connection_.Database;
  wrong.Username = connection_.Username;
  wrong.Driver = connection_.Driver;
  wrong.Password = "not the password";
  try {
    wrong.Open();
    ADD_FAILURE() << "connected with a wrong password";
  } catch (const Error& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("\"" + connection_.Server + "\""), std::string::npos) << message;
    EXPECT_NE(message.find("password authentication failed"), std::string::npos) << message;
    EXPECT_TRUE(test::HasDiagnostic(message)) << message;
    EXPECT_EQ(message.find("not the password"), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace marksend::db
