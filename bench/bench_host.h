// An export host that does nothing with the engine's progress, so that a
// measured run costs only the engine itself. Thread rule: used by the thread
// that calls TExportThread::Execute; nothing is shared.
#pragma once

#include <optional>
#include <string>

#include "export/export_host.h"

namespace marksend::bench {

class BenchHost : public ExportHost {
 public:
  // carriedPages: PageText gives the site's real pages; otherwise an empty text.
  BenchHost(std::string folder, std::string year, bool carriedPages);

  std::string OutputFolder() override { return folder_; }
  std::string YearText() override { return year_; }
  std::string PageText(PageId page) override;
  void SetProgressMax(int) override {}
  void SetProgressPosition(int) override {}
  void SetRowCounter(int) override {}
  void ShowFinished() override { finished_ = true; }
  void ClearRunning() override {}
  void ReportFailure(const std::string& message) override { failure_ = message; }
  void Summarize(int students, int scoreRows, int) override {
    students_ = students;
    scoreRows_ = scoreRows;
  }
  bool StopRequested() const override { return false; }

  // Throws Error with the run's own message unless it finished.
  void RequireFinished() const;
  int Students() const { return students_; }
  int ScoreRows() const { return scoreRows_; }

 private:
  const std::string folder_;
  const std::string year_;
  const bool carriedPages_;
  bool finished_ = false;
  std::optional<std::string> failure_;
  int students_ = 0;
  int scoreRows_ = 0;
};

}  // namespace marksend::bench
