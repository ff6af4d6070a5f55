// A session that passes every statement to the real one and keeps its text,
// so that the statements of one engine run can be replayed elsewhere.
// Thread rule: one thread at a time, like the session it wraps.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/db/session.h"

namespace marksend::bench {

class RecordingSession : public db::Session {
 public:
  explicit RecordingSession(std::unique_ptr<db::Session> inner) : inner_(std::move(inner)) {}
  db::ResultSet Execute(const std::string& sql) override;

  // Every statement so far, in the order the engine sent them, as it sent them.
  const std::vector<std::string>& Statements() const { return statements_; }

 private:
  std::unique_ptr<db::Session> inner_;
  std::vector<std::string> statements_;
};

}  // namespace marksend::bench
