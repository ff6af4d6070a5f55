#include <gtest/gtest.h>

#include "export/export_thread.h"
#include "support/recording_host.h"
#include "support/test_support.h"
#include "web/page_texts.h"

namespace marksend {
namespace {

using test::ExpectedFileBytes;
using test::ReadFile;
using test::RecordingHost;
using test::TempDir;

std::vector<std::string> FileLines(const std::string& relative) {
  return web::SplitLines(ReadFile(test::SourcePath(relative)));
}

const char* const kRunFiles[] = {".htaccess", "subjectxml.xml", "tev10xml.xml", "input.php", "gradeviewer.php"};

class ExportRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeDatabase(ReadFile(test::SourcePath("tests/export/fixtures/school.sql")));
    host.folder = out.path().string();
  }
  void MakeDatabase(const std::string& sql) {
    connection.Close();
    std::filesystem::remove(dbDir / "school.db");
    test::MakeSqliteDatabase(dbDir / "school.db", sql);
    connection.ProviderName = "Access";
    connection.Database = (dbDir / "school.db").string();
    connection.Open();
  }
  // Runs the whole body on this thread, as the worker would.
  void RunHere() {
    TExportThread worker(host, connection);
    worker.Execute();
  }
  // Puts an old file of every name into the output folder.
  void PlantOldFiles() {
    for (auto name : kRunFiles) test::WriteFile(out / name, std::string("old ") + name);
  }
  void ExpectOldFile(const char* name) { EXPECT_EQ(ReadFile(out / name), std::string("old ") + name) << name; }

  TempDir dbDir, out;
  db::Connection connection;
  RecordingHost host;
};

TEST_F(ExportRunTest, WritesBothDocumentsByteForByte) {
  RunHere();
  EXPECT_EQ(ReadFile(out / "subjectxml.xml"),
            ExpectedFileBytes(FileLines("tests/export/fixtures/subjectxml.expected")));
  EXPECT_EQ(ReadFile(out / "tev10xml.xml"), ExpectedFileBytes(FileLines("tests/export/fixtures/tev10xml.expected")));
  EXPECT_EQ(test::XmlProblem(out / "subjectxml.xml"), "");
  EXPECT_EQ(test::XmlProblem(out / "tev10xml.xml"), "");
  test::WriteFile(out / "bad.xml", "<a>&</a>");
  EXPECT_NE(test::XmlProblem(out / "bad.xml"), "");  // the check itself can fail
}

TEST_F(ExportRunTest, HostActionsOfACompletedRunComeInOrder) {
  RunHere();
  const std::vector<std::string> expected{
      "folder", "year", "year", "max 4", "pos 1", "row 1", "row 2", "row 3", "row 4", "row 5",
      "pos 2",  "pos 3", "pos 4", "page input", "page viewer", "finished", "clear"};
  EXPECT_EQ(host.Actions(), expected);
}

TEST_F(ExportRunTest, PagesAreWrittenWithBomAndCrLfTheSameOnEveryRun) {
  RunHere();
  const std::string input = "\xEF\xBB\xBF<html>\r\nสวัสดี\r\n</html>\r\n";
  EXPECT_EQ(ReadFile(out / "input.php"), input);
  EXPECT_EQ(ReadFile(out / "gradeviewer.php"), "\xEF\xBB\xBF<?php echo 1; ?>\r\n");
  EXPECT_EQ("\xEF\xBB\xBF" + ReadFile(out / ".htaccess"), ExpectedFileBytes(web::SplitLines(web::HtaccessFile())));

  test::WriteFile(out / "tev10xml.xml", "stale");
  RecordingHost second;
  second.folder = host.folder;
  TExportThread worker(second, connection);
  worker.Execute();
  EXPECT_EQ(ReadFile(out / "input.php"), input);
  EXPECT_EQ(ReadFile(out / "tev10xml.xml"), ExpectedFileBytes(FileLines("tests/export/fixtures/tev10xml.expected")));
  EXPECT_EQ(second.Actions("row ").front(), "row 1");
}

