#include "bench/bench_host.h"

#include "platform/error.h"
#include "web/page_texts.h"

namespace marksend::bench {

BenchHost::BenchHost(std::string folder, std::string year, bool carriedPages)
    : folder_(std::move(folder)), year_(std::move(year)), carriedPages_(carriedPages) {}

std::string BenchHost::PageText(PageId page) {
  if (!carriedPages_) return {};
  return std::string(page == PageId::Input ? web::InputPage() : web::GradeViewerPage());
}

void BenchHost::RequireFinished() const {
  if (failure_) throw Error("The export failed: " + *failure_);
  if (!finished_) throw Error("The export ended without finishing.");
}

}  // namespace marksend::bench
