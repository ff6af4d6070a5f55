#include "cli/progress_bar.h"

#include <algorithm>
#include <string>

namespace marksend::cli {

namespace {

constexpr int kWidth = 30;
// A terminal cannot show more than a few frames a second anyway.
constexpr auto kFrame = std::chrono::milliseconds(100);

}  // namespace

void ProgressBar::SetMax(int max) {
  max_ = max;
  Draw(true);
}

void ProgressBar::SetPosition(int position) {
  position_ = position;
  Draw(position == max_);
}

void ProgressBar::SetRows(int rows) {
  rows_ = rows;
  Draw(false);
}

void ProgressBar::Finish() {
  if (!drawn_) return;
  Draw(true);
  std::fputc('\n', out_);
  std::fflush(out_);
  drawn_ = false;
}

void ProgressBar::Draw(bool force) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!force && drawn_ && now - lastDraw_ < kFrame) return;
  lastDraw_ = now;
  drawn_ = true;

  const int filled = max_ > 0 ? std::clamp(position_, 0, max_) * kWidth / max_ : 0;
  const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '-');
  std::fprintf(out_, "\r[%s] %d/%d students, %d score rows", bar.c_str(), position_, max_, rows_);
  std::fflush(out_);
}

}  // namespace marksend::cli
