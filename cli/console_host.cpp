#include "cli/console_host.h"

#include "cli/interrupt.h"
#include "web/page_texts.h"

namespace marksend::cli {

ConsoleHost::ConsoleHost(std::string folder, std::string year, bool showProgress)
    : folder_(std::move(folder)), year_(std::move(year)), bar_(stderr, showProgress) {}

std::string ConsoleHost::PageText(PageId page) {
  return std::string(page == PageId::Input ? web::InputPage() : web::GradeViewerPage());
}

void ConsoleHost::ClearRunning() {
  // The worker touches nothing of the host after this, so main may go on.
  std::lock_guard lock(mutex_);
  cleared_ = true;
  cleared_cv_.notify_all();
}

bool ConsoleHost::StopRequested() const { return InterruptRequested(); }

void ConsoleHost::WaitCleared() {
  std::unique_lock lock(mutex_);
  cleared_cv_.wait(lock, [&] { return cleared_; });
  bar_.Finish();
}

}  // namespace marksend::cli
