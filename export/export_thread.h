// TExportThread: the worker that runs one export on a thread of its own,
// reading the school database over the host's connection and writing the
// site's files into the host's output folder. Constructed suspended; once
// started it owns itself and is freed when its body ends.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "export/export_host.h"
#include "platform/db/connection.h"
#include "platform/db/query.h"

namespace marksend {

// Raised inside a run when the host asks it to stop.
class ExportStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "The export was stopped."; }
};

class TExportThread {
 public:
  // Suspended: nothing runs until Start. The folder copy is empty.
  TExportThread(ExportHost& host, db::Connection& connection);
  virtual ~TExportThread();

  // Starts the body on a new thread one priority step below normal and hands
  // the object to that thread, which frees it when the body ends.
  static void Start(std::unique_ptr<TExportThread> thread);

  // The thread body: copy the folder, create the queries, RunExport, release
  // the queries and clear the running flag, also when a step fails.
  virtual void Execute();

 protected:
  void RunExport();
  void WriteSubjectCatalogue();
  void WriteStudentResults();

 private:
  std::filesystem::path FilePath(const char* name) const;
  // Throws ExportStopped when the host asks the run to stop.
  void CheckStop() const;
  // Writes one of the run's files; the web server rules go first of all.
  void SaveFile(const char* name, const std::vector<std::string>& lines);
  void WritePage(PageId page, const char* name);

  ExportHost& host_;
  db::Connection& connection_;
  std::string OutputFolder;
  std::unique_ptr<db::Query> StudentQuery;
  std::unique_ptr<db::Query> GroupGpaQuery;
  std::unique_ptr<db::Query> TermQuery;
  std::unique_ptr<db::Query> TermGpaQuery;
  std::unique_ptr<db::Query> ScoreQuery;
  std::unique_ptr<db::Query> SubjectQuery;
  std::unique_ptr<db::Query> RegradeQuery;
  bool rulesWritten_ = false;
  int StudentCount = 0;
  int ScoreRowCount = 0;
  int SubjectCount = 0;
};

}  // namespace marksend
