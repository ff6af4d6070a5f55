// Query and Connection over a small school database in SQLite, with the
// statements of the school record and the student list as the engine sends them.
#include "platform/db/query.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "support/test_support.h"

namespace marksend::db {
namespace {

constexpr const char* kSchoolFixture = R"(
  BEGIN;
  CREATE TABLE ComBTambon (TambonID INTEGER, TambonName TEXT);
  CREATE TABLE ComMSchool (SchoolCode TEXT, SchooPrefix TEXT, SchoolName TEXT, TambonID INTEGER,
                           Term1Date DATE, Term2Date DATE);
  INSERT INTO ComBTambon VALUES (10, 'ตำบลหนึ่ง');
  INSERT INTO ComMSchool VALUES ('01', 'โรงเรียน', 'บ้านนา', 10, '2015-05-16', '2015-11-01');
  INSERT INTO ComMSchool VALUES ('02', 'โรงเรียน', 'บ้านไร่', 99, '2015-05-17 00:00:00', NULL);

  CREATE TABLE ComBPrefix (PrefixID INTEGER, PrefixName TEXT);
  CREATE TABLE ComMPerson (PersonID INTEGER, PersonCode TEXT, PrefixID INTEGER, FirstName TEXT, LastName TEXT,
                           BirthDate DATE);
  CREATE TABLE RegBClass (ClassID INTEGER, ClassName TEXT, CurriculumID INTEGER);
  CREATE TABLE RegTClassRoom (PersonID INTEGER, ClassID INTEGER, AcademicYear INTEGER);
  INSERT INTO ComBPrefix VALUES (1, 'เด็กชาย'), (2, 'เด็กหญิง');
  INSERT INTO ComMPerson VALUES (100, '00123', 1, 'สมชาย', 'ใจดี', '2008-03-05'),
                                (101, '00124', 2, 'สมหญิง', 'รักเรียน', NULL),
                                (102, '00125', 1, 'ปีก่อน', 'ไม่นับ', '2007-01-01');
  INSERT INTO RegBClass VALUES (1, 'ม.1/1', 3);
  INSERT INTO RegTClassRoom VALUES (100, 1, 2566), (101, 1, 2566), (102, 1, 2565);
  COMMIT;
)";

class QueryOnSchool : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeSqliteDatabase(dir_ / "school.db", kSchoolFixture);
    connection_.ProviderName = "Access";
    connection_.Database = (dir_ / "school.db").string();
    connection_.Open();
  }

  test::TempDir dir_;
  Connection connection_;
};

TEST_F(QueryOnSchool, SchoolStatementJoinsTexts) {
  Query query(connection_);
  query.AddLine("SELECT ComMSchool.SchoolCode, ComMSchool.SchooPrefix+ComMSchool.SchoolName As SchoolName,");
  query.AddLine("       ComMSchool.Term1Date, ComMSchool.Term2Date,");
  query.AddLine("       ComMSchool.SchoolName+ComBTambon.TambonName As SName");
  query.AddLine("FROM ComMSchool LEFT OUTER JOIN ComBTambon ON ComMSchool.TambonID = ComBTambon.TambonID;");
  query.Open();
  ASSERT_EQ(query.RecordCount(), 2);
  EXPECT_EQ(query.FieldByName("SchoolCode").AsString(), "01");
  EXPECT_EQ(query.FieldByName("SchoolName").AsString(), "โรงเรียนบ้านนา");
  EXPECT_EQ(query.FieldByName("SName").AsString(), "บ้านนาตำบลหนึ่ง");
  EXPECT_EQ(query.FieldByName("Term1Date").AsString(), "16/05/2015");
  EXPECT_EQ(query.FieldByName("Term2Date").AsString(), "01/11/2015");
  query.Next();
  EXPECT_EQ(query.FieldByName("SchoolName").AsString(), "โรงเรียนบ้านไร่");
  // No tambon row: NULL + text is NULL, as on SQL Server.
  EXPECT_TRUE(query.FieldByName("SName").IsNull());
  EXPECT_EQ(query.FieldByName("SName").AsString(), "");
  EXPECT_EQ(query.FieldByName("Term1Date").AsString(), "17/05/2015");
  EXPECT_EQ(query.FieldByName("Term2Date").AsString(), "");
}

