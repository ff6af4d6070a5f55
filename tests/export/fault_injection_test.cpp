// Faults injected into whole export runs over the fixture school: a statement
// that fails, rows that cannot be fetched, a file that cannot be written. For
// every point of failure the run must fail cleanly: one report, the running
// flag cleared last, and each file either wholly new or exactly as before.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>

#include "export/export_thread.h"
#include "platform/db/sqlite_provider.h"
#include "platform/error.h"
#include "support/recording_host.h"
#include "support/test_support.h"

namespace marksend {
namespace {

using test::ReadFile;
using test::RecordingHost;
using test::TempDir;

// In the order the run writes them.
const std::vector<std::string> kRunFiles{".htaccess", "subjectxml.xml", "tev10xml.xml", "input.php",
                                         "gradeviewer.php"};

// What a faulty session saw, kept by the test (the connection owns the session).
struct FaultLog {
  int statements = 0;  // statements sent, the failed one included
  size_t rows = 0;     // rows handed back
  bool injected = false;
};

// The real SQLite session, failing on request: the failStatement-th
// statement before it reaches the database, or, while the rows of a
// statement are fetched, the failRow-th row of the run. 0: never.
class FaultySession : public db::Session {
 public:
  FaultySession(std::unique_ptr<db::Session> inner, FaultLog& log, int failStatement, size_t failRow)
      : inner_(std::move(inner)), log_(log), failStatement_(failStatement), failRow_(failRow) {}

  db::ResultSet Execute(const std::string& sql) override {
    if (++log_.statements == failStatement_) {
      log_.injected = true;
      throw Error("injected: statement " + std::to_string(failStatement_) + " failed");
    }
    db::ResultSet result = inner_->Execute(sql);
    const size_t rows = result.RowCount();
    if (failRow_ > log_.rows && failRow_ <= log_.rows + rows) {
      log_.injected = true;  // the rows fetched so far are lost with the result
      throw Error("injected: fetching row " + std::to_string(failRow_) + " failed");
    }
    log_.rows += rows;
    return result;
  }

 private:
  std::unique_ptr<db::Session> inner_;
  FaultLog& log_;
  int failStatement_;
  size_t failRow_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

// A page text of about size bytes, so that each file of a run is larger than
// the one before (see WriteFailures).
std::string PageOfSize(size_t size) {
  std::string page;
  for (int line = 0; page.size() < size; ++line) page += "<!-- line " + std::to_string(line) + " -->\n";
  return page;
}

class FaultInjectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeSqliteDatabase(database(), ReadFile(test::SourcePath("tests/export/fixtures/school.sql")));
    TempDir folder;
    RecordingHost host;
    const FaultLog log = Run(host, folder, 0, 0);
    ASSERT_EQ(host.Actions("finished").size(), 1u) << "the clean run fails: " << testing::PrintToString(host.Actions());
    cleanStatements_ = log.statements;
    cleanRows_ = log.rows;
    for (const auto& name : kRunFiles) clean_[name] = ReadFile(folder / name);
  }

  std::filesystem::path database() const { return dbDir_ / "school.db"; }

  void PreparePages(RecordingHost& host) const {
    host.inputPage = PageOfSize(4000);
    host.viewerPage = PageOfSize(8000);
  }

  // One run on this thread over a faulty session into folder.
  FaultLog Run(RecordingHost& host, const TempDir& folder, int failStatement, size_t failRow) const {
    FaultLog log;
    db::Connection connection;
    connection.Open(std::make_unique<FaultySession>(db::OpenSqliteSession(database()), log, failStatement, failRow));
    host.folder = folder.path().string();
    PreparePages(host);
    TExportThread worker(host, connection);
    worker.Execute();
    return log;
  }

  static void PlantOldFiles(const TempDir& folder) {
    for (const auto& name : kRunFiles) test::WriteFile(folder / name, "old " + name);
  }

  // The folder after a failed run: files are wholly new up to some point of
  // the run's order and as before from there on, and nothing else is left.
  void ExpectCleanFailure(const TempDir& folder, const std::vector<std::string>& actions,
                          const std::string& message) const {
    std::vector<std::string> failures;
    std::copy_if(actions.begin(), actions.end(), std::back_inserter(failures),
                 [](const std::string& a) { return a.rfind("failed: ", 0) == 0; });
    ASSERT_EQ(failures.size(), 1u) << testing::PrintToString(actions);
    EXPECT_NE(failures[0].find(message), std::string::npos) << failures[0];
    EXPECT_EQ(std::count(actions.begin(), actions.end(), "finished"), 0);
    EXPECT_EQ(std::count(actions.begin(), actions.end(), "clear"), 1);
    ASSERT_FALSE(actions.empty());
    EXPECT_EQ(actions.back(), "clear");

    bool stillNew = true;
    for (const auto& name : kRunFiles) {
      if (std::filesystem::is_directory(folder / name)) {
        stillNew = false;
        continue;
      }
      const std::string bytes = ReadFile(folder / name);
      if (stillNew && bytes != clean_.at(name)) stillNew = false;
      if (!stillNew) {
        EXPECT_EQ(bytes, "old " + name) << name << " is neither new nor as before";
      }
    }
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      entries.push_back(entry.path().filename().string());
    std::sort(entries.begin(), entries.end());
    std::vector<std::string> expected = kRunFiles;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries, expected) << "a temporary file is left";
  }

