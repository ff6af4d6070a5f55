// The headless tool's side of the export: answers the engine from the command
// line and the carried page texts, shows progress on standard error, and lets
// the main thread wait for the end of the run.
// Thread rule: the actions run directly on the worker's thread; the main
// thread reads the outcome only after WaitCleared.
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

#include "cli/progress_bar.h"
#include "export/export_host.h"

namespace marksend::cli {

class ConsoleHost : public ExportHost {
 public:
  struct Counts {
    int students = 0;
    int scoreRows = 0;
    int subjects = 0;
  };

  // showProgress: draw the bar on standard error.
  ConsoleHost(std::string folder, std::string year, bool showProgress);

  std::string OutputFolder() override { return folder_; }
  std::string YearText() override { return year_; }
  std::string PageText(PageId page) override;
  void SetProgressMax(int max) override { bar_.SetMax(max); }
  void SetProgressPosition(int position) override { bar_.SetPosition(position); }
  void SetRowCounter(int count) override { bar_.SetRows(count); }
  void ShowFinished() override { finished_ = true; }
  void ClearRunning() override;
  void ReportFailure(const std::string& message) override { failure_ = message; }
  void Summarize(int students, int scoreRows, int subjects) override {
    counts_ = {students, scoreRows, subjects};
  }
  bool StopRequested() const override;

  // Blocks until the worker has cleared the running flag, then ends the
  // progress line. After it the outcome below is stable.
  void WaitCleared();

  bool Finished() const { return finished_; }
  const std::optional<std::string>& Failure() const { return failure_; }
  const Counts& Summary() const { return counts_; }

 private:
  const std::string folder_;
  const std::string year_;
  ProgressBar bar_;
  bool finished_ = false;
  std::optional<std::string> failure_;
  Counts counts_;

  std::mutex mutex_;
  std::condition_variable cleared_cv_;
  bool cleared_ = false;
};

}  // namespace marksend::cli
