// marksend-export through the built program, over a small school database.
#include <gtest/gtest.h>

#include <ostream>

#include "support/test_support.h"

namespace marksend {
namespace {

using test::RunResult;
using test::TempDir;

const char* const kNoConnection = "ไม่สามารถติดต่อฐานข้อมูลได้";
const char* const kSuccess = "ส่งออกข้อมูลผลการเรียนขึ้นเว็บไซต์สำเร็จ";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ExportTool : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeSqliteDatabase(wd / "school.db", test::ReadFile(test::SourcePath("tests/cli/fixtures/school.sql")));
    test::WriteFile(wd / "Config.ini", "[Database]\r\nProvider=MSAccess\r\n[MSAccess]\r\nDatabase File=school.db\r\n");
    std::filesystem::create_directory(wd / "site");
  }
  // args is shell text, quoted by the caller where needed.
  RunResult Tool(const std::string& args) { return test::Run("'" + test::BinPath("marksend-export") + "' " + args, wd.path()); }

  TempDir wd;
};

TEST_F(ExportTool, ExportsTheGivenYear) {
  const RunResult r = Tool("--out site --year 2566");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, kSuccess)) << r.out;
  EXPECT_TRUE(Contains(r.out, "students: 1, score rows: 2, subjects: 1")) << r.out;
  EXPECT_EQ(r.err, "");  // no bar when standard error is not a terminal
}

// Without --year the school's terms (16 May, 1 November) choose the year.
TEST_F(ExportTool, ExportsTheDefaultYearOfTheDate) {
  RunResult r = Tool("--out site/ --date 2023-05-16");  // 2566: the student's year
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "students: 1,")) << r.out;
  r = Tool("--out site --date 2023-05-15");  // 2565: nobody
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "students: 0,")) << r.out;
}

TEST_F(ExportTool, AMissingFolderIsNotCreated) {
  const RunResult r = Tool("--out nowhere --year 2566");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "nowhere")) << r.err;
  EXPECT_FALSE(Contains(r.out, kSuccess));
  EXPECT_FALSE(std::filesystem::exists(wd / "nowhere"));
}

TEST_F(ExportTool, ANonNumericYearFailsAndLeavesOldFiles) {
  test::WriteFile(wd / "site" / "input.php", "old");
  const RunResult r = Tool("--out site --year '2566 OR 1=1'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "2566 OR 1=1")) << r.err;
  EXPECT_FALSE(Contains(r.out, kSuccess));
  EXPECT_EQ(test::ReadFile(wd / "site" / "input.php"), "old");
}

TEST_F(ExportTool, NoDatabaseIsExitTwo) {
  std::filesystem::remove(wd / "Config.ini");  // the default TEV10DB.mdb is not there
  for (const char* args : {"--out site --year 2566", "--print-year"}) {
    const RunResult r = Tool(args);
    EXPECT_EQ(r.exitCode, 2) << args;
    EXPECT_TRUE(Contains(r.err, kNoConnection)) << r.err;
    EXPECT_TRUE(Contains(r.err, "TEV10DB.mdb")) << r.err;
  }
}

TEST_F(ExportTool, ASchoolTableThatCannotBeReadFailsTheDefaultYear) {
  test::MakeSqliteDatabase(wd / "bare.db", "CREATE TABLE Other (x INTEGER);");
  test::WriteFile(wd / "Config.ini", "[MSAccess]\nDatabase File=bare.db\n");
  const RunResult r = Tool("--print-year --date 2023-05-16");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(Contains(r.err, "school record")) << r.err;
}

TEST_F(ExportTool, BadArgumentsAreExit64BeforeConnecting) {
  std::filesystem::remove(wd / "Config.ini");  // would be exit 2 if it got that far
  const char* const cases[] = {
      "",
      "site",
      "--out",
      "--out ''",
      "--out site --out other",
      "--out site --print-year",
      "--print-year --year 2566",
      "--year 2566",
      "--out --year 2566",
      "--print-year --date 2023-02-30",
      "--print-year --date 16/05/2023",
      "--print-year --date '2023-05-16 10:00'",
      "--out site --bogus",
  };
  for (const char* args : cases) {
    const RunResult r = Tool(args);
    EXPECT_EQ(r.exitCode, 64) << args;
    EXPECT_TRUE(Contains(r.err, "usage: marksend-export --out FOLDER")) << args << ": " << r.err;
  }
}

struct PrintYearCase {
  const char* date;
  const char* year;
};

void PrintTo(const PrintYearCase& c, std::ostream* os) { *os << c.date; }

class PrintYear : public ExportTool, public ::testing::WithParamInterface<PrintYearCase> {};

// The fixture's terms are stored as 16 May and 1 November 2015.
TEST_P(PrintYear, PrintsTheDefaultYear) {
  const RunResult r = Tool(std::string("--print-year --date ") + GetParam().date);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, std::string(GetParam().year) + "\n");
}

INSTANTIATE_TEST_SUITE_P(TermDays, PrintYear,
                         ::testing::Values(PrintYearCase{"2023-05-15", "2565"}, PrintYearCase{"2023-05-16", "2566"},
                                           PrintYearCase{"2023-10-31", "2566"}, PrintYearCase{"2023-11-01", "2566"},
                                           PrintYearCase{"2024-01-01", "2566"},
                                           PrintYearCase{"2024-05-16", "2567"}));

}  // namespace
}  // namespace marksend
