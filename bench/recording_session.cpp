#include "bench/recording_session.h"

namespace marksend::bench {

db::ResultSet RecordingSession::Execute(const std::string& sql) {
  statements_.push_back(sql);
  return inner_->Execute(sql);
}

}  // namespace marksend::bench
