// The one error type of the system: a message a person can act on.
#pragma once

#include <stdexcept>
#include <string>

namespace marksend {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace marksend
