#include "app/school_record.h"

#include <gtest/gtest.h>

#include <ostream>

#include "platform/error.h"
#include "support/test_support.h"

namespace marksend {
namespace {

DateTime Day(int y, int m, int d) { return DateTime{y, m, d, 0, 0, 0}; }

struct YearCase {
  const char* term1;
  const char* term2;
  DateTime today;
  int year;
};

const YearCase kYearCases[] = {
    // Terms from 16 May and 1 November.
    {"16/05/2023", "01/11/2023", Day(2023, 5, 15), 2565},
    {"16/05/2023", "01/11/2023", Day(2023, 5, 16), 2566},
    {"16/05/2023", "01/11/2023", Day(2023, 10, 31), 2566},
    {"16/05/2023", "01/11/2023", Day(2023, 11, 1), 2566},
    {"16/05/2023", "01/11/2023", Day(2024, 1, 1), 2566},
    {"16/05/2023", "01/11/2023", Day(2024, 5, 16), 2567},
    {"16/05/2023", "01/11/2023", Day(2023, 12, 31), 2566},
    // The stored year plays no part.
    {"16/05/2015", "01/11/2015", Day(2023, 5, 15), 2565},
    {"16/05/2015", "01/11/2015", Day(2023, 5, 16), 2566},
    // Either start day opens the new year, whichever term it belongs to.
    {"01/11/2023", "16/05/2023", Day(2023, 5, 16), 2566},
    // No school row, or empty dates: keys of the year's digits alone.
    {"", "", Day(2024, 1, 1), 2567},
    {"", "", Day(2024, 12, 31), 2567},
    {"16/05/2023", "", Day(2024, 1, 1), 2567},
    // Short texts give short keys: "2024" + "0" + "16".
    {"16/0", "16/0", Day(2024, 1, 1), 2566},
    {"16/0", "16/0", Day(2024, 2, 1), 2567},
};

void PrintTo(const YearCase& c, std::ostream* os) {
  *os << '"' << c.term1 << "\", \"" << c.term2 << "\" on " << c.today.year << '-' << c.today.month << '-'
      << c.today.day;
}

class YearTable : public ::testing::TestWithParam<YearCase> {};

TEST_P(YearTable, ProposesTheAcademicYear) {
  const YearCase& c = GetParam();
  EXPECT_EQ(DefaultAcademicYear(c.term1, c.term2, c.today), c.year);
}

INSTANTIATE_TEST_SUITE_P(TermDays, YearTable, ::testing::ValuesIn(kYearCases));

class SchoolDatabase : public ::testing::Test {
 protected:
  void Open(const std::string& sql) {
    test::MakeSqliteDatabase(dir / "school.db", sql);
    connection.ProviderName = "Access";
    connection.Database = (dir / "school.db").string();
    connection.Open();
  }
  test::TempDir dir;
  db::Connection connection;
};

const char* const kSchoolTables =
    "CREATE TABLE ComBTambon (TambonID INTEGER, TambonName TEXT);"
    "INSERT INTO ComBTambon VALUES (1, 'ในเมือง');"
    "CREATE TABLE ComMSchool (SchoolCode TEXT, SchooPrefix TEXT, SchoolName TEXT, TambonID INTEGER,"
    "                         Term1Date DATE, Term2Date DATE);";

TEST_F(SchoolDatabase, ReadsTheFirstRowsTermDates) {
  Open(std::string(kSchoolTables) +
       "INSERT INTO ComMSchool VALUES ('1', 'โรงเรียน', 'ก', 1, '2015-05-16', '2015-11-01'),"
       "                              ('2', 'โรงเรียน', 'ข', 9, '2015-01-02', '2015-01-03');");
  db::Query query(connection);
  EXPECT_EQ(LoadSchoolRecord(query, Day(2023, 5, 15)), 2565);
  EXPECT_FALSE(query.Active());
  EXPECT_EQ(LoadSchoolRecord(query, Day(2023, 5, 16)), 2566);
}

TEST_F(SchoolDatabase, NoRowProposesTheYearAllYear) {
  Open(kSchoolTables);
  db::Query query(connection);
  EXPECT_EQ(LoadSchoolRecord(query, Day(2024, 1, 1)), 2567);
}

TEST_F(SchoolDatabase, NullDatesProposeTheYearAllYear) {
  Open(std::string(kSchoolTables) + "INSERT INTO ComMSchool VALUES ('1', 'a', 'b', 1, NULL, NULL);");
  db::Query query(connection);
  EXPECT_EQ(LoadSchoolRecord(query, Day(2024, 1, 1)), 2567);
}

TEST_F(SchoolDatabase, AnOpenQueryIsUsedAsItStands) {
  Open(std::string(kSchoolTables));
  db::Query query(connection);
  query.SetStatement({"SELECT '16/05/2015' AS Term1Date, '01/11/2015' AS Term2Date"});
  query.Open();
  EXPECT_EQ(LoadSchoolRecord(query, Day(2023, 5, 15)), 2565);
  EXPECT_FALSE(query.Active());
}

TEST_F(SchoolDatabase, AMissingTambonTableIsAnError) {
  Open("CREATE TABLE ComMSchool (SchoolCode TEXT, SchooPrefix TEXT, SchoolName TEXT, TambonID INTEGER,"
       "                         Term1Date DATE, Term2Date DATE);"
       "INSERT INTO ComMSchool VALUES ('1', 'a', 'b', 1, '2015-05-16', '2015-11-01');");
  db::Query query(connection);
  EXPECT_THROW(LoadSchoolRecord(query, Day(2023, 5, 15)), Error);
  EXPECT_FALSE(query.Active());
}

TEST(SchoolStatement, IsTheFourLinesAsSent) {
  const std::vector<std::string> expected{
      "SELECT ComMSchool.SchoolCode, ComMSchool.SchooPrefix+ComMSchool.SchoolName As SchoolName,",
      "       ComMSchool.Term1Date, ComMSchool.Term2Date,",
      "       ComMSchool.SchoolName+ComBTambon.TambonName As SName",
      "FROM ComMSchool LEFT OUTER JOIN ComBTambon ON ComMSchool.TambonID = ComBTambon.TambonID;",
  };
  EXPECT_EQ(SchoolStatement(), expected);
}

}  // namespace
}  // namespace marksend