  TempDir dbDir_;
  int cleanStatements_ = 0;
  size_t cleanRows_ = 0;
  std::map<std::string, std::string> clean_;
};

TEST_F(FaultInjectionTest, EveryStatementThatFailsFailsTheRunCleanly) {
  ASSERT_GT(cleanStatements_, 10);  // students, terms, scores and regrades all take part
  for (int k = 1; k <= cleanStatements_ + 1; ++k) {
    SCOPED_TRACE("statement " + std::to_string(k));
    TempDir folder;
    PlantOldFiles(folder);
    RecordingHost host;
    const FaultLog log = Run(host, folder, k, 0);
    if (k > cleanStatements_) {  // past the last statement: the run completes as the clean one
      EXPECT_FALSE(log.injected);
      EXPECT_EQ(host.Actions().back(), "clear");
      for (const auto& name : kRunFiles) EXPECT_EQ(ReadFile(folder / name), clean_.at(name)) << name;
      continue;
    }
    EXPECT_TRUE(log.injected);
    EXPECT_EQ(log.statements, k) << "statements were sent after the failure";
    ExpectCleanFailure(folder, host.Actions(), "injected: statement " + std::to_string(k) + " failed");
  }
}

TEST_F(FaultInjectionTest, EveryRowThatCannotBeFetchedFailsTheRunCleanly) {
  ASSERT_GT(cleanRows_, 10u);
  for (size_t k = 1; k <= cleanRows_; ++k) {
    SCOPED_TRACE("row " + std::to_string(k));
    TempDir folder;
    PlantOldFiles(folder);
    RecordingHost host;
    const FaultLog log = Run(host, folder, 0, k);
    EXPECT_TRUE(log.injected);
    ExpectCleanFailure(folder, host.Actions(), "injected: fetching row " + std::to_string(k) + " failed");
  }
}

// A folder in the place of a file: the new file cannot be renamed over it.
TEST_F(FaultInjectionTest, AFileThatCannotBeReplacedFailsTheRunCleanly) {
  for (const auto& name : kRunFiles) {
    SCOPED_TRACE(name);
    TempDir folder;
    PlantOldFiles(folder);
    std::filesystem::remove(folder / name);
    std::filesystem::create_directory(folder / name);
    test::WriteFile(folder / name / "kept", "kept");
    RecordingHost host;
    Run(host, folder, 0, 0);
    ExpectCleanFailure(folder, host.Actions(), (folder / name).string());
    EXPECT_EQ(ReadFile(folder / name / "kept"), "kept");
    // Every file before it is new, so the run stopped exactly there.
    for (const auto& before : kRunFiles) {
      if (before == name) break;
      EXPECT_EQ(ReadFile(folder / before), clean_.at(before)) << before;
    }
  }
}

// Writes that fail part-way: a file-size limit (set in a child process, with
// SIGXFSZ ignored) makes write() fail with EFBIG once a file outgrows it. The
// files of a run grow in size, so a limit just below a file's size makes that
// file the first to fail.
TEST_F(FaultInjectionTest, AWriteThatFailsLeavesTheOldFile) {
  for (size_t i = 1; i < kRunFiles.size(); ++i)
    ASSERT_GT(clean_.at(kRunFiles[i]).size(), clean_.at(kRunFiles[i - 1]).size()) << kRunFiles[i];

  for (size_t failing = 0; failing < kRunFiles.size(); ++failing) {
    const std::string& name = kRunFiles[failing];
    SCOPED_TRACE(name);
    TempDir folder;
    PlantOldFiles(folder);
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(channel[0]);
      std::string report;
      {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{clean_.at(name).size() - 1, clean_.at(name).size() - 1};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
        RecordingHost host;
        Run(host, folder, 0, 0);
        for (const auto& action : host.Actions()) report += action + "\n";
      }
      const bool sent = write(channel[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
      close(channel[1]);
      std::exit(sent ? 0 : 4);  // exit, not _exit: the leak check runs at exit
    }
    close(channel[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<size_t>(n));
    close(channel[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;

    const std::vector<std::string> actions = Lines(report);
    ExpectCleanFailure(folder, actions, (folder / name).string() + ": writing failed: File too large");
    for (size_t j = 0; j < kRunFiles.size(); ++j)
      EXPECT_EQ(ReadFile(folder / kRunFiles[j]), j < failing ? clean_.at(kRunFiles[j]) : "old " + kRunFiles[j])
          << kRunFiles[j];
  }
}

}  // namespace
}  // namespace marksend
