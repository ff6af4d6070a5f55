// The reading rules of values, first over a real SQLite file (as the export
// sees them through Query), then for inputs SQLite cannot produce.
#include "platform/db/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "platform/db/query.h"
#include "platform/error.h"
#include "support/test_support.h"

namespace marksend::db {
namespace {

// Runs f, which must throw Error whose message names every one of parts.
template <typename F>
void ExpectErrorNaming(F f, std::initializer_list<std::string> parts, const std::string& context) {
  try {
    f();
    ADD_FAILURE() << context << ": no error";
  } catch (const Error& e) {
    for (const auto& part : parts)
      EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << context << ": " << e.what();
  }
}

class ValueTable : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeSqliteDatabase(dir_ / "values.db", R"(
      BEGIN;
      CREATE TABLE V (Id INTEGER, D DATE, Dt DATETIME, I INTEGER, R REAL, T TEXT);
      INSERT INTO V VALUES (1, NULL, NULL, NULL, NULL, NULL);
      INSERT INTO V VALUES (2, '2008-03-05', '2023-05-16 08:30:00', -42, 1.5, 'hello');
      INSERT INTO V VALUES (3, '2008-03-05T00:00:00', NULL, 7, 2.0, '12');
      INSERT INTO V VALUES (4, 'not a date', NULL, 0, 2.5, ' 3.25 ');
      INSERT INTO V VALUES (5, NULL, NULL, 0, -2.5, '1e3');
      INSERT INTO V VALUES (6, NULL, NULL, 0, 0.1 + 0.2, '-7');
      INSERT INTO V VALUES (7, NULL, NULL, 0, 1e20, '');
      INSERT INTO V VALUES (8, NULL, NULL, 0, 0.49999, '12.0');
      COMMIT;
    )");
    connection_.ProviderName = "Access";
    connection_.Database = (dir_ / "values.db").string();
    connection_.Open();
  }

  // The query positioned on the row with the given Id.
  Query& Row(int id) {
    query_.SetStatement({"SELECT * FROM V WHERE Id = " + std::to_string(id)});
    query_.Open();
    EXPECT_EQ(query_.RecordCount(), 1);
    return query_;
  }

  test::TempDir dir_;
  Connection connection_;
  Query query_{connection_};
};

