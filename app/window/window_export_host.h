// The main window as the export's host. Each action is carried out on the
// window's thread while the worker waits (a blocking queued call); called on
// the window's thread itself, it runs at once. The bar's position and the
// row count are shown at most once a frame (the last ones always). StopRequested may be asked
// from any thread.
#pragma once

#include <atomic>
#include <chrono>
#include <optional>

#include "export/export_host.h"

namespace marksend {

class TFormMain;

class WindowExportHost : public ExportHost {
 public:
  explicit WindowExportHost(TFormMain& form) : form_(form) {}

  std::string OutputFolder() override;
  std::string YearText() override;
  std::string PageText(PageId page) override;
  void SetProgressMax(int max) override;
  void SetProgressPosition(int position) override;
  void SetRowCounter(int count) override;
  void ShowFinished() override;
  void ClearRunning() override;
  // Hides the working label and shows the message in the standard error box.
  void ReportFailure(const std::string& message) override;
  bool StopRequested() const override { return stop_.load(); }

  // Set by the window when it closes during a run; cleared for a new run.
  void RequestStop(bool stop) { stop_.store(stop); }

 private:
  // Runs action on the window's thread and waits, showing first a position
  // and a row count that were held back.
  template <typename F>
  auto Call(F&& action);
  // Holds value (and returns true) when it comes within a frame of the last
  // value shown, from another thread than the window's.
  bool Hold(std::optional<int>& held, std::chrono::steady_clock::time_point& shownAt, int value);
  void ShowPosition(int position);  // on the window's thread
  void ShowRows(int count);         // on the window's thread

  TFormMain& form_;
  std::atomic<bool> stop_{false};
  // The bar moves with every student and the row counter with every score
  // row, far more often than a screen can show, and each shown value costs
  // the worker a wait (a repaint, for the bar): a value that comes within a
  // frame of the last one shown is held, and the next call that reaches the
  // window shows it first. Touched only by the thread that calls the actions.
  std::optional<int> heldPosition_;
  std::optional<int> heldRows_;
  std::chrono::steady_clock::time_point positionShownAt_{};
  std::chrono::steady_clock::time_point rowsShownAt_{};
};

}  // namespace marksend
