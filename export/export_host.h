// What the export engine needs of its host (the main window, or the headless
// tool). Every action but StopRequested is carried out on the host's own
// thread while the worker waits for it to finish, in the order issued.
#pragma once

#include <string>

namespace marksend {

enum class PageId { Input, GradeViewer };

class ExportHost {
 public:
  virtual ~ExportHost() = default;

  virtual std::string OutputFolder() = 0;            // 1. the chosen folder, no trailing separator
  virtual std::string YearText() = 0;                // 2. the text of the year box
  virtual std::string PageText(PageId page) = 0;     // 3. the whole text of a page memo
  virtual void SetProgressMax(int max) = 0;          // 4. the bar's maximum
  virtual void SetProgressPosition(int position) = 0;  // 5. the bar's position, repainted at once
  virtual void SetRowCounter(int count) = 0;         // 6. the caption of the row counter
  virtual void ShowFinished() = 0;                   // 7. hide the working label, show the success label
  virtual void ClearRunning() = 0;                   // 8. clear the running flag; the worker's last act
  virtual void ReportFailure(const std::string& message) = 0;  // a run failed with this message

  // The counts of a completed run, just before ShowFinished. Optional.
  virtual void Summarize(int /*students*/, int /*scoreRows*/, int /*subjects*/) {}

  // Whether the run should stop at its next row. Called from the worker's
  // thread without waiting for the host; must be thread-safe.
  virtual bool StopRequested() const = 0;
};

}  // namespace marksend
