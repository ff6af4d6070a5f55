// The whole export over ODBC from a real server: the sample school loaded
// into a throwaway PostgreSQL cluster and exported through the PostgreSQL
// ODBC driver gives the same documents, byte for byte, as the SQLite file.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>

#include "support/postgres_cluster.h"
#include "support/test_support.h"

namespace marksend {
namespace {

using test::RunResult;
using test::TempDir;

const std::string kYear = "2566";

// The SQL that fills the PostgreSQL form of the school with the SQLite
// file's rows, table by table in the order they were created (so every
// reference is loaded before its rows), each table's rows in SQLite's order:
// the statements without ORDER BY then read them back in the same order on
// both. PostgreSQL sorts NULL after texts where SQL Server and SQLite sort it
// first, so an empty subject code is loaded as '', which reads the same.
std::string SchoolRows(const std::filesystem::path& database) {
  const RunResult tables =
      test::Run("sqlite3 '" + database.string() +
                    "' \"SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid\"",
                database.parent_path());
  if (tables.exitCode != 0) throw std::runtime_error("sqlite3: " + tables.err);
  std::string command = "sqlite3 '" + database.string() + "'";
  std::istringstream names(tables.out);
  for (std::string table; std::getline(names, table);) {
    const std::string select =
        table == "RegMSubject"
            ? "SELECT SubjectID, COALESCE(ReportSubjectCode, ''), SubjectName, CurriculumID, SubjectTypeID,"
              " SubjectGroupID, Credits, SubjectHours FROM RegMSubject"
            : "SELECT * FROM " + table;
    command += " '.mode insert " + table + "' \"" + select + "\"";
  }
  const RunResult rows = test::Run(command, database.parent_path());
  if (rows.exitCode != 0) throw std::runtime_error("sqlite3: " + rows.err);
  return "BEGIN;\n" + rows.out + "COMMIT;\nANALYZE;\n";
}

// Runs marksend-export in folder (which holds its Config.ini) into folder/site.
RunResult Export(const std::filesystem::path& folder) {
  std::filesystem::create_directory(folder / "site");
  return test::Run("'" + test::BinPath("marksend-export") + "' --out site --year " + kYear, folder);
}

// The summary line without its time: what was exported.
std::string Counts(const std::string& out) {
  const auto at = out.find("students:");
  return at == std::string::npos ? out : out.substr(at, out.find(", seconds") - at);
}

// The line where two documents first differ, from each.
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const size_t start = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
  auto line = [start](const std::string& s) { return s.substr(start, s.find('\n', start) - start); };
  return "\n  server: " + line(a) + "\n  file:   " + line(b);
}

TEST(PostgreSqlExport, GivesTheSameDocumentsAsTheSqliteFile) {
  const auto bin = test::PostgresBin();
  if (!bin) GTEST_SKIP() << "the PostgreSQL server is not installed";
  TempDir wd;
  const RunResult made = test::Run(
      "'" + test::BinPath("marksend-sample") + "' --out school.db --students 150 --year " + kYear, wd.path());
  ASSERT_EQ(made.exitCode, 0) << made.err;

  std::filesystem::create_directory(wd / "file");
  std::filesystem::rename(wd / "school.db", wd / "file" / "school.db");
  test::WriteFile(wd / "file" / "Config.ini",
                  "[Database]\r\nProvider=MSAccess\r\n[MSAccess]\r\nDatabase File=school.db\r\n");
  const RunResult fromFile = Export(wd / "file");
  ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err;

  TempDir clusterDir;
  const std::string password = "school;pw}";
  test::PostgresCluster cluster(*bin, clusterDir.path(), "marksend", password);
  cluster.Sql("postgres", "CREATE DATABASE \"โรงเรียนตัวอย่าง\";");
  cluster.Sql("โรงเรียนตัวอย่าง", test::ReadFile(test::SourcePath("sample/schema.postgresql.sql")));
  cluster.Sql("โรงเรียนตัวอย่าง", SchoolRows(wd / "file" / "school.db"));

  std::filesystem::create_directory(wd / "server");
  test::WriteFile(wd / "server" / "Config.ini",
                  "[Database]\r\nProvider=MSSQL\r\n[MSSQL]\r\nDatabase Server=127.0.0.1," +
                      std::to_string(cluster.port()) +
                      "\r\nDatabase Name=โรงเรียนตัวอย่าง\r\nUser ID=marksend\r\nPassword=" + password +
                      "\r\nDriver=PostgreSQL Unicode\r\n");
  const RunResult fromServer = Export(wd / "server");
  ASSERT_EQ(fromServer.exitCode, 0) << fromServer.err;

  EXPECT_EQ(Counts(fromServer.out), Counts(fromFile.out));
  EXPECT_NE(Counts(fromFile.out).find("students: 150,"), std::string::npos) << fromFile.out;
  for (const char* document : {"subjectxml.xml", "tev10xml.xml"}) {
    const std::string expected = test::ReadFile(wd / "file" / "site" / document);
    const std::string actual = test::ReadFile(wd / "server" / "site" / document);
    EXPECT_TRUE(actual == expected) << document << " differs from the SQLite export at: "
                                    << FirstDifference(actual, expected);
  }
}

}  // namespace
}  // namespace marksend