TEST_F(QueryOnSchool, StudentStatementJoinsNameParts) {
  Query query(connection_);
  query.SetStatement({
      "SELECT ComMPerson.PersonID, ComMPerson.PersonCode, ComMPerson.BirthDate, ComBPrefix.PrefixName + "
      "ComMPerson.FirstName + '   ' + ComMPerson.LastName As StudentName, RegBClass.ClassName, "
      "RegBClass.CurriculumID",
      "FROM  ((ComMPerson INNER JOIN ComBPrefix ON ComMPerson.PrefixID = ComBPrefix.PrefixID)",
      "      INNER JOIN RegTClassRoom ON ComMPerson.PersonID = RegTClassRoom.PersonID)",
      "      INNER JOIN RegBClass ON RegTClassRoom.ClassID = RegBClass.ClassID",
      "WHERE RegTClassRoom.AcademicYear = 2566",
  });
  query.Open();
  ASSERT_EQ(query.RecordCount(), 2);
  struct Row {
    std::int64_t id;
    std::string code, birth, name;
  };
  std::vector<Row> rows;
  for (query.First(); !query.Eof(); query.Next())
    rows.push_back({query.FieldByName("PersonID").AsInteger(), query.FieldByName("PersonCode").AsString(),
                    BuddhistBirthDateText(query.FieldByName("BirthDate").AsDate()),
                    query.FieldByName("StudentName").AsString()});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].id, 100);
  EXPECT_EQ(rows[0].code, "00123");
  EXPECT_EQ(rows[0].birth, "05/03/2551");
  EXPECT_EQ(rows[0].name, "เด็กชายสมชาย   ใจดี");
  EXPECT_EQ(rows[1].id, 101);
  EXPECT_EQ(rows[1].birth, "30/12/2442");
  EXPECT_EQ(rows[1].name, "เด็กหญิงสมหญิง   รักเรียน");
  query.First();
  EXPECT_EQ(query.FieldByName("ClassName").AsString(), "ม.1/1");
  EXPECT_EQ(query.FieldByName("CurriculumID").AsInteger(), 3);
}

TEST_F(QueryOnSchool, ColumnNamesAreFoundWithoutRegardToCase) {
  Query query(connection_);
  query.SetStatement({"SELECT SchoolCode, TambonID FROM ComMSchool"});
  query.Open();
  EXPECT_EQ(query.FieldByName("schoolcode").AsString(), "01");
  EXPECT_EQ(query.FieldByName("SCHOOLCODE").AsString(), "01");
  EXPECT_EQ(query.FieldByName("tambonId").AsInteger(), 10);
}

TEST_F(QueryOnSchool, MissingColumnOrClosedQueryIsAnErrorNamingTheColumn) {
  Query query(connection_);
  query.SetStatement({"SELECT SchoolCode FROM ComMSchool"});
  for (bool open : {false, true}) {
    if (open) query.Open();
    try {
      query.FieldByName("NoSuchColumn");
      ADD_FAILURE() << "no error, open " << open;
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("NoSuchColumn"), std::string::npos) << e.what();
    }
  }
}

TEST_F(QueryOnSchool, QueryWithoutRowsReadsEmptyAndZero) {
  Query query(connection_);
  query.SetStatement({"SELECT SchoolName, TambonID, Term1Date FROM ComMSchool WHERE SchoolCode = 'none'"});
  query.Open();
  EXPECT_TRUE(query.Active());
  EXPECT_EQ(query.RecordCount(), 0);
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.FieldByName("SchoolName").AsString(), "");
  EXPECT_EQ(query.FieldByName("TambonID").AsInteger(), 0);
  EXPECT_EQ(query.FieldByName("TambonID").AsFloat(), 0.0);
  EXPECT_EQ(query.FieldByName("Term1Date").AsDate(), DateTime{});
}

TEST_F(QueryOnSchool, RecordCountAndStatementChanges) {
  Query query(connection_);
  query.SetStatement({"SELECT PersonID FROM RegTClassRoom", "ORDER BY PersonID"});
  query.Open();
  EXPECT_EQ(query.RecordCount(), 3);
  std::vector<std::int64_t> ids;
  for (; !query.Eof(); query.Next()) ids.push_back(query.FieldByName("PersonID").AsInteger());
  EXPECT_EQ(ids, (std::vector<std::int64_t>{100, 101, 102}));
  query.SetStatement({"SELECT PersonID FROM RegTClassRoom WHERE AcademicYear = 2565"});
  EXPECT_FALSE(query.Active());
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1);
  EXPECT_EQ(query.FieldByName("PersonID").AsInteger(), 102);
}

}  // namespace
}  // namespace marksend::db