TEST_F(ValueTable, ReadsAsTextIntegerAndFloat) {
  const struct {
    int id;
    const char* column;
    const char* text;
    std::optional<std::int64_t> integer;  // nullopt: must be an error
    std::optional<double> number;
  } cases[] = {
      {1, "D", "", 0, 0.0},
      {1, "I", "", 0, 0.0},
      {1, "R", "", 0, 0.0},
      {1, "T", "", 0, 0.0},
      {2, "I", "-42", -42, -42.0},
      {2, "R", "1.5", 2, 1.5},
      {3, "R", "2", 2, 2.0},
      {4, "R", "2.5", 3, 2.5},
      {5, "R", "-2.5", -3, -2.5},
      {6, "R", "0.3", 0, 0.1 + 0.2},
      {7, "R", "1e+20", std::nullopt, 1e20},
      {8, "R", "0.49999", 0, 0.49999},
      {2, "T", "hello", std::nullopt, std::nullopt},
      {3, "T", "12", 12, 12.0},
      {4, "T", " 3.25 ", std::nullopt, 3.25},
      {5, "T", "1e3", std::nullopt, 1000.0},
      {6, "T", "-7", -7, -7.0},
      {7, "T", "", std::nullopt, std::nullopt},
      {8, "T", "12.0", std::nullopt, 12.0},
      {2, "D", "05/03/2008", std::nullopt, std::nullopt},
      {3, "D", "05/03/2008", std::nullopt, std::nullopt},
      {2, "Dt", "16/05/2023 08:30:00", std::nullopt, std::nullopt},
      {4, "D", "not a date", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::string where = std::string(c.column) + " of row " + std::to_string(c.id);
    const Field field = Row(c.id).FieldByName(c.column);
    EXPECT_EQ(field.AsString(), c.text) << where;
    if (c.integer)
      EXPECT_EQ(field.AsInteger(), *c.integer) << where;
    else
      ExpectErrorNaming([&] { field.AsInteger(); }, {"\"" + std::string(c.column) + "\""}, where);
    if (c.number)
      EXPECT_DOUBLE_EQ(field.AsFloat(), *c.number) << where;
    else
      ExpectErrorNaming([&] { field.AsFloat(); }, {"\"" + std::string(c.column) + "\""}, where);
  }
}

TEST_F(ValueTable, ReadsAsDate) {
  EXPECT_EQ(Row(1).FieldByName("D").AsDate(), (DateTime{1899, 12, 30, 0, 0, 0}));
  EXPECT_TRUE(Row(1).FieldByName("D").IsNull());
  EXPECT_EQ(Row(2).FieldByName("D").AsDate(), (DateTime{2008, 3, 5, 0, 0, 0}));
  EXPECT_EQ(Row(2).FieldByName("Dt").AsDate(), (DateTime{2023, 5, 16, 8, 30, 0}));
  EXPECT_EQ(Row(3).FieldByName("D").AsDate(), (DateTime{2008, 3, 5, 0, 0, 0}));
  ExpectErrorNaming([&] { Row(4).FieldByName("D").AsDate(); }, {"\"D\"", "not a date"}, "bad date text");
  ExpectErrorNaming([&] { Row(2).FieldByName("T").AsDate(); }, {"\"T\"", "hello"}, "text as date");
  ExpectErrorNaming([&] { Row(2).FieldByName("I").AsDate(); }, {"\"I\"", "-42"}, "integer as date");
  ExpectErrorNaming([&] { Row(2).FieldByName("R").AsDate(); }, {"\"R\"", "1.5"}, "float as date");
}

TEST(Value, TextAsNumberAcceptsOnlyNumberTexts) {
  const struct {
    const char* text;
    std::optional<std::int64_t> integer;
    std::optional<double> number;
  } cases[] = {
      {"+5", 5, 5.0},
      {"  12\t", 12, 12.0},
      {"-.5", std::nullopt, -0.5},
      {"9223372036854775807", INT64_MAX, 9223372036854775807.0},
      {"9223372036854775808", std::nullopt, 9223372036854775808.0},
      {"+-5", std::nullopt, std::nullopt},
      {"--5", std::nullopt, std::nullopt},
      {"5 5", std::nullopt, std::nullopt},
      {"0x10", std::nullopt, std::nullopt},
      {"inf", std::nullopt, std::nullopt},
      {"nan", std::nullopt, std::nullopt},
      {"1e999", std::nullopt, std::nullopt},
      {" ", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    const Value value{std::string(c.text)};
    if (c.integer)
      EXPECT_EQ(AsInteger(value, "Col"), *c.integer) << c.text;
    else
      ExpectErrorNaming([&] { AsInteger(value, "Col"); }, {"\"Col\"", c.text}, c.text);
    if (c.number)
      EXPECT_DOUBLE_EQ(AsFloat(value, "Col"), *c.number) << c.text;
    else
      ExpectErrorNaming([&] { AsFloat(value, "Col"); }, {"\"Col\"", c.text}, c.text);
  }
}

TEST(Value, FloatAsIntegerRoundsHalvesAwayAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(AsInteger(Value{0.5}, "c"), 1);
  EXPECT_EQ(AsInteger(Value{-0.5}, "c"), -1);
  EXPECT_EQ(AsInteger(Value{-1.4}, "c"), -1);
  EXPECT_EQ(AsInteger(Value{1e15 + 0.5}, "c"), 1000000000000001);
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 9.3e18, -9.3e18})
    ExpectErrorNaming([&] { AsInteger(Value{bad}, "c"); }, {"\"c\""}, std::to_string(bad));
  EXPECT_EQ(AsInteger(Value{-9223372036854775807.0 - 1.0}, "c"), INT64_MIN);
}

TEST(Value, IntegerAndFloatTextForms) {
  EXPECT_EQ(AsText(Value{std::int64_t{INT64_MIN}}), "-9223372036854775808");
  EXPECT_EQ(AsText(Value{123456789012345.0}), "123456789012345");
  EXPECT_EQ(AsText(Value{1234567890123456.0}), "1.23456789012346e+15");
  EXPECT_EQ(AsText(Value{0.0001}), "0.0001");
  EXPECT_EQ(AsText(Value{0.00001}), "1e-05");
  EXPECT_EQ(AsText(Value{-3.75}), "-3.75");
}

}  // namespace
}  // namespace marksend::db
