// Helpers of the ODBC provider's tests: a free loopback port, and whether a
// message carries a driver diagnostic ("[SQLSTATE] text").
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace marksend::test {

// A loopback port that nothing listens on (it was free a moment ago).
inline int FreeLoopbackPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  const bool bound = s >= 0 && bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  if (s >= 0) close(s);
  if (!bound) throw std::runtime_error("no free loopback port");
  return ntohs(address.sin_port);
}

inline bool HasDiagnostic(const std::string& message) {
  for (size_t at = message.find('['); at != std::string::npos; at = message.find('[', at + 1)) {
    if (at + 9 > message.size()) return false;
    bool state = message[at + 6] == ']' && message[at + 7] == ' ' && message[at + 8] != ' ';
    for (size_t k = 1; k <= 5 && state; ++k)
      state = (message[at + k] >= '0' && message[at + k] <= '9') ||
              (message[at + k] >= 'A' && message[at + k] <= 'Z');
    if (state) return true;
  }
  return false;
}

}  // namespace marksend::test
