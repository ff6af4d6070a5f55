// An export host for tests: answers from fixed settings and records every
// action in order, so a test can check what the engine asked of its host.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "export/export_host.h"

namespace marksend::test {

class RecordingHost : public ExportHost {
 public:
  std::string folder;
  std::string year = "2566";
  std::string inputPage = "<html>\nสวัสดี\n</html>\n";
  std::string viewerPage = "<?php echo 1; ?>\n";
  // Called with each recorded action; may ask the run to stop.
  std::function<void(const std::string&)> onAction;
  std::atomic<bool> stop{false};

  std::string OutputFolder() override { return record("folder"), folder; }
  std::string YearText() override { return record("year"), year; }
  std::string PageText(PageId page) override {
    record(page == PageId::Input ? "page input" : "page viewer");
    return page == PageId::Input ? inputPage : viewerPage;
  }
  void SetProgressMax(int max) override { record("max " + std::to_string(max)); }
  void SetProgressPosition(int position) override { record("pos " + std::to_string(position)); }
  void SetRowCounter(int count) override { record("row " + std::to_string(count)); }
  void ShowFinished() override { record("finished"); }
  void ClearRunning() override {
    record("clear");
    std::lock_guard lock(mutex_);
    cleared_ = true;
    cv_.notify_all();
  }
  void ReportFailure(const std::string& message) override { record("failed: " + message); }
  bool StopRequested() const override { return stop; }

  // Waits until the running flag has been cleared.
  void WaitCleared() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return cleared_; });
  }

  std::vector<std::string> Actions() {
    std::lock_guard lock(mutex_);
    return actions_;
  }
  // The recorded actions that start with prefix.
  std::vector<std::string> Actions(const std::string& prefix) {
    std::vector<std::string> found;
    for (auto& a : Actions())
      if (a.rfind(prefix, 0) == 0) found.push_back(a);
    return found;
  }

 private:
  void record(const std::string& action) {
    {
      std::lock_guard lock(mutex_);
      actions_.push_back(action);
    }
    if (onAction) onAction(action);
  }
  std::mutex mutex_;
  std::condition_variable cv_;
  bool cleared_ = false;
  std::vector<std::string> actions_;
};

}  // namespace marksend::test