TEST_F(ExportRunTest, CarriedPagesAreTheFilesOfTheWebFolder) {
  EXPECT_EQ(web::InputPage(), ReadFile(test::SourcePath("web/input.php")));
  EXPECT_EQ(web::GradeViewerPage(), ReadFile(test::SourcePath("web/gradeviewer.php")));
  EXPECT_EQ(web::SplitLines("a\r\nb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
}

// A run that fails before the first document writes nothing, reports once and
// clears the running flag as its last act.
TEST_F(ExportRunTest, EarlyFailuresWriteNothing) {
  struct Case {
    const char* name;
    std::string folder, year, message, sql;  // sql: another database to run on
  };
  const std::vector<Case> cases{
      {"missing folder", "/no/such/folder", "2566", "/no/such/folder", ""},
      {"non-numeric year", "", "25x6", "\"25x6\" is not a number", ""},
      {"empty year", "", "", "academic year is empty", ""},
      {"spliced statement", "", "2566 OR 1=1", "is not a number", ""},
      {"rejected statement", "", "2566", "no such table", "CREATE TABLE RegMSubject (SubjectID INTEGER);"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.sql.empty()) MakeDatabase(c.sql);
    TempDir folder;
    RecordingHost caseHost;
    caseHost.folder = c.folder.empty() ? folder.path().string() : c.folder;
    caseHost.year = c.year;
    TExportThread worker(caseHost, connection);
    worker.Execute();
    const auto failures = caseHost.Actions("failed: ");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find(c.message), std::string::npos) << failures[0];
    EXPECT_EQ(caseHost.Actions().back(), "clear");
    EXPECT_TRUE(caseHost.Actions("finished").empty());
    for (auto name : kRunFiles) EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
  }
}

TEST_F(ExportRunTest, CatalogueFailureLeavesEveryOldFile) {
  PlantOldFiles();
  MakeDatabase("CREATE TABLE RegMSubject (SubjectID INTEGER);");
  RunHere();
  for (auto name : kRunFiles) ExpectOldFile(name);
  EXPECT_EQ(host.Actions("failed: ").size(), 1u);
}

TEST_F(ExportRunTest, ResultsFailureWritesOnlyTheCatalogue) {
  PlantOldFiles();
  MakeDatabase(ReadFile(test::SourcePath("tests/export/fixtures/school.sql")) + "DROP TABLE VRegScore;");
  RunHere();
  EXPECT_EQ(ReadFile(out / "subjectxml.xml"),
            ExpectedFileBytes(FileLines("tests/export/fixtures/subjectxml.expected")));
  for (auto name : {"tev10xml.xml", "input.php", "gradeviewer.php"}) ExpectOldFile(name);
  const auto failures = host.Actions("failed: ");
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("VRegScore"), std::string::npos) << failures[0];
  EXPECT_EQ(host.Actions().back(), "clear");
}

TEST_F(ExportRunTest, StopRequestEndsTheRunAtItsNextRow) {
  PlantOldFiles();
  host.onAction = [&](const std::string& action) {
    if (action == "pos 2") host.stop = true;
  };
  RunHere();
  for (auto name : {"tev10xml.xml", "input.php", "gradeviewer.php"}) ExpectOldFile(name);
  EXPECT_TRUE(host.Actions("pos 3").empty());
  EXPECT_TRUE(host.Actions("failed: ").empty());
  EXPECT_EQ(host.Actions().back(), "clear");
}

TEST_F(ExportRunTest, YearWithoutStudents) {
  host.year = "2500";
  RunHere();
  EXPECT_EQ(ReadFile(out / "tev10xml.xml"),
            ExpectedFileBytes({R"(<?xml version="1.0" encoding="utf-8"?>)", "<Stds>", "</Stds>"}));
  EXPECT_EQ(ReadFile(out / "subjectxml.xml"),
            ExpectedFileBytes({R"(<?xml version="1.0" encoding="utf-8"?>)", "<Subs>", "</Subs>"}));
  EXPECT_EQ(host.Actions("max "), std::vector<std::string>{"max 0"});
  EXPECT_TRUE(host.Actions("row ").empty());
  EXPECT_EQ(host.Actions("finished").size(), 1u);
}

TEST_F(ExportRunTest, StartedWorkerRunsOnItsOwnThreadAndClearsLast) {
  TExportThread::Start(std::make_unique<TExportThread>(host, connection));
  host.WaitCleared();
  EXPECT_EQ(host.Actions().back(), "clear");
  EXPECT_EQ(host.Actions("finished").size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(out / "gradeviewer.php"));
}

}  // namespace
}  // namespace marksend
