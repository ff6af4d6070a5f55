// The progress line on standard error: students done of all and score rows so
// far, redrawn in place. Draws only when enabled (standard error is a
// terminal). Thread rule: one thread at a time.
#pragma once

#include <chrono>
#include <cstdio>

namespace marksend::cli {

class ProgressBar {
 public:
  ProgressBar(std::FILE* out, bool enabled) : out_(out), enabled_(enabled) {}

  void SetMax(int max);
  void SetPosition(int position);
  void SetRows(int rows);
  // Draws the last state and ends the line, if anything was drawn.
  void Finish();

 private:
  // Redraws when forced or when the last drawing is old enough to replace.
  void Draw(bool force);

  std::FILE* out_;
  bool enabled_;
  bool drawn_ = false;
  int max_ = 0;
  int position_ = 0;
  int rows_ = 0;
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace marksend::cli
